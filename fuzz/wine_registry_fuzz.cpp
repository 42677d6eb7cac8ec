// The Favorites lookup on any Wine registry file: it ends, and a folder it
// names lies on a drive of the prefix.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "settings/favorites_lookup_wine.h"
#include "support/scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qv;
  using namespace qv::fuzz;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  WriteScratchFile("user.reg", input);
  const std::string prefix = Scratch().path();  // ends in "/", as $WINEPREFIX may
  const Result<std::string> folder = WineFavoritesLookup(prefix)->FavoritesFolder();
  if (folder.ok()) {
    const std::string drives = prefix + "dosdevices/";
    Check(folder->starts_with(drives) && folder->size() >= drives.size() + 3 &&
              (*folder)[drives.size() + 1] == ':' && (*folder)[drives.size() + 2] == '/',
          "the Favorites folder lies on a drive of the prefix");
  } else {
    Check(!folder.status().reason().empty(), "a failure says why");
  }
  return 0;
}
