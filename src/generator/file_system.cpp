#include "generator/file_system.h"

namespace qv {

std::string WithTrailingSeparator(std::string_view folder) {
  while (!folder.empty() && folder.back() == kPathSeparator) folder.remove_suffix(1);
  return std::string(folder) + kPathSeparator;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  if (folder.empty()) return std::string(name);
  return WithTrailingSeparator(folder) + std::string(name);
}

bool IsPlainFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.size() > kLongestFileName) return false;
  return name.find_first_of(kNonNameCharacters) == std::string_view::npos;
}

}  // namespace qv
