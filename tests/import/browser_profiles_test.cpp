#include "import/browser_profiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "generator/text_encoding.h"
#include "import/browser_locations.h"
#include "support/temp_folder.h"

namespace qv::import {

void PrintTo(const BrowserProfile& profile, std::ostream* out) {
  *out << "{" << profile.browser << ", \"" << profile.profile << "\", " << profile.store
       << (profile.is_default ? ", default}" : "}");
}

namespace {

using Profiles = std::vector<BrowserProfile>;

// The folders of this system's user, all inside `root`.
SystemPaths PathsIn(const testing::TempFolder& root) {
  return {root.Path("home"), root.Path("config"), root.Path("roaming"), root.Path("local")};
}

// Where `browser` keeps its data on this system: its own package's folder
// first, then those of other packagings.
std::vector<std::string> DataFolders(const SystemPaths& paths, const std::string& browser) {
  std::vector<std::string> folders;
  for (const BrowserDataFolder& data : BrowserDataFolders(paths)) {
    if (data.browser == browser) folders.push_back(data.folder);
  }
  return folders;
}

// Writes `bytes` to `relative` (with "/") inside the data folder `folder`.
void WriteInto(const std::string& folder, const std::string& relative, const std::string& bytes) {
  const std::filesystem::path path = NativePath(JoinPath(folder, relative));
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(FindBrowserProfilesTest, EveryBrowserWithItsDefaultProfileFirst) {
  testing::TempFolder root;
  const SystemPaths paths = PathsIn(root);
  const std::vector<std::string> firefox_folders = DataFolders(paths, "firefox");
  ASSERT_GE(firefox_folders.size(), 2u);
  const std::string& firefox = firefox_folders.front();
  WriteInto(firefox, "profiles.ini",
            "[Profile1]\r\nName=default\r\nIsRelative=1\r\nPath=old.default\r\nDefault=1\r\n\r\n"
            "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/new.default\r\n"
            "\r\n[Profile2]\r\nName=elsewhere\r\nIsRelative=0\r\nPath=" +
                root.Path("elsewhere") +
                "\r\n\r\n[Profile3]\r\nName=never used\r\nIsRelative=1\r\nPath=empty\r\n\r\n"
                "[Install4F96D1932A9F858E]\r\nDefault=Profiles/new.default\r\nLocked=1\r\n\r\n"
                "[General]\r\nStartWithLastProfile=1\r\nVersion=2\r\n");
  WriteInto(firefox, "old.default/places.sqlite", "");
  WriteInto(firefox, "Profiles/new.default/places.sqlite", "");
  root.WriteFile("elsewhere/places.sqlite", "");
  WriteInto(firefox, "empty/profiles.ini", "");
  // Another packaging, without an install section: Default=1 decides.
  const std::string& packaged = firefox_folders.back();
  WriteInto(packaged, "profiles.ini",
            "\xEF\xBB\xBF[Profile0]\nName=a\nIsRelative=1\nPath=a\n\n"
            "[Profile1]\nName=b\nIsRelative=1\nPath=b\nDefault=1\n");
  WriteInto(packaged, "a/places.sqlite", "");
  WriteInto(packaged, "b/places.sqlite", "");

  const std::string chrome = DataFolders(paths, "chrome").front();
  WriteInto(chrome, "Default/Bookmarks", "{}");
  WriteInto(chrome, "Profile 1/Bookmarks", "{}");
  WriteInto(chrome, "Guest Profile/Preferences", "{}");
  WriteInto(chrome, "Local State",
            R"({"profile": {"last_used": "Profile 1", "info_cache": {
                 "Default": {"name": "Person 1"}, "Profile 1": {"name": "Work"}}}})");
  // Without a readable "Local State": "Default", else the first folder.
  const std::string chromium = DataFolders(paths, "chromium").front();
  WriteInto(chromium, "Default/Bookmarks", "{}");
  WriteInto(chromium, "Profile 2/Bookmarks", "{}");
  WriteInto(chromium, "Local State", "{\"profile\": [");
  const std::string edge = DataFolders(paths, "edge").back();
  WriteInto(edge, "Profile 3/Bookmarks", "{}");
  const std::string brave = DataFolders(paths, "brave").front();
  WriteInto(brave, "Default/Bookmarks", "{}");
  WriteInto(brave, "Local State", R"({"profile": {"last_used": "Gone"}})");

  const Profiles expected = {
      {"firefox", "default-release", JoinPath(firefox, "Profiles/new.default/places.sqlite"), true},
      {"firefox", "default", JoinPath(firefox, "old.default/places.sqlite"), false},
      {"firefox", "elsewhere", root.Path("elsewhere/places.sqlite"), false},
      {"firefox", "b", JoinPath(packaged, "b/places.sqlite"), true},
      {"firefox", "a", JoinPath(packaged, "a/places.sqlite"), false},
      {"chrome", "Work", JoinPath(chrome, "Profile 1/Bookmarks"), true},
      {"chrome", "Person 1", JoinPath(chrome, "Default/Bookmarks"), false},
      {"chromium", "Default", JoinPath(chromium, "Default/Bookmarks"), true},
      {"chromium", "Profile 2", JoinPath(chromium, "Profile 2/Bookmarks"), false},
      {"edge", "Profile 3", JoinPath(edge, "Profile 3/Bookmarks"), true},
      {"brave", "Default", JoinPath(brave, "Default/Bookmarks"), true},
  };
  EXPECT_EQ(FindBrowserProfiles(paths), expected);
}

TEST(FindBrowserProfilesTest, NothingFound) {
  testing::TempFolder empty;
  EXPECT_TRUE(FindBrowserProfiles(PathsIn(empty)).empty());
  EXPECT_TRUE(FindBrowserProfiles({}).empty());
}

}  // namespace
}  // namespace qv::import
