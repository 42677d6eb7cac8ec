// The browsers installed for the user and the profiles in which they keep
// bookmarks, so that an import can be asked for by browser name.
#pragma once

#include <string>
#include <vector>

namespace qv::import {

// The folders under which browsers keep their data; a field left empty is
// not searched. Tests pass folders of their own.
struct SystemPaths {
  std::string home;            // the user's home folder (Windows: %USERPROFILE%)
  std::string config_home;     // POSIX: $XDG_CONFIG_HOME; empty means home/.config
  std::string app_data;        // Windows: %APPDATA%
  std::string local_app_data;  // Windows: %LOCALAPPDATA%
};

// The folders of the user running the program (browser_locations_posix.cpp,
// browser_locations_win.cpp).
SystemPaths SystemPathsFromEnvironment();

struct BrowserProfile {
  std::string browser;  // "firefox", "chrome", "chromium", "edge" or "brave"
  std::string profile;  // the name the browser shows ("default-release", "Person 1")
  std::string store;    // the path of its places.sqlite or Bookmarks file
  bool is_default = false;

  bool operator==(const BrowserProfile&) const = default;
};

// Every profile with a bookmark store, browser by browser in the order of
// the names above; each browser's default profile comes first, so the first
// profile of a browser is the one to import from. Firefox's default is the
// one its install section names, else the one marked Default=1; a Chromium
// browser's is the last used one, else "Default". Installations from snap and
// flatpak come after the browser's own packages.
std::vector<BrowserProfile> FindBrowserProfiles(const SystemPaths& paths);

}  // namespace qv::import
