// Whole generation runs in a temporary program folder.
#include "run/start_page.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <tuple>

#include "generator/text.h"
#include "settings/settings_file.h"
#include "support/child_process.h"
#include "support/fake_surroundings.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::CrLfLines;
using testing::TempFolder;
constexpr auto npos = std::string::npos;

class StartPageTest : public ::testing::Test {
 protected:
  StartPageTest() {
    // Mixed line ends. Only a footer line that holds the exact marker gives
    // way to the jump list.
    program_.WriteFile("koptekst.txt", "<html> @#$OPTION@#$\r<title>\n@#$TITEL@#$\r\n</title>\r\n");
    program_.WriteFile("voettekst.txt",
                       "<select> @#$OPTION@#$ </select>\r\n@#$OPTION@#$ at start\r\n @#$option@#$\n"
                       "@#$LINE1\r\n@#$UPDATE@#$\r\n</html>");
    program_.WriteFile("uk.txt", "LINE1      Welcome\r\n");
    program_.WriteFile("nl.txt", "LINE1      Welkom\r\n");
    favorites_.WriteFile("(B01)/Daily.url",
                         "[InternetShortcut]\r\nURL=https://n.example/?a=1&b=\"\r\n");
    state_.settings.favorites_folder = favorites_.path();
  }

  RunReport Run() { return BuildStartPage(state_, surroundings_); }
  std::string Page(const char* name = "mijnstart.html") const { return program_.ReadFile(name); }

  TempFolder program_, favorites_;
  testing::FakeSurroundings surroundings_{program_.path()};
  ProgramState state_;
};

TEST_F(StartPageTest, WritesEveryKindOfCellInEveryPageColumn) {
  // Names and addresses from the Favorites folder never read as markup,
  // placeholders or colours.
  favorites_.WriteFile("(A01) R&D [new]/Paper.url", "URL=http://a/\r\n");
  favorites_.WriteFile("(C01) #FFCC99/@#$TITEL@#$.url", "URL=https://x.example/#FFCC99\r\n");
  program_.WriteFile("mijnstart.tmp", "left over from an interrupted run\r\n");
  state_.settings.page_title = "Home";
  state_.settings.link_cell_colour = "#123456";

  const RunReport report = Run();

  EXPECT_TRUE(report.page_status.ok()) << report.page_status.reason();
  EXPECT_EQ(report.page_path, program_.Path("mijnstart.html"));
  const std::string header_a = CrLfLines(
      {R"(<td width="1%" bgcolor="#003399" valign="top">&nbsp;</td>)",
       R"(<td width="31%" bgcolor="#003399"><b><font color="#FFFFFF" face="Verdana, Arial, Helvetica, sans - serif" size="2">)",
       "R&amp;D [new]", R"(<a name="1"></a></font></b></td>)"});
  const std::string link_a = CrLfLines(
      {R"(<td width="1%" bgcolor="#123456" valign="top"><font color="#FFFFFF" size="1">&#149;&nbsp;</font></td>)",
       R"(<td width="31%" bgcolor="#123456"><font face="Verdana, Arial, Helvetica, sans-serif" size="2">)",
       R"(<a href="http://a/">)", "Paper", "</a> </font></td>"});
  const std::string empty_a = CrLfLines({R"(<td width="1%" height="19" valign="top">&nbsp;</td>)",
                                         R"(<td width="31%" height="19"></td>)"});
  const std::string header_b = CrLfLines(
      {R"(<td width="1%" bgcolor="#003399"></td>)",
       R"(<td width="31%" bgcolor="#003399"><b><font color="#FFFFFF" face="Verdana, Arial, Helvetica, sans-serif" size="2">)",
       "", R"(<a name="2"></a></font></b></td>)"});
  const std::string link_b = CrLfLines(
      {R"(<td width="1%" bgcolor="#123456"><font color="#FFFFFF" size="1">&#149;&nbsp;</font></td>)",
       R"(<td width="31%" bgcolor="#123456"><font face="Verdana, Arial, Helvetica, sans-serif" size="2"><a href="https://n.example/?a=1&amp;b=&quot;">)",
       "Daily", "</a></font></td>"});
  const std::string empty_b = CrLfLines({R"(<td width="1%"></td>)", R"(<td width="31%"></td>)"});
  const std::string header_c = CrLfLines(
      {R"(<td width="1%" bgcolor="#003399"></td>)",
       R"(<td width="33%" bgcolor="#003399"><b><font color="#FFFFFF" face="Verdana, Arial, Helvetica, sans-serif" size="2">)",
       "&#35;FFCC99", R"(<a name="3"></a></font></b></td>)"});
  const std::string link_c = CrLfLines(
      {R"(<td width="1%" bgcolor="#123456"><font color="#FFFFFF" size="1">&#149;&nbsp;</font></td>)",
       R"(<td width="33%" bgcolor="#123456"><font face="Verdana, Arial, Helvetica, sans-serif" size="2"><a href="https://x.example/&#35;FFCC99">)",
       "@&#35;$TITEL@&#35;$", "</a></font></td>"});
  const std::string empty_c = CrLfLines({R"(<td width="1%"></td>)", R"(<td width="33%"></td>)"});
  const std::string font = R"("><font face="Verdana, Arial, Helvetica, sans-serif" size="2">)";
  const std::string options =
      CrLfLines({"", R"(<option value="#1)" + font + "R&amp;D [new]</font></option>",
                 R"(<option value="#2)" + font + "</font></option>",
                 R"(<option value="#3)" + font + "&#35;FFCC99</font></option>"});
  const std::string open = " <tr valign=\"top\"> \r\n", close = "</tr>\r\n",
                    b = "<td width=\"1\">&nbsp;</td>\r\n", c = "<td width=\"1%\">&nbsp;</td>\r\n";
  std::string page = "<html> @#$OPTION@#$\r\n<title>\r\nHome\r\n</title>\r\n";
  page += open + header_a + b + header_b + c + header_c + close;
  page += open + link_a + b + link_b + c + link_c + close;
  page += open + empty_a + b + empty_b + c + empty_c + close;
  page += options + "@#$OPTION@#$ at start\r\n @#$option@#$\r\nWelcome\r\n";
  EXPECT_EQ(Page(), page + "Updated : 12-05-2026\r\n</html>\r\n");
  EXPECT_EQ(program_.ReadFile("option.txt"), options);
  EXPECT_EQ(program_.Entries(),
            (std::vector<std::string>{"koptekst.txt", "mijnstart.html", "nl.txt", "option.txt",
                                      "uk.txt", "voettekst.txt"}));
}

TEST_F(StartPageTest, NamesInEveryScriptGiveTheSamePageOnEveryPlatform) {
  // Favorites in Cyrillic, Chinese and emoji, and a program folder whose name
  // lies outside most code pages. Every name reaches its cell as it is, on
  // every platform, and the page is valid UTF-8.
  TempFolder favorites;
  favorites.WriteFile("Новости/Яндекс.url", "URL=https://ya.ru/\r\n");
  favorites.WriteFile(
      "(B01) 新闻/一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二.url",
      "URL=http://news.example/新\r\n");
  favorites.WriteFile("😀 Fun/🎉 Party.url", "[InternetShortcut]\r\nURL=http://party.example/\r\n");
  const std::string folder = program_.Path("Programma €/");
  program_.WriteFile("Programma €/koptekst.txt",
                     "<title>\r\n@#$TITEL@#$\r\n</title>\r\n<meta content=\"@#$KEYWORDS\r\n");
  program_.WriteFile("Programma €/voettekst.txt", "<select>\r\n @#$OPTION@#$\r\n</select>\r\n");
  ProgramState saved;
  saved.settings.favorites_folder = favorites.path();
  saved.settings.page_title = "Стартовая страница";
  saved.settings.search_keywords = "кошки, 猫, ǆ";
  ASSERT_TRUE(SaveSettings(saved, folder).ok());
  testing::FakeSurroundings surroundings(folder);

  const RunReport report = BuildStartPage(state_, surroundings);

  EXPECT_TRUE(report.page_status.ok()) << report.page_status.reason();
  EXPECT_TRUE(report.problems.empty()) << report.problems.front();
  EXPECT_EQ(report.page_path, folder + "mijnstart.html");
  // The cells' markup is the layout above; here the texts in it, in their
  // order: column A, B (pinned), C, row by row, then the jump list.
  const std::string page = program_.ReadFile("Programma €/mijnstart.html");
  const char* const in_order[] = {
      "<title>\r\nСтартовая страница\r\n</title>\r\n<meta content=\"КОШКИ, 猫, Ǆ\">\r\n",
      "\r\nНовости\r\n", "\r\n新闻\r\n", "\r\n😀 Fun\r\n",
      "<a href=\"https://ya.ru/\">\r\nЯндекс\r\n",
      // A caption too long for its column is cut by characters, never inside one.
      "<a "
      "href=\"http://news.example/"
      "新\">\r\n一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一\r\n",
      "<a href=\"http://party.example/\">\r\n🎉 Party\r\n", "size=\"2\">Новости</font>",
      "size=\"2\">新闻</font>", "size=\"2\">😀 Fun</font>"};
  std::size_t at = 0;
  for (const char* text : in_order) {
    at = page.find(text, at);
    ASSERT_NE(at, npos) << text << " in order in\n" << page;
  }
  Utf8Validator validator;
  validator.Add(page);
  EXPECT_TRUE(validator.valid());
}

TEST_F(StartPageTest, ReadsTheSettingsFileBackAndFillsTheFavoritesFolder) {
  ProgramState saved;
  saved.settings.favorites_folder = "";
  saved.settings.page_file_name = " start.html";
  saved.language_code = 1;
  ASSERT_TRUE(SaveSettings(saved, program_.path()).ok());
  std::string folder = favorites_.path();
  folder.pop_back();  // the lookup adds the separator
  surroundings_.favorites().Answer(folder);

  const RunReport report = Run();

  EXPECT_EQ(state_.language_code, 1);
  EXPECT_EQ(state_.settings.favorites_folder, favorites_.path());
  EXPECT_EQ(report.page_path, program_.Path(" start.html"));
  EXPECT_NE(Page(" start.html").find("Daily"), npos);
  EXPECT_EQ(program_.ReadFile("ins.txt"), FormatSettings(saved.settings, 1))
      << "a run reads the settings file and never writes it";
}

TEST_F(StartPageTest, TheUsersFavoritesFolderWinsOverTheRegistry) {
  TempFolder other;
  other.WriteFile("Elsewhere/Link.url", "URL=http://other/\r\n");
  surroundings_.favorites().Answer(other.path());
  for (const std::string& folder : {favorites_.path(), std::string("  ")}) {
    state_.settings.favorites_folder = folder;
    Run();
    EXPECT_EQ(state_.settings.favorites_folder, folder);
    EXPECT_EQ(Page().find("Elsewhere"), npos) << folder;
  }
  EXPECT_NE(Page().find("@#$OPTION@#$ at start"), npos);  // a page all the same
  EXPECT_EQ(surroundings_.favorites().questions(), 0);
}

TEST_F(StartPageTest, EveryLanguageCodeButOneGivesTheEnglishLines) {
  // The update line has English words for 0 only; other codes leave it be.
  const std::tuple<std::string, const char*, const char*> cases[] = {
      {" 1", "Welkom", "Laatst bijgewerkt : 05-12-2026"},
      {" 0", "Welcome", "Updated : 12-05-2026"},
      {" 2", "Welcome", "@#$UPDATE@#$"},
      {"-1", "Welcome", "@#$UPDATE@#$"},
      {" 32767", "Welcome", "@#$UPDATE@#$"}};
  for (const auto& [code, welcome, update] : cases) {
    ProgramState saved;
    saved.settings.favorites_folder = favorites_.path();
    std::string file = FormatSettings(saved.settings, 0);
    file.replace(file.rfind(" 0"), 2, code);
    program_.WriteFile("ins.txt", file);
    Run();
    EXPECT_NE(Page().find("\r\n" + std::string(welcome) + "\r\n" + update + "\r\n"), npos) << code;
  }
}

// The run stops at its first failure, so that is the cause told, and the
// jump list of a page that could not be put in place is not put in place.
TEST_F(StartPageTest, APageThatCannotBePutInPlaceIsTheCauseToldAndReplacesNothing) {
  program_.WriteFile("option.txt", "old jump list");
  program_.MakeFolder("mijnstart.html");
  const RunReport report = Run();
  EXPECT_FALSE(report.page_status.ok());
  EXPECT_NE(report.page_status.reason().find(program_.Path("mijnstart.html")), npos)
      << report.page_status.reason();
  EXPECT_EQ(program_.ReadFile("option.txt"), "old jump list");
}

TEST_F(StartPageTest, UnsafePageNameFallsBackAndAFailingStepIsReported) {
  state_.settings.page_file_name = "../escape.html";
  program_.MakeFolder("option.txt");
  const RunReport report = Run();
  EXPECT_EQ(report.page_path, program_.Path("mijnstart.html"));
  EXPECT_EQ(state_.settings.page_file_name, "mijnstart.html");
  EXPECT_EQ(report.refused_page_file_name, "../escape.html");
  EXPECT_TRUE(report.page_status.ok());
  ASSERT_EQ(report.problems.size(), 2u);
  EXPECT_NE(report.problems[0].find("\"../escape.html\" (it is not the name of a file"), npos);
  EXPECT_NE(report.problems[1].find(program_.Path("option.txt")), npos);
  EXPECT_NE(Page().find("size=\"2\"></font></option>\r\n@#$OPTION@#$ at start"), npos);
}

TEST_F(StartPageTest, UnknownOrVanishedFavoritesFolderStillGivesAPage) {
  // "" with nothing or an empty folder in the registry: no scan at all, not
  // one of the root.
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"", std::nullopt}, {"", ""}, {favorites_.Path("gone"), std::nullopt}};
  for (const auto& [folder, registry] : cases) {
    state_.settings.favorites_folder = folder;
    if (registry) surroundings_.favorites().Answer(*registry);
    const RunReport report = Run();
    EXPECT_TRUE(report.page_status.ok());
    EXPECT_EQ(Page(), CrLfLines({"<html> @#$OPTION@#$", "<title>", "My Startpage", "</title>", "",
                                 "@#$OPTION@#$ at start", " @#$option@#$", "Welcome",
                                 "Updated : 12-05-2026", "</html>"}));
    EXPECT_EQ(program_.ReadFile("option.txt"), "\r\n");
    ASSERT_FALSE(report.problems.empty());
    EXPECT_NE(report.problems.front().find(folder), npos);
  }
}

TEST_F(StartPageTest, BareProgramFolderGivesTheRowsMissingOneEndsTheRun) {
  // Missing templates and language files count as empty.
  TempFolder bare;
  testing::FakeSurroundings in_bare(bare.path()), in_missing(bare.Path("missing/"));
  EXPECT_TRUE(BuildStartPage(state_, in_bare).page_status.ok());
  const std::string page = bare.ReadFile("mijnstart.html");
  EXPECT_TRUE(page.starts_with(" <tr valign=\"top\"> \r\n") && page.ends_with("</tr>\r\n"));

  const RunReport report = BuildStartPage(state_, in_missing);
  EXPECT_FALSE(report.page_status.ok());
  EXPECT_NE(report.page_status.reason().find(bare.Path("missing")), npos);
  EXPECT_FALSE(bare.Exists("missing"));
}

// A side file that is there but does not open or breaks off while read would
// leave the page without its head or end; the run ends and the page stays.
TEST_F(StartPageTest, AFileThatCannotBeReadEndsTheRunAndKeepsTheOldPage) {
  ASSERT_TRUE(Run().page_status.ok());
  const std::string old_page = Page();
  struct Case {
    const char* name;
    bool as_folder;  // else a file that fails while read
  };
  for (const Case& c :
       {Case{"koptekst.txt", true}, Case{"voettekst.txt", true}, Case{"koptekst.txt", false},
        Case{"voettekst.txt", false}, Case{"ins.txt", false}}) {
    SCOPED_TRACE(std::string(c.name) + (c.as_folder ? " as a folder" : " failing while read"));
    const std::string kept = program_.Exists(c.name) ? program_.ReadFile(c.name) : std::string();
    std::filesystem::remove(program_.Path(c.name));
    if (c.as_folder) program_.MakeFolder(c.name);
    // Without such a file here, the folders alone are tried.
    if (c.as_folder || testing::MakeFileThatFailsWhileRead(program_.Path(c.name)).empty()) {
      const RunReport report = Run();
      EXPECT_FALSE(report.page_status.ok());
      EXPECT_NE(report.page_status.reason().find(program_.Path(c.name)), npos)
          << report.page_status.reason();
      EXPECT_EQ(Page(), old_page);
    }
    std::filesystem::remove_all(program_.Path(c.name));
    if (!kept.empty()) program_.WriteFile(c.name, kept);
  }
}

TEST_F(StartPageTest, LinksUnderTheOutputNamesAreReplacedAndTheirTargetsUntouched) {
  namespace fs = std::filesystem;
  TempFolder outside;
  outside.WriteFile("page target", "keep me");
  outside.WriteFile("settings target", "keep me too");
  const std::pair<const char*, std::string> links[] = {
      {"mijnstart.html", outside.Path("page target")},
      {"option.txt", outside.Path("dangling jump list")},
      {"mijnstart.tmp", outside.Path("dangling intermediate")},
      {"ins.txt", outside.Path("settings target")}};
  for (const auto& [name, target] : links) {
    std::error_code error;
    fs::create_symlink(target, program_.Path(name), error);
    if (error) GTEST_SKIP() << "no symbolic links here: " << error.message();
  }

  const RunReport report = Run();
  ASSERT_TRUE(report.page_status.ok()) << report.page_status.reason();
  ASSERT_TRUE(SaveSettings(state_, program_.path()).ok());

  for (const char* name : {"mijnstart.html", "option.txt", "ins.txt"}) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(program_.Path(name)))) << name;
  }
  EXPECT_NE(Page().find("Daily"), npos);
  EXPECT_FALSE(program_.Exists("mijnstart.tmp"));
  EXPECT_EQ(outside.Entries(), (std::vector<std::string>{"page target", "settings target"}));
  EXPECT_EQ(outside.ReadFile("page target"), "keep me");
  EXPECT_EQ(outside.ReadFile("settings target"), "keep me too");
}

TEST_F(StartPageTest, WhatKilledRunsLeftNeverFailsARunAndIsRemoved) {
  // Temporary files of killed runs go; look-alikes and what is no file stay.
  program_.WriteFile("mijnstart.tmp.k3x9q0", "left by a killed run");
  program_.WriteFile("mijnstart.tmp.keep", "not a name a run gives");
  program_.WriteFile("mijnstart.tmp.k3x9", "another name");
  const std::vector<std::string> stays = {
      "koptekst.txt", "mijnstart.html", "mijnstart.tmp", "mijnstart.tmp.k3x9", "mijnstart.tmp.keep",
      "nl.txt",       "option.txt",     "uk.txt",        "voettekst.txt"};
  program_.MakeFolder("mijnstart.tmp/inside");
  const RunReport in_folder = Run();
  EXPECT_TRUE(in_folder.page_status.ok()) << in_folder.page_status.reason();
  EXPECT_EQ(program_.Entries(), stays);
  EXPECT_TRUE(program_.Exists("mijnstart.tmp/inside"));

  std::filesystem::remove_all(program_.Path("mijnstart.tmp"));
  if (!testing::MakeFifo(program_.Path("mijnstart.tmp"))) GTEST_SKIP() << "no fifos here";
  const RunReport with_fifo = Run();
  EXPECT_TRUE(with_fifo.page_status.ok()) << with_fifo.page_status.reason();
  EXPECT_EQ(program_.Entries(), stays);
}

}  // namespace
}  // namespace qv
