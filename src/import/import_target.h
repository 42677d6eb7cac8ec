// The folder an import fills: the Favorites folder that the settings file in
// the program folder names, so that the page shows what was imported. This
// is the importer's only use of the settings.
#pragma once

#include <string>

#include "generator/status.h"
#include "settings/favorites_lookup.h"
#include "settings/program_folders.h"

namespace qv::import {

// Where an import goes when the settings name no Favorites folder of their
// own: on Windows the user's Favorites folder as `favorites` (the registry)
// names it, the one the browsers and Explorer keep favourites in; elsewhere,
// and on Windows when the registry names none, the folder "Favorites" in
// `home_folder`. Empty when neither is known. One implementation per
// platform (import_folder_posix.cpp, import_folder_win.cpp).
std::string UsersFavoritesFolder(const std::string& home_folder, FavoritesLookup& favorites);

// The Favorites folder of "ins.txt" in the own folder of `folders`, ending in
// the separator.
// When the settings name none of their own (the setting is empty, or there is
// no settings file yet, or it holds the design default of Windows while no
// such folder exists), UsersFavoritesFolder, which is then made when missing
// and written into the settings file (an installed program's own folder made
// first when missing), every other value of it kept as it is.
// With `dry_run` nothing is made or written. A folder that is set but
// missing, or not a full path, is an error: importing somewhere the page does
// not look would help no one.
Result<std::string> SettleImportFolder(const ProgramFolders& folders,
                                       const std::string& home_folder, FavoritesLookup& favorites,
                                       bool dry_run);
// The same with the registry of the user running the program.
Result<std::string> SettleImportFolder(const ProgramFolders& folders,
                                       const std::string& home_folder, bool dry_run);

}  // namespace qv::import
