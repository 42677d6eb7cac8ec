// Windows: Firefox keeps its profiles in the roaming application data, the
// Chromium browsers theirs in the local one.
#include <stdlib.h>

#include "import/browser_locations.h"

namespace qv::import {
namespace {

std::string Environment(const char* name) {
  const char* value = getenv(name);
  return value != nullptr ? value : "";
}

}  // namespace

SystemPaths SystemPathsFromEnvironment() {
  SystemPaths paths;
  paths.home = Environment("USERPROFILE");
  paths.app_data = Environment("APPDATA");
  paths.local_app_data = Environment("LOCALAPPDATA");
  return paths;
}

std::vector<BrowserDataFolder> BrowserDataFolders(const SystemPaths& paths) {
  std::vector<BrowserDataFolder> folders;
  if (!paths.app_data.empty()) {
    folders.push_back(
        {"firefox", BrowserFamily::kFirefox, JoinPath(paths.app_data, "Mozilla/Firefox")});
  }
  if (!paths.local_app_data.empty()) {
    const std::string& local = paths.local_app_data;
    constexpr BrowserFamily kChromium = BrowserFamily::kChromium;
    folders.push_back({"chrome", kChromium, JoinPath(local, "Google/Chrome/User Data")});
    folders.push_back({"chromium", kChromium, JoinPath(local, "Chromium/User Data")});
    folders.push_back({"edge", kChromium, JoinPath(local, "Microsoft/Edge/User Data")});
    folders.push_back(
        {"brave", kChromium, JoinPath(local, "BraveSoftware/Brave-Browser/User Data")});
  }
  return folders;
}

}  // namespace qv::import
