#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::CrLfLines;
using testing::TempFolder;

ProgramState LoadedFrom(const std::string& bytes, ProgramState state = {}) {
  TempFolder folder;
  folder.WriteFile("ins.txt", bytes);
  EXPECT_TRUE(LoadSettings(state, folder.path()));
  return state;
}

// A whole settings file whose line `number` (from 1) holds `text`.
std::string FileWithLine(int number, const std::string& text) {
  std::vector<std::string> lines(kSettingsLineCount, "x");
  lines[17] = "5";
  lines[18] = " 0";
  lines[number - 1] = text;
  return CrLfLines(lines);
}

TEST(PageFileNameFrom, KeepsOnlyPlainNamesThatAreNotTheProgramsOwn) {
  for (std::string name : {"start.html", " start.html ", " ins.txt"}) {
    EXPECT_EQ(PageFileNameFrom(name), name);
  }
  for (std::string name : {"", "   ", "../start.html", "sub/start.html", "a\\b.html", "..",
                           "ins.txt", "INS.TXT", "ins.txt. ", "Koptekst.txt", "mijnstart.tmp",
                           "option.txt", "vorlindo", "Vorlindo-Build.exe"}) {
    EXPECT_EQ(PageFileNameFrom(name), "mijnstart.html") << name;
  }
}

TEST(SaveSettings, RoundTripsThroughTheFile) {
  for (std::int16_t code : {-1, 1, 0, -32768}) {
    TempFolder folder;
    ProgramState saved;
    saved.LanguageCode = code;
    saved.settings.T[kTitleField] = "a\r\nb\rc\nd\n\re";
    saved.settings.T[kPageFileField] = "  ";
    saved.settings.T[kKeywordsField] = "été straße";
    saved.settings.Text1[kLinkCellColour] = "#12AB34";
    ASSERT_TRUE(SaveSettings(saved, folder.path()).ok());
    EXPECT_EQ(saved.PageFileName, "mijnstart.html");
    const std::string line19 = (code < 0 ? "" : " ") + std::to_string(code);
    EXPECT_TRUE(folder.ReadFile("ins.txt").ends_with("\r\n5\r\n" + line19 + "\r\n"));

    ProgramState loaded;
    loaded.LanguageCode = 7;
    ASSERT_TRUE(LoadSettings(loaded, folder.path()));
    Settings expected = saved.settings;
    expected.T[kTitleField] = "a b c d  e";  // each line break one blank
    expected.T[kCreatorDescriptionField].replace(expected.T[6].size() - 2, 2, " ");
    expected.T[kDescriptionField] = "A STARTPAGE ABOUT CATS AND DOGS";
    expected.T[kKeywordsField] = "ÉTÉ STRAßE";
    EXPECT_EQ(loaded.settings, expected);
    EXPECT_EQ(loaded.LanguageCode, code);
    EXPECT_EQ(loaded.selectedTitleSizeOption, 4);
  }
}

TEST(SaveSettings, FailureLeavesFileAndPageNameAlone) {
  TempFolder folder;
  folder.MakeFolder("ins.txt");  // cannot be replaced by a file
  ProgramState state;
  state.PageFileName = "old.html";
  state.settings.T[kPageFileField] = "new.html";
  for (const std::string& app_folder : {folder.path(), folder.Path("missing/")}) {
    const Status status = SaveSettings(state, app_folder);
    EXPECT_FALSE(status.ok());
    EXPECT_NE(status.reason().find(app_folder + "ins.txt"), std::string::npos) << status.reason();
    EXPECT_EQ(state.PageFileName, "old.html");
  }
  EXPECT_EQ(folder.Entries(), std::vector<std::string>{"ins.txt"});
  EXPECT_FALSE(LoadSettings(state, folder.path()));  // a folder is no settings file
  EXPECT_EQ(state.settings.T[kPageFileField], "new.html");
}

TEST(LoadSettings, ShortFileKeepsTheRestLongFileStopsAtNineteen) {
  ProgramState before;
  before.LanguageCode = 1;
  const ProgramState shorter = LoadedFrom(CrLfLines({"#1", "#2", "#3", "#4", "title"}), before);
  Settings expected = Settings::Defaults();
  expected.Text1 = {"#1", "#2", "#3", "#4"};
  expected.T[kTitleField] = "title";
  EXPECT_EQ(shorter.settings, expected);
  EXPECT_EQ(shorter.LanguageCode, 0);
  EXPECT_EQ(shorter.selectedTitleSizeOption, 4);

  const ProgramState longer = LoadedFrom(FileWithLine(19, " 1") + CrLfLines({"x", "-5"}));
  EXPECT_EQ(longer.LanguageCode, 1);
}

TEST(LoadSettings, BinaryContentLoadsAndSavesAsNineteenLines) {
  std::string bytes;
  for (int i = 0; i < 4096; ++i) bytes += static_cast<char>((i * 7919) % 256);
  ProgramState state = LoadedFrom(bytes);
  TempFolder folder;
  ASSERT_TRUE(SaveSettings(state, folder.path()).ok());
  const std::string saved = folder.ReadFile("ins.txt");
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), kSettingsLineCount);
  EXPECT_EQ(std::count(saved.begin(), saved.end(), '\r'), kSettingsLineCount);
}

TEST(LoadSettings, LanguageCodeFromLineNineteen) {
  const std::vector<std::pair<std::string, std::int16_t>> cases = {
      {" 1", 1},      {"-1", -1},         {"1.5", 2},   {"2.5", 2},     {"abc", 0}, {"", 0},
      {"  -3 x", -3}, {"-32768", -32768}, {"40000", 7}, {"32767.5", 7}, {"1e9", 7},
  };
  for (const auto& [line, expected] : cases) {
    ProgramState before;
    before.LanguageCode = 7;
    EXPECT_EQ(LoadedFrom(FileWithLine(19, line), before).LanguageCode, expected) << line;
  }
}

TEST(LoadSettings, RepairsTitleSizeAndSelectsItsButton) {
  struct Case {
    std::string size, settled;
    int option;
  };
  const std::vector<Case> cases = {
      {"0", "3", 2},      {"-2", "3", 2},  {"abc", "3", 2},    {"05", "5", 4},
      {"7", "7", -1},     {"4.5", "5", 4}, {"1.5", "1", 0},    {"2.5", "3", 2},
      {"0.4", "0.4", -1}, {"0.5", "1", 0}, {"1e9", "1e9", -1},
  };
  for (const Case& c : cases) {
    ProgramState before;
    before.selectedTitleSizeOption = 1;
    const ProgramState loaded = LoadedFrom(FileWithLine(18, c.size), before);
    EXPECT_EQ(loaded.settings.T[kTitleSizeField], c.settled) << c.size;
    EXPECT_EQ(loaded.selectedTitleSizeOption, c.option) << c.size;
  }
}

}  // namespace
}  // namespace qv
