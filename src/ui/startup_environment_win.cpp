#include <windows.h>

#include <cstdlib>
#include <string>

#include "ui/startup_environment.h"

namespace qv {

// A Windows desktop always has a display.
std::string MissingDisplayMessage() {
  return {};
}

// The engine's sandbox works for every user on Windows; only the rendering
// flags are needed.
void PrepareBrowserEnvironment() {
  char* user_flags = nullptr;
  std::size_t length = 0;
  std::string current;
  if (_dupenv_s(&user_flags, &length, "QTWEBENGINE_CHROMIUM_FLAGS") == 0 && user_flags) {
    current = user_flags;
  }
  std::free(user_flags);
  const std::string flags = WithSoftwareRendering(current);
  SetEnvironmentVariableA("QTWEBENGINE_CHROMIUM_FLAGS", flags.c_str());
  _putenv_s("QTWEBENGINE_CHROMIUM_FLAGS", flags.c_str());
}

}  // namespace qv
