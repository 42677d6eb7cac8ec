// Windows: Firefox keeps its profiles in the roaming application data, the
// Chromium browsers theirs in the local one. The folders are asked of the
// system (as the browsers ask for them) in UTF-16, so that a user name
// outside the code page is named exactly.
#include "generator/windows_api.h"

#include <knownfolders.h>
#include <objbase.h>
#include <shlobj.h>

#include "generator/windows_text.h"
#include "import/browser_locations.h"

namespace qv::import {
namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
  wchar_t* path = nullptr;
  const HRESULT found = SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path);
  std::string folder = SUCCEEDED(found) && path != nullptr ? Utf8Text(path) : "";
  CoTaskMemFree(path);
  return folder;
}

}  // namespace

SystemPaths SystemPathsFromEnvironment() {
  SystemPaths paths;
  paths.home = KnownFolder(FOLDERID_Profile);
  paths.app_data = KnownFolder(FOLDERID_RoamingAppData);
  paths.local_app_data = KnownFolder(FOLDERID_LocalAppData);
  return paths;
}

std::vector<BrowserDataFolder> BrowserDataFolders(const SystemPaths& paths) {
  std::vector<BrowserDataFolder> folders;
  constexpr BrowserFamily kFirefox = BrowserFamily::kFirefox;
  constexpr BrowserFamily kChromium = BrowserFamily::kChromium;
  const std::string& roaming = paths.app_data;
  const std::string& local = paths.local_app_data;
  if (!roaming.empty())
    folders.push_back({"firefox", kFirefox, JoinPath(roaming, "Mozilla/Firefox")});
  if (local.empty()) return folders;
  // Installed from the Microsoft Store, Firefox writes what it would write
  // into the roaming folder into a folder of its package instead, unless it
  // found its folder there already.
  folders.push_back({"firefox", kFirefox,
                     JoinPath(local,
                              "Packages/Mozilla.Firefox_n80bbvh6b1yt2/LocalCache/Roaming/"
                              "Mozilla/Firefox")});
  folders.push_back({"chrome", kChromium, JoinPath(local, "Google/Chrome/User Data")});
  folders.push_back({"chromium", kChromium, JoinPath(local, "Chromium/User Data")});
  folders.push_back({"edge", kChromium, JoinPath(local, "Microsoft/Edge/User Data")});
  folders.push_back({"brave", kChromium, JoinPath(local, "BraveSoftware/Brave-Browser/User Data")});
  return folders;
}

}  // namespace qv::import
