// Where each browser keeps its data on this platform
// (browser_locations_posix.cpp, browser_locations_win.cpp).
#pragma once

#include <string>
#include <vector>

#include "import/browser_profiles.h"

namespace qv::import {

enum class BrowserFamily {
  kFirefox,   // a folder holding profiles.ini
  kChromium,  // a user data folder holding one folder per profile
};

struct BrowserDataFolder {
  std::string browser;
  BrowserFamily family;
  std::string folder;
};

// The folders to look in, browser by browser in the order of
// FindBrowserProfiles, each browser's own packages first; those whose base
// folder is unknown are left out.
std::vector<BrowserDataFolder> BrowserDataFolders(const SystemPaths& paths);

// `base` and `relative` (written with "/") joined with this platform's separator.
std::string JoinPath(const std::string& base, const std::string& relative);

}  // namespace qv::import
