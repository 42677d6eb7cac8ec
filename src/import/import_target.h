// The folder an import fills: the Favorites folder that the settings file in
// the program folder names, so that the page shows what was imported. This
// is the importer's only use of the settings.
#pragma once

#include <string>

#include "generator/status.h"

namespace qv::import {

// The program folder, where the settings file lies, ending in the separator.
std::string ProgramFolder();

// The Favorites folder of "ins.txt" in `app_folder`, ending in the separator.
// When that setting is empty (or there is no settings file yet), the folder
// "Favorites" in `home_folder`, which is then made and written into the
// settings file, every other line of it kept as it is. With `dry_run` nothing
// is made or written. A folder that is set but missing, or not a full path,
// is an error: importing somewhere the page does not look would help no one.
Result<std::string> SettleImportFolder(const std::string& app_folder,
                                       const std::string& home_folder, bool dry_run);

}  // namespace qv::import
