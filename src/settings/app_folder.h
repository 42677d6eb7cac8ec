// The program folder: where the executable lies and every side file with it.
#pragma once

#include <string>

namespace qv {

// The folder of the running executable, ending in exactly one separator.
std::string AppFolder();

// The full path of the running executable; empty when it cannot be read.
// One implementation per platform (app_folder_posix.cpp, app_folder_win.cpp).
std::string ExecutablePath();

}  // namespace qv
