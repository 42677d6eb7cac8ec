// What the import does on Windows that it does otherwise elsewhere
// (platform_posix_test.cpp): where the browsers keep their data, the host
// names' ASCII form through the system's own conversion, and the user's own
// Favorites folder for an import that the settings name no folder for.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "generator/folder_watcher.h"
#include "generator/text_encoding.h"
#include "import/browser_folders.h"
#include "import/browser_locations.h"
#include "import/idna.h"
#include "import/import_target.h"
#include "settings/settings_file.h"
#include "support/fake_surroundings.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

TEST(BrowserDataFolders, TheRoamingAndTheLocalApplicationData) {
  const std::vector<std::string> expected = {
      "firefox R:\\Mozilla\\Firefox",
      "firefox L:\\Packages\\Mozilla.Firefox_n80bbvh6b1yt2\\LocalCache\\Roaming\\Mozilla\\Firefox",
      "chrome L:\\Google\\Chrome\\User Data",
      "chromium L:\\Chromium\\User Data",
      "edge L:\\Microsoft\\Edge\\User Data",
      "brave L:\\BraveSoftware\\Brave-Browser\\User Data",
  };
  EXPECT_EQ(FoldersOf({"H:\\", "", "R:\\", "L:\\"}), expected);
  EXPECT_TRUE(FoldersOf({"H:\\", "", "", ""}).empty());
}

TEST(BrowserDataFolders, TheSystemNamesTheUsersFolders) {
  const SystemPaths paths = SystemPathsFromEnvironment();
  for (const std::string& folder : {paths.home, paths.app_data, paths.local_app_data}) {
    EXPECT_TRUE(IsExistingFolder(folder)) << folder;
    EXPECT_TRUE(NativePath(folder).is_absolute()) << folder;
  }
}

TEST(HostToAscii, NamesTheSystemMapsToAnotherHostKeepNoAsciiForm) {
  const struct {
    const char* host;
    std::optional<std::string> ascii;
  } cases[] = {
      {"B\xC3\x9C"
       "CHER.example",
       "xn--bcher-kva.example"},
      // Browsers take the "ß", "ς" and the joiners as they are.
      {"stra\xC3\x9F"
       "e.de",
       std::nullopt},
      {"\xCF\x82.gr", std::nullopt},
      {"a\xE2\x80\x8D"
       "b.de",
       std::nullopt},
      // As browsers do; libidn2 refuses it.
      {"-\xC3\xBC.de", "xn----eha.de"},
  };
  for (const auto& c : cases) EXPECT_EQ(HostToAscii(c.host), c.ascii) << c.host;
}

TEST(UsersFavoritesFolder, IsTheOneTheRegistryNamesAndFilledWhenTheSettingsNameNone) {
  testing::TempFolder program, home, elsewhere;
  testing::FakeFavoritesLookup registry;
  EXPECT_EQ(UsersFavoritesFolder(home.path(), registry), home.Path("Favorites"));
  const std::string named = elsewhere.Path("Favoriten \xE2\x82\xAC");
  registry.Answer(named);
  EXPECT_EQ(UsersFavoritesFolder(home.path(), registry), named);

  const auto settled =
      SettleImportFolder(BesideTheExecutable(program.path()), home.path(), registry, false);
  ASSERT_TRUE(settled.ok()) << settled.status().reason();
  EXPECT_EQ(*settled, named + "\\");
  EXPECT_TRUE(IsExistingFolder(named));
  ProgramState state;
  ASSERT_TRUE(LoadSettings(state, program.path()).ok());
  EXPECT_EQ(state.settings.favorites_folder, named + "\\");
}

}  // namespace
}  // namespace qv::import
