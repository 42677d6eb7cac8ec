#include "generator/windows_api.h"

#include <shellapi.h>

#include "app/process_setup.h"
#include "generator/windows_text.h"

namespace qv {

// Windows has no file size signal: a write past a quota simply fails.
void IgnoreFileSizeSignal() {}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8Text(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace qv
