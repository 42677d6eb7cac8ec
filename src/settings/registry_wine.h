// The registry layer off Windows: the user's Wine registry file
// "<prefix>/user.reg", read only.
#pragma once

#include <memory>
#include <string>

#include "settings/registry.h"

namespace qv {

// The Wine prefix of the user: $WINEPREFIX, else $HOME/.wine; empty when
// neither is set.
std::string WinePrefix();

// The registry kept in `prefix`. Only HKEY_CURRENT_USER is there; a text
// "X:\rest" names the folder "<prefix>/dosdevices/x:/rest".
std::unique_ptr<RegistryApi> OpenWineRegistry(std::string prefix);

}  // namespace qv
