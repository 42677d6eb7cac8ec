#include "settings/favorites_lookup.h"

#include "generator/file_system.h"

namespace qv {

Status SettleFavoritesFolder(Settings& settings, FavoritesLookup& lookup) {
  std::string& field = settings.favorites_folder;
  if (!field.empty()) return Status::Ok();
  const Result<std::string> folder = lookup.FavoritesFolder();
  if (!folder.ok()) return folder.status();
  // An unknown folder stays unknown: a lone separator would send the scan to
  // the root of the drive.
  if (folder->empty()) return Status::Error("the registry names an empty Favorites folder");
  field = WithTrailingSeparator(*folder);
  return Status::Ok();
}

}  // namespace qv
