#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using namespace std::string_literals;
using testing::CrLfLines;
using testing::TempFolder;

ProgramState LoadedFrom(const std::string& bytes, ProgramState state = {}) {
  TempFolder folder;
  folder.WriteFile("ins.txt", bytes);
  EXPECT_TRUE(LoadSettings(state, folder.path()).ok());
  return state;
}

// A whole settings file whose line `number` (from 1) holds `text`.
std::string FileWithLine(int number, const std::string& text) {
  std::vector<std::string> lines(kSettingsLineCount, "5");
  lines[number - 1] = text;
  return CrLfLines(lines);
}

TEST(PageFileNameFrom, KeepsOnlyPlainNamesThatAreNotTheProgramsOwn) {
  const std::string longest = std::string(250, 'p') + ".html";
  for (const std::string& name : std::vector<std::string>{"start.html", " start.html ", " ins.txt",
                                                          "...", "mijnstart.tmp.html", longest}) {
    EXPECT_EQ(PageFileNameFrom(name), name);
  }
  // Too long for the file system: 300 characters, or one byte past the most.
  for (const std::string& name : std::vector<std::string>{"",
                                                          "   ",
                                                          ".",
                                                          "..",
                                                          "../start.html",
                                                          "sub/start.html",
                                                          "a\\b.html",
                                                          "ins.txt",
                                                          "INS.TXT",
                                                          "ins.txt. ",
                                                          "Koptekst.txt",
                                                          "mijnstart.tmp",
                                                          "Mijnstart.tmp.k3x9q0",
                                                          "option.txt",
                                                          "vorlindo",
                                                          "Vorlindo-Build.exe",
                                                          "vorlindo-import",
                                                          "VORLINDO-IMPORT.EXE",
                                                          std::string(300, 'p'),
                                                          "p" + longest}) {
    EXPECT_EQ(PageFileNameFrom(name), "mijnstart.html") << name;
  }
  EXPECT_EQ(PageFileNameFrom("a\0b"s), "mijnstart.html");
}

TEST(SaveSettings, LeavesAFileThatCannotBeReadAsItWas) {
  TempFolder folder;
  const std::string why = testing::MakeFileThatFailsWhileRead(folder.Path("ins.txt"));
  if (!why.empty()) GTEST_SKIP() << why;
  const Status saved = SaveSettings(ProgramState(), folder.path());
  EXPECT_FALSE(saved.ok());
  EXPECT_NE(saved.reason().find("cannot read " + folder.Path("ins.txt")), std::string::npos)
      << saved.reason();
  EXPECT_TRUE(std::filesystem::is_symlink(folder.Path("ins.txt")));
}

TEST(SaveSettings, RoundTripsThroughTheFile) {
  for (std::int16_t code : {-1, 1, 0, -32768}) {
    TempFolder folder;
    ProgramState saved;
    saved.language_code = code;
    saved.settings.page_title = "a\r\nb\rc\nd\n\re";
    saved.settings.page_file_name = "  ";
    saved.settings.search_keywords = "été straße";
    saved.settings.link_cell_colour = "#12\nAB34";
    ASSERT_TRUE(SaveSettings(saved, folder.path()).ok());
    const std::string line19 = (code < 0 ? "" : " ") + std::to_string(code);
    EXPECT_TRUE(folder.ReadFile("ins.txt").ends_with("\r\n5\r\n" + line19 + "\r\n"));

    ProgramState loaded;
    loaded.language_code = 7;
    ASSERT_TRUE(LoadSettings(loaded, folder.path()).ok());
    Settings expected = saved.settings;  // each line break becomes one blank
    expected.link_cell_colour = "#12 AB34";
    expected.page_title = "a b c d  e";
    std::string& description = expected.maker_description;
    description.replace(description.size() - 2, 2, " ");
    expected.search_description = "A STARTPAGE ABOUT CATS AND DOGS";
    expected.search_keywords = "ÉTÉ STRAßE";
    EXPECT_EQ(loaded.settings, expected);
    EXPECT_EQ(loaded.language_code, code);
    EXPECT_EQ(loaded.selected_title_size, 4);
  }
}

TEST(SaveSettings, FailureLeavesTheFileAlone) {
  TempFolder folder;
  folder.MakeFolder("ins.txt");  // cannot be replaced by a file
  ProgramState state;
  state.settings.page_file_name = "new.html";
  for (const std::string& app_folder : {folder.path(), folder.Path("missing/")}) {
    const Status status = SaveSettings(state, app_folder);
    EXPECT_NE(status.reason().find(app_folder + "ins.txt"), std::string::npos) << status.reason();
  }
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"ins.txt"});
  EXPECT_FALSE(LoadSettings(state, folder.path()).ok());  // a folder is no settings file
  EXPECT_EQ(state.settings.page_file_name, "new.html");
}

TEST(LoadSettings, ShortFileKeepsTheRestOfTheFields) {
  ProgramState before;
  before.language_code = 1;
  const ProgramState loaded = LoadedFrom(CrLfLines({"#1", "#2", "#3", "#4", "title"}), before);
  Settings expected = DefaultSettings();
  static_cast<PageColours&>(expected) = {"#1", "#2", "#3", "#4"};
  expected.page_title = "title";
  EXPECT_EQ(loaded.settings, expected);
  EXPECT_EQ(loaded.language_code, 0);
  EXPECT_EQ(loaded.selected_title_size, 4);
}

TEST(LoadSettings, LanguageCodeFromLineNineteen) {
  // Halves round to even (as RoundToInt16 rounds); a number out of range
  // keeps the code as it was; lines past 19 are not read.
  const std::pair<std::string, std::int16_t> cases[] = {
      {" 1", 1},  {"-1", -1},   {"abc", 0},     {"", 0},      {"  -3 x", -3},
      {"2.5", 2}, {"-3.5", -4}, {"32767.5", 7}, {"1e400", 7}, {" 1\r\n-5", 1}};
  for (const auto& [line, code] : cases) {
    ProgramState before;
    before.language_code = 7;
    EXPECT_EQ(LoadedFrom(FileWithLine(19, line), before).language_code, code) << line;
  }
}

TEST(LoadSettings, AFileInTheAnsiCodePageOfAnOlderVersionStillReads) {
  const unsigned code_page = testing::AnsiCodePage();
  if (code_page != 0 && code_page != 1252) GTEST_SKIP() << "expects code page 1252";
  std::vector<std::string> lines(kSettingsLineCount, "5");
  lines[4] = "Caf\xE9 \x80";  // the page title
  lines[16] = "caf\xE9";      // the keywords, upper-cased when read
  const ProgramState loaded = LoadedFrom(CrLfLines(lines));
  const bool ansi = code_page == 1252;  // elsewhere the bytes stay
  EXPECT_EQ(loaded.settings.page_title, ansi ? "Café €" : "Caf\xE9 \x80");
  EXPECT_EQ(loaded.settings.search_keywords, ansi ? "CAFÉ" : "CAF\xE9");
}

TEST(LoadSettings, RepairsTitleSizeAndSelectsItsButton) {
  const std::tuple<std::string, std::string, int> cases[] = {
      {"0", "3", 2},      {"-2", "3", 2},  {"abc", "3", 2},   {"05", "5", 4},
      {"7", "7", -1},     {"4.5", "5", 4}, {"1.5", "1", 0},   {"2.5", "3", 2},
      {"0.4", "0.4", -1}, {"0.5", "1", 0}, {"1e9", "1e9", -1}};
  for (const auto& [size, settled, option] : cases) {
    ProgramState before;
    before.selected_title_size = 1;
    const ProgramState loaded = LoadedFrom(FileWithLine(18, size), before);
    EXPECT_EQ(loaded.settings.title_size, settled) << size;
    EXPECT_EQ(loaded.selected_title_size, option) << size;
  }
}

}  // namespace
}  // namespace qv
