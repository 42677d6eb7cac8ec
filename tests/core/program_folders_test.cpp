// The two ways the program lives, beside its executable and installed, and
// that an installed program's runs leave the installation as it was.
#include "settings/program_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "generator/file_system.h"
#include "run/start_page.h"
#include "settings/app_folder.h"
#include "support/fake_surroundings.h"
#include "support/program_data.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::TreeOf;

// A fake installation: "bin" with a stand-in executable, "share/vorlindo"
// with the templates and language files the program comes with, and the
// user's folder, not made yet, in "home".
class InstalledProgram : public ::testing::Test {
 protected:
  InstalledProgram() {
    root_.WriteFile("bin/vorlindo-build", "the program");
    testing::CopyProgramData(root_, "share/vorlindo/");
    favorites_.WriteFile("News/Weather.url", "URL=https://weather.example/\r\n");
    state_.settings.favorites_folder = favorites_.path();
  }

  std::string Bin() const { return root_.Path("bin/"); }
  std::string Users() const { return root_.Path("home/.local/share/vorlindo/"); }
  ProgramFolders Installed() const { return DecideProgramFolders(Bin(), Users()); }
  std::map<std::string, std::string> Installation() const {
    auto tree = TreeOf(root_.path());
    std::erase_if(tree, [](const auto& entry) { return entry.first.starts_with("home"); });
    return tree;
  }

  TempFolder root_, favorites_;
  ProgramState state_;
};

TEST_F(InstalledProgram, TheLayoutDecidesWhereTheProgramLives) {
  const std::string installed = root_.Path("share/vorlindo/");
  const ProgramFolders at_start = Installed();
  EXPECT_EQ(at_start, (ProgramFolders{Users(), installed, {}}));
  // Without a folder of the user's, none at all: never the installation.
  const ProgramFolders unknown = DecideProgramFolders(Bin(), Status::Error("no home"));
  EXPECT_EQ(unknown, (ProgramFolders{{}, installed, "no home"}));
  EXPECT_EQ(MakeOwnFolder(unknown).reason(), "no home");
  EXPECT_EQ(FolderOfSideFile(unknown, "nl.txt"), installed);

  // A template beside the executable (a build folder inside a prefix, an
  // unpacked zip) keeps the program there, as does a data folder without
  // the header template.
  root_.WriteFile("bin/koptekst.txt", "beside");
  EXPECT_EQ(Installed(), BesideTheExecutable(Bin()));
  fs::remove(root_.Path("bin/koptekst.txt"));
  fs::remove(root_.Path("share/vorlindo/koptekst.txt"));
  EXPECT_EQ(Installed(), BesideTheExecutable(Bin()));
  EXPECT_EQ(DecideProgramFolders(Bin(), Status::Error("no home")), BesideTheExecutable(Bin()));

  // A running program that started installed stays so while its
  // installation is removed; beside, its folder is its executable's.
  EXPECT_EQ(CurrentProgramFolders(at_start), at_start);
  EXPECT_EQ(CurrentProgramFolders(Installed()), BesideTheExecutable(AppFolder()));
}

TEST_F(InstalledProgram, AFileOfTheUsersWinsOverTheInstalledOne) {
  const ProgramFolders folders = Installed();
  EXPECT_EQ(FolderOfSideFile(folders, "nl.txt"), folders.installed);
  root_.WriteFile("home/.local/share/vorlindo/nl.txt", "mine");
  EXPECT_EQ(SideFilePath(folders, "nl.txt"), Users() + "nl.txt");
  // A folder of that name is no file of the user's.
  root_.MakeFolder("home/.local/share/vorlindo/uk.txt");
  EXPECT_EQ(FolderOfSideFile(folders, "uk.txt"), folders.installed);
  // Beside the executable there is one folder, whatever it holds.
  EXPECT_EQ(FolderOfSideFile(BesideTheExecutable(Bin()), "uk.txt"), Bin());
}

TEST_F(InstalledProgram, RunsWriteOnlyInTheUsersFolderAndGiveThePageOfABesideRun) {
  const auto installation = Installation();
  testing::FakeSurroundings installed(Installed());
  const RunReport report = BuildStartPage(state_, installed);
  ASSERT_TRUE(report.page_status.ok()) << report.page_status.reason();
  EXPECT_EQ(report.page_path, Users() + "mijnstart.html");
  EXPECT_EQ(TreeOf(Users()),
            (std::map<std::string, std::string>{
                {"mijnstart.html", root_.ReadFile("home/.local/share/vorlindo/mijnstart.html")},
                {"option.txt", root_.ReadFile("home/.local/share/vorlindo/option.txt")}}));
  EXPECT_EQ(Installation(), installation);

  // The same templates beside the executable give the same bytes.
  TempFolder beside;
  testing::CopyProgramData(beside);
  testing::FakeSurroundings beside_surroundings(beside.path());
  ProgramState state;
  state.settings.favorites_folder = favorites_.path();
  ASSERT_TRUE(BuildStartPage(state, beside_surroundings).page_status.ok());
  EXPECT_EQ(beside.ReadFile("mijnstart.html"),
            root_.ReadFile("home/.local/share/vorlindo/mijnstart.html"));
  EXPECT_EQ(beside.ReadFile("option.txt"), root_.ReadFile("home/.local/share/vorlindo/option.txt"));

  // The user's own header template and settings take over.
  root_.WriteFile("home/.local/share/vorlindo/koptekst.txt", "<p>mine</p>\r\n");
  root_.WriteFile("home/.local/share/vorlindo/ins.txt", "");
  ASSERT_TRUE(BuildStartPage(state_, installed).page_status.ok());
  EXPECT_TRUE(
      root_.ReadFile("home/.local/share/vorlindo/mijnstart.html").starts_with("<p>mine</p>"));
  EXPECT_EQ(Installation(), installation);
}

TEST_F(InstalledProgram, TheUsersFolderIsMadeWhenFirstNeededAndAProgramFolderNever) {
  ASSERT_TRUE(MakeOwnFolder(Installed()).ok());
  EXPECT_TRUE(fs::is_directory(Users()));
  EXPECT_TRUE(MakeOwnFolder(Installed()).ok());
  // A program folder beside the executable that is gone stays gone, and the
  // run says so.
  const std::string gone = root_.Path("gone/");
  EXPECT_TRUE(MakeOwnFolder(BesideTheExecutable(gone)).ok());
  testing::FakeSurroundings surroundings(gone);
  EXPECT_FALSE(BuildStartPage(state_, surroundings).page_status.ok());
  EXPECT_FALSE(fs::exists(gone));
}

TEST(XdgBaseFolder, TakesAFullPathAndIgnoresARelativeOneAsTheRulesSay) {
  TempFolder temp;
  const std::string set = temp.Path("data");
  const std::string home = temp.Path("home");
  const std::string under_home = temp.Path("home/.local/share/");
  const struct {
    const char* value;
    std::string home, expected;  // empty expected: no folder
  } cases[] = {
      {set.c_str(), home, set + kPathSeparator},
      {set.c_str(), "", set + kPathSeparator},
      {nullptr, home, under_home},
      {"", home, under_home},
      {"relative/data", home, under_home},
      {nullptr, "", ""},
      {"relative/data", "relative/home", ""},
  };
  for (const auto& c : cases) {
    const std::string shown = c.value == nullptr ? "(unset)" : c.value;
    const Result<std::string> folder =
        XdgBaseFolder("XDG_DATA_HOME", c.value, c.home, ".local/share");
    if (c.expected.empty()) {
      ASSERT_FALSE(folder.ok()) << shown << " " << c.home;
      EXPECT_NE(folder.status().reason().find("XDG_DATA_HOME"), std::string::npos);
    } else {
      ASSERT_TRUE(folder.ok()) << shown << " " << c.home;
      EXPECT_EQ(testing::WithPlatformSeparators(*folder), c.expected) << shown;
    }
  }
}

}  // namespace
}  // namespace qv
