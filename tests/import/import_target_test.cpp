#include "import/import_target.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "generator/types.h"
#include "settings/settings_file.h"
#include "support/fake_surroundings.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

using testing::CrLfLines;
using testing::TempFolder;

// The folder the import fills when the settings name none, with a registry
// that names no folder: "Favorites" in the home folder on every system.
Result<std::string> Settle(const TempFolder& program, const std::string& home, bool dry_run) {
  testing::FakeFavoritesLookup registry;
  return SettleImportFolder(BesideTheExecutable(program.path()), home, registry, dry_run);
}

// A settings file as a user's program left it: values the reader would
// change on loading (a mixed-case description, a title size "07"), a line
// the program does not know, and the Favorites line 8 empty.
std::vector<std::string> UsersSettingsLines() {
  return {"#112233",  "#445566",     "#778899", "#AABBCC", "Title", "p.html", "Me",
          "",         "a",           "b",       "desc",    "e@x",   "l1",     "l2",
          "<!-- -->", "A startpage", "kw",      "07",      " 1",    "extra"};
}

TEST(SettleImportFolder, FillsAnEmptySettingWithTheHomeFavoritesAndKeepsEveryOtherLine) {
  TempFolder program, home;
  std::vector<std::string> lines = UsersSettingsLines();
  program.WriteFile("ins.txt", CrLfLines(lines));

  const auto planned = Settle(program, home.path(), /*dry_run=*/true);
  ASSERT_TRUE(planned.ok()) << planned.status().reason();
  EXPECT_EQ(*planned, home.Path("Favorites/"));
  EXPECT_FALSE(home.Exists("Favorites"));
  EXPECT_EQ(program.ReadFile("ins.txt"), CrLfLines(lines));

  const auto settled = Settle(program, home.path(), false);
  ASSERT_TRUE(settled.ok()) << settled.status().reason();
  EXPECT_EQ(*settled, home.Path("Favorites/"));
  EXPECT_TRUE(home.Exists("Favorites"));
  lines[7] = home.Path("Favorites/");
  EXPECT_EQ(program.ReadFile("ins.txt"), CrLfLines(lines));
  // From now on the setting names it.
  EXPECT_EQ(Settle(program, "", false).value(), home.Path("Favorites/"));
}

// Installed, the settings live in the user's own folder, which the import
// makes when it first writes them; a dry run makes nothing.
TEST(SettleImportFolder, WritesTheSettingsOfAnInstalledProgramInTheUsersFolder) {
  TempFolder installation, home;
  const ProgramFolders folders{home.Path("data/vorlindo/"), installation.path(), {}};
  testing::FakeFavoritesLookup registry;
  ASSERT_TRUE(SettleImportFolder(folders, home.path(), registry, true).ok());
  EXPECT_FALSE(home.Exists("data"));
  const auto settled = SettleImportFolder(folders, home.path(), registry, false);
  ASSERT_TRUE(settled.ok()) << settled.status().reason();
  ProgramState expected;
  expected.settings.favorites_folder = home.Path("Favorites/");
  EXPECT_EQ(home.ReadFile("data/vorlindo/ins.txt"), FormatSettings(expected.settings, 0));
  EXPECT_TRUE(installation.Entries().empty());
  // No folder of the user's known: nothing to go by, and nothing written.
  const auto unknown =
      SettleImportFolder({{}, installation.path(), "no home"}, home.path(), registry, false);
  EXPECT_EQ(unknown.status().reason(), "no home");
  EXPECT_TRUE(installation.Entries().empty());
}

TEST(SettleImportFolder, WritesMissingSettingsLinesAsTheProgramWould) {
  // No settings file, a short one, and one that names the folder the design
  // names on Windows, which nobody made.
  const std::vector<std::string> short_file = {"#000000", "#111111"};
  std::vector<std::string> design = UsersSettingsLines();
  design[7] = DesignFavoritesFolder();
  for (const std::vector<std::string>& lines : {std::vector<std::string>{}, short_file, design}) {
    TempFolder program, home;
    if (!lines.empty()) program.WriteFile("ins.txt", CrLfLines(lines));
    if (lines == design) {
      ASSERT_TRUE(Settle(program, home.path(), false).ok());
      design[7] = home.Path("Favorites/");
      EXPECT_EQ(program.ReadFile("ins.txt"), CrLfLines(design));
      continue;
    }
    ASSERT_TRUE(Settle(program, home.path(), false).ok());
    ProgramState expected;
    for (std::size_t i = 0; i < lines.size(); ++i)
      CodeOf(expected.settings, kColours[i]) = lines[i];
    expected.settings.favorites_folder = home.Path("Favorites/");
    EXPECT_EQ(program.ReadFile("ins.txt"), FormatSettings(expected.settings, 0));
  }
}

TEST(SettleImportFolder, TheProgramReadsTheFolderWrittenAndEveryOtherValueAsBefore) {
  // A settings file of an older version, in the ANSI code page where there is
  // one, and a home folder whose name is no ASCII.
  TempFolder program, home;
  std::vector<std::string> lines = UsersSettingsLines();
  lines[4] = "Caf\xE9";
  program.WriteFile("ins.txt", CrLfLines(lines));
  ProgramState before;
  ASSERT_TRUE(LoadSettings(before, program.path()).ok());
  const std::string home_folder = home.Path("J\xC3\xBCrgen \xE2\x82\xAC");
  home.MakeFolder("J\xC3\xBCrgen \xE2\x82\xAC");

  const auto settled = Settle(program, home_folder, false);
  ASSERT_TRUE(settled.ok()) << settled.status().reason();
  ProgramState after;
  ASSERT_TRUE(LoadSettings(after, program.path()).ok());
  EXPECT_EQ(after.settings.favorites_folder, *settled);
  EXPECT_EQ(*settled, home.Path("J\xC3\xBCrgen \xE2\x82\xAC/Favorites/"));
  after.settings.favorites_folder = before.settings.favorites_folder;
  EXPECT_EQ(after.settings, before.settings);
  EXPECT_TRUE(home.Exists("J\xC3\xBCrgen \xE2\x82\xAC/Favorites"));
}

TEST(SettleImportFolder, ASettingsFileThatCannotBeReadIsNotWrittenOver) {
  TempFolder program, home;
  const std::string why = testing::MakeFileThatFailsWhileRead(program.Path("ins.txt"));
  if (!why.empty()) GTEST_SKIP() << why;
  const auto settled = Settle(program, home.path(), false);
  EXPECT_FALSE(settled.ok());
  EXPECT_TRUE(std::filesystem::is_symlink(program.Path("ins.txt")));
}

TEST(SettleImportFolder, ASetFolderMustExistAndNothingIsWritten) {
  TempFolder program, home, favorites;
  std::vector<std::string> lines = UsersSettingsLines();
  const struct {
    std::string setting;
    bool ok;
  } cases[] = {
      {favorites.path(), true},
      {favorites.Path("missing"), false},
      {"relative/folder", false},
  };
  for (const auto& c : cases) {
    lines[7] = c.setting;
    program.WriteFile("ins.txt", CrLfLines(lines));
    const auto folder = Settle(program, home.path(), false);
    EXPECT_EQ(folder.ok(), c.ok) << c.setting;
    if (folder.ok()) {
      EXPECT_EQ(*folder, favorites.path());
    } else {
      EXPECT_NE(folder.status().reason().find(c.setting), std::string::npos);
    }
    EXPECT_EQ(program.ReadFile("ins.txt"), CrLfLines(lines));
  }
  EXPECT_EQ(home.Entries(), std::vector<std::string>{});
  TempFolder no_settings;
  EXPECT_FALSE(Settle(no_settings, "", false).ok());
  // A home folder that is not there: nothing is made and nothing written.
  const auto no_home = Settle(no_settings, no_settings.Path("gone"), false);
  ASSERT_FALSE(no_home.ok());
  EXPECT_NE(no_home.status().reason().find(no_settings.Path("gone")), std::string::npos);
  EXPECT_EQ(no_settings.Entries(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qv::import
