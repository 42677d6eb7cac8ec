// Linux and other POSIX systems: the browsers' own packages keep their data
// in the home folder and the configuration folder; snap and flatpak
// installations keep theirs in folders of their own.
#include <pwd.h>
#include <stdlib.h>
#include <unistd.h>

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
  paths.home = Environment("HOME");
  if (paths.home.empty()) {
    if (const passwd* user = getpwuid(getuid())) paths.home = user->pw_dir;
  }
  // The XDG rule: a relative path is to be ignored.
  paths.config_home = Environment("XDG_CONFIG_HOME");
  if (paths.config_home.substr(0, 1) != "/") paths.config_home.clear();
  return paths;
}

std::vector<BrowserDataFolder> BrowserDataFolders(const SystemPaths& paths) {
  if (paths.home.empty()) return {};
  const std::string& home = paths.home;
  const std::string config =
      paths.config_home.empty() ? JoinPath(home, ".config") : paths.config_home;
  const std::string flatpak = JoinPath(home, ".var/app");
  const std::string snap = JoinPath(home, "snap");
  constexpr BrowserFamily kFirefox = BrowserFamily::kFirefox;
  constexpr BrowserFamily kChromium = BrowserFamily::kChromium;
  return {
      {"firefox", kFirefox, JoinPath(home, ".mozilla/firefox")},
      {"firefox", kFirefox, JoinPath(config, "mozilla/firefox")},
      {"firefox", kFirefox, JoinPath(snap, "firefox/common/.mozilla/firefox")},
      {"firefox", kFirefox, JoinPath(flatpak, "org.mozilla.firefox/.mozilla/firefox")},
      {"chrome", kChromium, JoinPath(config, "google-chrome")},
      {"chrome", kChromium, JoinPath(flatpak, "com.google.Chrome/config/google-chrome")},
      {"chromium", kChromium, JoinPath(config, "chromium")},
      {"chromium", kChromium, JoinPath(snap, "chromium/common/chromium")},
      {"chromium", kChromium, JoinPath(flatpak, "org.chromium.Chromium/config/chromium")},
      {"edge", kChromium, JoinPath(config, "microsoft-edge")},
      {"edge", kChromium, JoinPath(flatpak, "com.microsoft.Edge/config/microsoft-edge")},
      {"brave", kChromium, JoinPath(config, "BraveSoftware/Brave-Browser")},
      {"brave", kChromium, JoinPath(snap, "brave/current/.config/BraveSoftware/Brave-Browser")},
      {"brave", kChromium,
       JoinPath(flatpak, "com.brave.Browser/config/BraveSoftware/Brave-Browser")},
  };
}

}  // namespace qv::import
