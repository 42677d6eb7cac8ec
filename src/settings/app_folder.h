// The program folder: where the executable lies and every side file with it.
#pragma once

#include <string>

namespace qv {

// The folder of the running executable, ending in exactly one separator.
// One implementation per platform (app_folder_posix.cpp, app_folder_win.cpp).
std::string AppFolder();

}  // namespace qv
