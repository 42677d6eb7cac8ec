// What the desktop program settles before its first window: whether there is
// a display at all, and how the browser engine of the preview must run here.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// Empty when the program can show windows; otherwise one line for the user
// that says so and names the ways to work without a display
// (startup_environment_posix.cpp, startup_environment_win.cpp).
std::string MissingDisplayMessage();

// The browser engine's flags: `user_flags` with the software-rendering flags
// added that it does not name already, so that the preview works on a machine
// without a graphics processor.
std::string WithSoftwareRendering(std::string_view user_flags);

// Sets the browser engine's environment before the application object exists:
// software rendering (on Linux also for putting the page on screen), (where
// the platform needs it) no sandbox for the administrator, whom the engine
// refuses to run sandboxed, and the page offered to assistive technology,
// which on Linux it must be told to do.
void PrepareBrowserEnvironment();

}  // namespace qv
