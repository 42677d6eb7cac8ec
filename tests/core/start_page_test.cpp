// Whole generation runs in a temporary program folder.
#include "generator/start_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generator/file_system.h"
#include "settings/favorites_folder.h"
#include "settings/settings_file.h"
#include "support/fake_surroundings.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::CrLfLines;
using testing::FakeSurroundings;
using testing::TempFolder;

class StartPageTest : public ::testing::Test {
 protected:
  StartPageTest() : surroundings_(program_.path()) {
    program_.WriteFile("koptekst.txt", "<html>\r\n<title>\r\n@#$TITEL@#$\r\n</title>\r\n");
    program_.WriteFile("voettekst.txt",
                       "<select>\r\n @#$OPTION@#$\r\n</select>\r\n@#$LINE1\r\n"
                       "@#$UPDATE@#$\r\n</html>\r\n");
    program_.WriteFile("uk.txt", CrLfLines({"LINE1      Welcome"}));
    program_.WriteFile("nl.txt", CrLfLines({"LINE1      Welkom"}));
    state_.settings.T[kFavoritesField] = favorites_.path();
  }

  // Writes "ins.txt" from `state` the way the settings window saves it.
  void SaveToProgramFolder(ProgramState state) {
    ASSERT_TRUE(SaveSettings(state, program_.path()).ok());
  }

  RunReport Run() { return BuildStartPage(state_, surroundings_); }

  TempFolder program_;
  TempFolder favorites_;
  FakeSurroundings surroundings_;
  ProgramState state_;
};

TEST_F(StartPageTest, WritesThePageFromTemplatesCatalogueAndSettings) {
  favorites_.WriteFile("News/Daily.url", "[InternetShortcut]\r\nURL=https://news.example/\r\n");
  state_.settings.T[kTitleField] = "Home";

  const RunReport report = Run();

  EXPECT_TRUE(report.page_status.ok()) << report.page_status.reason();
  EXPECT_EQ(report.page_path, program_.Path("mijnstart.html"));
  const std::string page = program_.ReadFile("mijnstart.html");
  const std::string expected_head =
      "<html>\r\n<title>\r\nHome\r\n</title>\r\n <tr valign=\"top\"> \r\n";
  EXPECT_EQ(page.substr(0, expected_head.size()), expected_head);
  EXPECT_NE(page.find("\r\nNews\r\n<a name=\"1\"></a></font></b></td>\r\n"), std::string::npos);
  EXPECT_NE(page.find("<a href=\"https://news.example/\">\r\nDaily\r\n"), std::string::npos);
  const std::string expected_tail =
      "<select>\r\n\r\n<option value=\"#1\"><font face=\"Verdana, Arial, Helvetica, "
      "sans-serif\" size=\"2\">News</font></option>\r\n</select>\r\nWelcome\r\n"
      "Updated : 12-05-2026\r\n</html>\r\n";
  ASSERT_GE(page.size(), expected_tail.size());
  EXPECT_EQ(page.substr(page.size() - expected_tail.size()), expected_tail);
  EXPECT_EQ(surroundings_.navigations(), std::vector<std::string>{report.page_path});
}

TEST_F(StartPageTest, FavoritesNamesNeverReadAsPlaceholdersOrColours) {
  favorites_.WriteFile("#FFCC99/@#$TITEL@#$.url", "URL=https://x.example/#FFCC99\r\n");
  state_.settings.T[kTitleField] = "Home";
  state_.settings.Text1[kLinkCellColour] = "#123456";

  Run();

  const std::string page = program_.ReadFile("mijnstart.html");
  EXPECT_NE(page.find("\r\n&#35;FFCC99\r\n"), std::string::npos);
  EXPECT_NE(page.find("\r\n@&#35;$TITEL@&#35;$\r\n"), std::string::npos);
  EXPECT_NE(page.find("https://x.example/&#35;FFCC99"), std::string::npos);
  EXPECT_EQ(page.find("\r\nHome\r\n", page.find("<tr")), std::string::npos);
}

TEST_F(StartPageTest, LeavesOnlyItsOwnFilesInTheProgramFolder) {
  program_.WriteFile("mijnstart.tmp", "left over from an interrupted run @#$STALE\r\n");
  favorites_.WriteFile("News/Daily.url", "URL=https://news.example/\r\n");

  Run();

  EXPECT_EQ(program_.Entries(),
            (std::vector<std::string>{"koptekst.txt", "mijnstart.html", "nl.txt", "option.txt",
                                      "uk.txt", "voettekst.txt"}));
  EXPECT_EQ(program_.ReadFile("mijnstart.html").find("@#$STALE"), std::string::npos);
}

TEST_F(StartPageTest, ReadsTheSettingsFileBackAndUsesItsLanguage) {
  ProgramState saved;
  saved.settings.T[kFavoritesField] = favorites_.path();
  saved.settings.T[kPageFileField] = " start.html";
  saved.settings.T[kKeywordsField] = "cats";
  saved.LanguageCode = 1;
  SaveToProgramFolder(saved);

  Run();

  EXPECT_EQ(state_.LanguageCode, 1);
  EXPECT_EQ(state_.settings.T[kKeywordsField], "CATS");
  EXPECT_EQ(state_.PageFileName, " start.html");
  const std::string page = program_.ReadFile(" start.html");
  EXPECT_NE(page.find("\r\nWelkom\r\nLaatst bijgewerkt : 05-12-2026\r\n"), std::string::npos);
  EXPECT_EQ(program_.ReadFile("ins.txt"), FormatSettings(saved.settings, 1))
      << "a run reads the settings file and never writes it";
}

TEST_F(StartPageTest, PageNameOutsideTheProgramFolderFallsBackToTheDefault) {
  for (const char* name : {"../escape.html", "/tmp/escape.html", "..", "sub/page.html"}) {
    SCOPED_TRACE(name);
    state_.settings.T[kPageFileField] = name;
    const RunReport report = Run();
    EXPECT_EQ(report.page_path, program_.Path("mijnstart.html"));
    EXPECT_TRUE(program_.Exists("mijnstart.html"));
  }
}

TEST_F(StartPageTest, EmptyFavoritesFieldIsFilledFromTheRegistry) {
  favorites_.WriteFile("Sport/Club.url", "URL=https://club.example/\r\n");
  std::string folder = favorites_.path();
  folder.pop_back();  // the lookup adds the separator
  surroundings_.registry().SetText(kShellFoldersKey, kFavoritesValueName, folder);
  state_.settings.T[kFavoritesField] = "";

  Run();

  EXPECT_EQ(state_.settings.T[kFavoritesField], favorites_.path());
  EXPECT_NE(program_.ReadFile("mijnstart.html").find("Club"), std::string::npos);
}

TEST_F(StartPageTest, UnknownFavoritesFolderGivesAPageWithoutCategories) {
  state_.settings.T[kFavoritesField] = "";  // and the registry knows nothing

  const RunReport report = Run();

  EXPECT_EQ(state_.settings.T[kFavoritesField], "");
  EXPECT_TRUE(report.page_status.ok());
  EXPECT_EQ(program_.ReadFile("mijnstart.html").find("<tr"), std::string::npos);
  EXPECT_FALSE(report.problems.empty());
}

TEST_F(StartPageTest, VanishedFavoritesFolderStillGivesAPage) {
  state_.settings.T[kFavoritesField] = favorites_.Path("gone");

  const RunReport report = Run();

  EXPECT_TRUE(program_.Exists("mijnstart.html"));
  EXPECT_EQ(program_.ReadFile("option.txt"), "\r\n");
  ASSERT_FALSE(report.problems.empty());
  EXPECT_NE(report.problems.front().find("gone"), std::string::npos);
}

TEST_F(StartPageTest, MissingTemplatesAndLanguageFilesCountAsEmpty) {
  TempFolder bare;
  FakeSurroundings surroundings(bare.path());
  favorites_.WriteFile("News/Daily.url", "URL=https://news.example/\r\n");

  const RunReport report = BuildStartPage(state_, surroundings);

  EXPECT_TRUE(report.page_status.ok());
  const std::string page = bare.ReadFile("mijnstart.html");
  EXPECT_EQ(page.rfind(" <tr valign=\"top\"> \r\n", 0), 0u) << "no header lines";
  EXPECT_EQ(page.substr(page.size() - 7), "</tr>\r\n");
}

TEST_F(StartPageTest, MissingProgramFolderEndsTheRunWithAReason) {
  FakeSurroundings surroundings(program_.Path("missing") + kPathSeparator);

  const RunReport report = BuildStartPage(state_, surroundings);

  EXPECT_FALSE(report.page_status.ok());
  EXPECT_NE(report.page_status.reason().find(program_.Path("missing")), std::string::npos);
  EXPECT_FALSE(program_.Exists("missing"));
  EXPECT_EQ(surroundings.navigations().size(), 1u);
}

}  // namespace
}  // namespace qv
