#include "generator/file_system.h"

namespace qv {

std::string WithTrailingSeparator(std::string_view folder) {
  std::string result(folder);
  if (result.empty() || result.back() != kPathSeparator) result += kPathSeparator;
  return result;
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return name.find_first_of(kNonNameCharacters) == std::string_view::npos;
}

}  // namespace qv
