#include "settings/app_folder.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "generator/file_system.h"

namespace qv {
namespace {

// `folder` with exactly one separator at its end; a drive root such as "C:\"
// keeps its own.
std::string WithOneSeparator(std::string folder) {
  while (!folder.empty() && folder.back() == kPathSeparator) folder.pop_back();
  return folder + kPathSeparator;
}

}  // namespace

std::string AppFolder() {
  const std::string executable = ExecutablePath();
  const auto cut = executable.rfind(kPathSeparator);
  if (cut != std::string::npos) return WithOneSeparator(executable.substr(0, cut));
  // Without the executable's path the folder the program was started in is
  // the best guess.
  std::error_code error;
  const std::string current = std::filesystem::current_path(error).string();
  return error ? std::string(".") + kPathSeparator : WithOneSeparator(current);
}

}  // namespace qv
