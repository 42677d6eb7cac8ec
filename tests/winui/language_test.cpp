// The captions of both windows: the saved language code chooses them when the
// settings window is activated, and the flags switch them without saving.
#include "control/captions.h"
#include "winui/window_text.h"
#include "winui_fixture.h"

namespace qv::winui::testing {
namespace {

class LanguageTest : public WinuiProgramTest {
 protected:
  // The captioned controls (and window titles) that do not show what `set`
  // gives them.
  std::vector<std::string> Mismatches(const CaptionSet& set) {
    std::vector<std::pair<int, const char*>> captions = {{kRefreshId, set.refresh},
                                                         {kImportBookmarksId, set.import_bookmarks},
                                                         {kOpenInBrowserId, set.open_in_browser},
                                                         {kChooseFolderId, set.choose_folder}};
    for (const TextField field : kTextFields) {
      captions.emplace_back(FieldLabelId(field), FieldLabel(set, field));
    }
    for (const Colour colour : kColours) {
      captions.insert(captions.end(), {{SliderLabelId(colour, Channel::kRed), set.red},
                                       {SliderLabelId(colour, Channel::kGreen), set.green},
                                       {SliderLabelId(colour, Channel::kBlue), set.blue},
                                       {DefaultButtonId(colour), set.standard}});
    }
    std::vector<std::string> wrong;
    for (const auto& [id, caption] : captions) {
      if (Text(id) != caption) wrong.push_back(std::to_string(id) + ": " + Text(id));
    }
    if (TextOf(Settings()) != set.settings_title) wrong.push_back("settings window title");
    if (TextOf(Main()) != set.main_title) wrong.push_back("main window title");
    return wrong;
  }
};

TEST_F(LanguageTest, TheSavedCodeChoosesTheCaptionsWhenTheSettingsWindowIsActivated) {
  struct Case {
    const char* language_line;
    const CaptionSet& captions;
    int language_code;
  };
  const Case cases[] = {{" 1", kDutchCaptions, 1}, {" 5", kEnglishCaptions, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language_line);
    WriteSettingsFile(c.language_line);
    StartProgram();
    EXPECT_EQ(GetActiveWindow(), Settings());
    EXPECT_EQ(Mismatches(c.captions), std::vector<std::string>{});
    EXPECT_EQ(program_->controller().state().language_code, c.language_code);
  }
}

TEST_F(LanguageTest, TheFlagsSwitchEveryCaptionAndBothTitlesWithoutSaving) {
  WriteSettingsFile();
  StartProgram();
  const std::string saved = folder_.ReadFile("ins.txt");
  // The window has the size its longest captions need: it does not grow
  // off the screen when they come.
  RECT before;
  GetWindowRect(Settings(), &before);

  Click(kDutchFlagId);
  EXPECT_EQ(Mismatches(kDutchCaptions), std::vector<std::string>{});
  RECT after;
  GetWindowRect(Settings(), &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
  EXPECT_EQ(folder_.ReadFile("ins.txt"), saved);
  EXPECT_EQ(Runs(), 1);

  // The next rebuild saves the new code first, and the page follows it.
  Click(kRefreshId);
  EXPECT_EQ(SettingsLine(18), " 1");
  EXPECT_NE(Page().find("Laatst bijgewerkt : 05-12-2026"), std::string::npos);

  Click(kBritishFlagId);
  EXPECT_EQ(Mismatches(kEnglishCaptions), std::vector<std::string>{});
  EXPECT_EQ(program_->controller().state().language_code, 0);
}

}  // namespace
}  // namespace qv::winui::testing
