#include "settings/app_folder.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "generator/file_system.h"
#include "generator/text_encoding.h"

namespace qv {

std::string AppFolder() {
  const std::string executable = ExecutablePath();
  const auto cut = executable.rfind(kPathSeparator);
  if (cut != std::string::npos) return WithTrailingSeparator(executable.substr(0, cut));
  // Without the executable's path the folder the program was started in is
  // the best guess.
  std::error_code error;
  const std::string current = PathText(std::filesystem::current_path(error));
  return error ? std::string(".") + kPathSeparator : WithTrailingSeparator(current);
}

}  // namespace qv
