// What the import does off Windows that it does otherwise on Windows
// (platform_win_test.cpp): where the browsers keep their data, the host
// names' ASCII form through libidn2, and the folder an import fills when the
// settings name none.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "import/browser_folders.h"
#include "import/browser_locations.h"
#include "import/idna.h"
#include "import/import_target.h"
#include "support/fake_surroundings.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

TEST(BrowserDataFolders, TheHomeAndConfigurationFoldersThenSnapAndFlatpak) {
  const std::vector<std::string> expected = {
      "firefox /h/.mozilla/firefox",
      "firefox /c/mozilla/firefox",
      "firefox /h/snap/firefox/common/.mozilla/firefox",
      "firefox /h/.var/app/org.mozilla.firefox/.mozilla/firefox",
      "chrome /c/google-chrome",
      "chrome /h/.var/app/com.google.Chrome/config/google-chrome",
      "chromium /c/chromium",
      "chromium /h/snap/chromium/common/chromium",
      "chromium /h/.var/app/org.chromium.Chromium/config/chromium",
      "edge /c/microsoft-edge",
      "edge /h/.var/app/com.microsoft.Edge/config/microsoft-edge",
      "brave /c/BraveSoftware/Brave-Browser",
      "brave /h/snap/brave/current/.config/BraveSoftware/Brave-Browser",
      "brave /h/.var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser",
  };
  EXPECT_EQ(FoldersOf({"/h", "/c", "", ""}), expected);
  // Without a configuration folder of its own: the one in the home folder.
  const std::vector<std::string> in_home = FoldersOf({"/h", "", "", ""});
  ASSERT_EQ(in_home.size(), expected.size());
  EXPECT_EQ(in_home[1], "firefox /h/.config/mozilla/firefox");
  EXPECT_TRUE(FoldersOf({}).empty());
}

TEST(BrowserDataFolders, ARelativeConfigurationFolderIsIgnored) {
  for (const auto& [value, expected] : {std::pair<const char*, const char*>{"relative/config", ""},
                                        {"/abs/config", "/abs/config"}}) {
    const testing::ScopedVariable config_home("XDG_CONFIG_HOME", value);
    EXPECT_EQ(SystemPathsFromEnvironment().config_home, expected) << value;
  }
}

TEST(HostToAscii, TodaysBrowsersRulesThroughLibidn2) {
  const struct {
    const char* host;
    std::optional<std::string> ascii;
  } cases[] = {
      {"stra\xC3\x9F"
       "e.de",
       "xn--strae-oqa.de"},
      {"\xCF\x82.gr", "xn--3xa.gr"},
      {"-\xC3\xBC.de", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(HostToAscii(c.host), c.ascii) << c.host;
}

TEST(UsersFavoritesFolder, IsInTheHomeFolderWhateverAWineRegistryNames) {
  testing::FakeFavoritesLookup registry;
  registry.Answer("/wine/drive_c/users/me/Favorites");
  EXPECT_EQ(UsersFavoritesFolder("/home/me", registry), "/home/me/Favorites");
  EXPECT_EQ(UsersFavoritesFolder("", registry), "");
}

}  // namespace
}  // namespace qv::import
