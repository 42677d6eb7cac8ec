#include "settings/app_folder.h"

#include <windows.h>

#include <string>
#include <vector>

namespace qv {
namespace {

// The full path of the running executable; empty when it cannot be read.
std::string ExecutablePath() {
  std::vector<char> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return "";
    if (length < buffer.size()) return std::string(buffer.data(), length);
    buffer.resize(buffer.size() * 2);  // cut short: the path is longer
  }
}

std::string CurrentFolder() {
  const DWORD needed = GetCurrentDirectoryA(0, nullptr);
  if (needed == 0) return "";
  std::vector<char> buffer(needed);
  const DWORD length = GetCurrentDirectoryA(needed, buffer.data());
  if (length == 0 || length >= needed) return "";
  return std::string(buffer.data(), length);
}

// `folder` with exactly one "\" at its end; a drive root such as "C:\" keeps
// its own.
std::string WithOneSeparator(std::string folder) {
  while (!folder.empty() && folder.back() == '\\') folder.pop_back();
  return folder + '\\';
}

}  // namespace

std::string AppFolder() {
  const std::string executable = ExecutablePath();
  const auto cut = executable.rfind('\\');
  if (cut != std::string::npos) return WithOneSeparator(executable.substr(0, cut));
  const std::string current = CurrentFolder();
  return current.empty() ? std::string(".\\") : WithOneSeparator(current);
}

}  // namespace qv
