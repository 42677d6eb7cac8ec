// On Windows an import that the settings name no folder for fills the user's
// own Favorites folder: the one the registry names, where the browsers put
// favourites and where the page looks once the settings are left empty.
#include "generator/file_system.h"
#include "import/import_target.h"

namespace qv::import {

std::string UsersFavoritesFolder(const std::string& home_folder, FavoritesLookup& favorites) {
  const Result<std::string> named = favorites.FavoritesFolder();
  if (named.ok() && !named->empty()) return *named;
  return home_folder.empty() ? std::string() : JoinPath(home_folder, "Favorites");
}

}  // namespace qv::import
