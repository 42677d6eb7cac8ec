// The Favorites folder lookup off Windows: the user's Wine registry file
// "<prefix>/user.reg", read only.
#pragma once

#include <memory>
#include <string>

#include "settings/favorites_lookup.h"

namespace qv {

// The Wine prefix of the user: $WINEPREFIX, else $HOME/.wine; empty when
// neither is set.
std::string WinePrefix();

// The lookup in the registry kept in `prefix`. The folder text "X:\rest"
// names the folder "<prefix>/dosdevices/x:/rest"; a text that names no drive
// names no folder here.
std::unique_ptr<FavoritesLookup> WineFavoritesLookup(std::string prefix);

}  // namespace qv
