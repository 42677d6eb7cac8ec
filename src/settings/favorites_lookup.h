// The Favorites folder: where the run looks for the user's favourites when the
// settings name none. The registry is asked one question, through
// SystemFavoritesLookup: the Windows registry (favorites_lookup_win.cpp), or
// elsewhere the user's Wine registry file (favorites_lookup_wine.cpp).
#pragma once

#include <memory>
#include <string>

#include "generator/status.h"
#include "settings/settings.h"

namespace qv {

// Where the registry names the Favorites folder: the value "Favorites" of
// this key of the current user.
inline constexpr const char* kShellFoldersKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kFavoritesValueName = "Favorites";

class FavoritesLookup {
 public:
  virtual ~FavoritesLookup() = default;
  // The user's Favorites folder as the registry names it, as a path of this
  // machine (not necessarily ending in the separator); or why there is none.
  virtual Result<std::string> FavoritesFolder() = 0;
};

// The lookup of this machine's user.
std::unique_ptr<FavoritesLookup> SystemFavoritesLookup();

// The design default of the Favorites folder field: a fixed folder on
// Windows; elsewhere empty, so that the first run asks the lookup.
const char* DesignFavoritesFolder();

// Fills the Favorites folder of `settings` from `lookup` when the field is
// exactly empty, ending it in the separator; a field that holds anything,
// blanks included, stays as it is. Ok when the field names a folder
// afterwards, else why it stays empty.
Status SettleFavoritesFolder(Settings& settings, FavoritesLookup& lookup);

}  // namespace qv
