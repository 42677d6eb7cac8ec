#include "import/browser_profiles.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace qv::import {

void PrintTo(const BrowserProfile& profile, std::ostream* out) {
  *out << "{" << profile.browser << ", \"" << profile.profile << "\", " << profile.store
       << (profile.is_default ? ", default}" : "}");
}

namespace {

using Profiles = std::vector<BrowserProfile>;

TEST(FindBrowserProfilesTest, EveryBrowserWithItsDefaultProfileFirst) {
  testing::TempFolder home;
  const std::string firefox = home.Path(".mozilla/firefox/");
  home.WriteFile(
      ".mozilla/firefox/profiles.ini",
      "[Profile1]\r\nName=default\r\nIsRelative=1\r\nPath=old.default\r\nDefault=1\r\n\r\n"
      "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/new.default\r\n\r\n"
      "[Profile2]\r\nName=elsewhere\r\nIsRelative=0\r\nPath=" +
          home.Path("elsewhere") +
          "\r\n\r\n[Profile3]\r\nName=never used\r\nIsRelative=1\r\nPath=empty\r\n\r\n"
          "[Install4F96D1932A9F858E]\r\nDefault=Profiles/new.default\r\nLocked=1\r\n\r\n"
          "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
  home.WriteFile(".mozilla/firefox/old.default/places.sqlite", "");
  home.WriteFile(".mozilla/firefox/Profiles/new.default/places.sqlite", "");
  home.WriteFile("elsewhere/places.sqlite", "");
  home.MakeFolder(".mozilla/firefox/empty");
  // A snap installation without an install section: Default=1 decides.
  home.WriteFile("snap/firefox/common/.mozilla/firefox/profiles.ini",
                 "\xEF\xBB\xBF[Profile0]\nName=a\nIsRelative=1\nPath=a\n\n"
                 "[Profile1]\nName=b\nIsRelative=1\nPath=b\nDefault=1\n");
  home.WriteFile("snap/firefox/common/.mozilla/firefox/a/places.sqlite", "");
  home.WriteFile("snap/firefox/common/.mozilla/firefox/b/places.sqlite", "");

  const std::string chrome = home.Path(".config/google-chrome/");
  home.WriteFile(".config/google-chrome/Default/Bookmarks", "{}");
  home.WriteFile(".config/google-chrome/Profile 1/Bookmarks", "{}");
  home.MakeFolder(".config/google-chrome/Guest Profile");
  home.WriteFile(".config/google-chrome/Local State",
                 R"({"profile": {"last_used": "Profile 1", "info_cache": {
                      "Default": {"name": "Person 1"}, "Profile 1": {"name": "Work"}}}})");
  // Without a readable "Local State": "Default", else the first folder.
  home.WriteFile(".config/chromium/Default/Bookmarks", "{}");
  home.WriteFile(".config/chromium/Profile 2/Bookmarks", "{}");
  home.WriteFile(".config/chromium/Local State", "{\"profile\": [");
  home.WriteFile(".var/app/com.microsoft.Edge/config/microsoft-edge/Profile 3/Bookmarks", "{}");
  home.WriteFile(".config/BraveSoftware/Brave-Browser/Default/Bookmarks", "{}");
  home.WriteFile(".config/BraveSoftware/Brave-Browser/Local State",
                 R"({"profile": {"last_used": "Gone"}})");

  const std::string snap = home.Path("snap/firefox/common/.mozilla/firefox/");
  const std::string edge = home.Path(".var/app/com.microsoft.Edge/config/microsoft-edge/");
  const Profiles expected = {
      {"firefox", "default-release", firefox + "Profiles/new.default/places.sqlite", true},
      {"firefox", "default", firefox + "old.default/places.sqlite", false},
      {"firefox", "elsewhere", home.Path("elsewhere/places.sqlite"), false},
      {"firefox", "b", snap + "b/places.sqlite", true},
      {"firefox", "a", snap + "a/places.sqlite", false},
      {"chrome", "Work", chrome + "Profile 1/Bookmarks", true},
      {"chrome", "Person 1", chrome + "Default/Bookmarks", false},
      {"chromium", "Default", home.Path(".config/chromium/Default/Bookmarks"), true},
      {"chromium", "Profile 2", home.Path(".config/chromium/Profile 2/Bookmarks"), false},
      {"edge", "Profile 3", edge + "Profile 3/Bookmarks", true},
      {"brave", "Default", home.Path(".config/BraveSoftware/Brave-Browser/Default/Bookmarks"),
       true},
  };
  EXPECT_EQ(FindBrowserProfiles({home.path(), "", "", ""}), expected);
}

TEST(FindBrowserProfilesTest, ConfigurationFolderAndNothingFound) {
  testing::TempFolder home;
  testing::TempFolder config;
  config.WriteFile("chromium/Default/Bookmarks", "{}");
  home.WriteFile(".config/chromium/Default/Bookmarks", "{}");  // not where XDG points
  EXPECT_EQ(FindBrowserProfiles({home.path(), config.path(), "", ""}),
            (Profiles{{"chromium", "Default", config.Path("chromium/Default/Bookmarks"), true}}));
  testing::TempFolder empty;
  EXPECT_TRUE(FindBrowserProfiles({empty.path(), "", "", ""}).empty());
  EXPECT_TRUE(FindBrowserProfiles({}).empty());
}

}  // namespace
}  // namespace qv::import
