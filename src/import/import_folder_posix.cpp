// Off Windows an import that the settings name no folder for fills
// "Favorites" in the home folder. The registry of a Wine prefix names a
// folder of the Windows programs there, which is no place for the browsers'
// bookmarks of this system.
#include "generator/file_system.h"
#include "import/import_target.h"

namespace qv::import {

std::string UsersFavoritesFolder(const std::string& home_folder, FavoritesLookup&) {
  return home_folder.empty() ? std::string() : JoinPath(home_folder, "Favorites");
}

}  // namespace qv::import
