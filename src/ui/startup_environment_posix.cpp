#include <unistd.h>

#include <cstdlib>

#include "ui/startup_environment.h"

namespace qv {
namespace {

bool IsSet(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0';
}

}  // namespace

std::string MissingDisplayMessage() {
  if (IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY") || IsSet("QT_QPA_PLATFORM")) return {};
  return "vorlindo: no display to show its windows on; build the page without windows with "
         "vorlindo-build, or run the program under a virtual display: xvfb-run ./vorlindo";
}

void PrepareBrowserEnvironment() {
  const char* user_flags = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
  const std::string flags = WithSoftwareRendering(user_flags ? user_flags : "");
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.c_str(), 1);
  // The engine draws the page in software anyway; putting its frames on
  // screen through OpenGL as well would only add a slow start (a software
  // OpenGL compiles its shaders first) and a copy back from the graphics
  // memory for every frame. A user's own choice stands.
  if (!IsSet("QT_QUICK_BACKEND")) setenv("QT_QUICK_BACKEND", "software", 1);
  if (geteuid() == 0 && !IsSet("QTWEBENGINE_DISABLE_SANDBOX")) {
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
  }
  // Without it the engine shows assistive technology an empty document in
  // place of the page on Linux; it builds the page's tree only while one
  // asks for it.
  setenv("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1", 0);
}

}  // namespace qv
