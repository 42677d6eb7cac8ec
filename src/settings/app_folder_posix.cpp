#include "settings/app_folder.h"

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "generator/file_system.h"

namespace qv {
namespace {

// The path of the running executable as the kernel reports it; empty when it
// cannot be read.
std::string ExecutablePath() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return "";
    if (static_cast<std::size_t>(length) < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

// `folder` with exactly one separator at its end.
std::string WithOneSeparator(std::string folder) {
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  return folder + '/';
}

}  // namespace

std::string AppFolder() {
  const std::string executable = ExecutablePath();
  const auto cut = executable.rfind('/');
  if (cut != std::string::npos) return WithOneSeparator(executable.substr(0, cut));

  std::error_code error;
  const std::string current = std::filesystem::current_path(error).string();
  return error ? std::string("./") : WithOneSeparator(current);
}

}  // namespace qv
