#include "settings/favorites_folder.h"

#include <string>

#include "generator/file_system.h"

namespace qv {

std::string FavoritesFolderFromRegistry(RegistryApi& registry) {
  const std::string named =
      ReadRegistryValue(registry, kHkeyCurrentUser, kShellFoldersKey, kFavoritesValueName).AsText();
  const std::string folder = registry.NativePath(named);
  // An unknown folder stays unknown: a lone separator would send the scan to
  // the root of the drive.
  if (folder.empty()) return "";
  return WithTrailingSeparator(folder);
}

void SettleFavoritesFolder(Settings& settings, RegistryApi& registry) {
  std::string& field = settings.T[kFavoritesField];
  if (field.empty()) field = FavoritesFolderFromRegistry(registry);
}

}  // namespace qv
