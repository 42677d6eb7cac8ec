// The Favorites folder: where the run looks for the user's favourites.
#pragma once

#include <string>

#include "generator/types.h"
#include "settings/registry.h"

namespace qv {

inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kFavoritesValueName = "Favorites";

// The design default of T(3): empty where the registry is only a stand-in,
// so that the first run asks the lookup (registry_wine.cpp, registry_win.cpp).
const char* DesignFavoritesFolder();

// The user's Favorites folder as the registry names it, ending in the
// separator; empty when the registry names none.
std::string FavoritesFolderFromRegistry(RegistryApi& registry);

// Fills T(3) from the registry when it is exactly empty; a field that holds
// anything, blanks included, stays as it is. An unknown folder leaves it empty.
void SettleFavoritesFolder(Settings& settings, RegistryApi& registry);

}  // namespace qv
