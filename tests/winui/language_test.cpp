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

// Which codes give which captions is the controller's to say; here the saved
// Dutch code reaches both windows when the settings window is activated.
TEST_F(LanguageTest, TheSavedCodeChoosesTheCaptionsAndTheFlagsSwitchThemWithoutSaving) {
  StartProgram(" 1");
  EXPECT_EQ(GetActiveWindow(), Settings());
  EXPECT_EQ(Mismatches(kDutchCaptions), std::vector<std::string>{});
  const std::string saved = folder_.ReadFile("ins.txt");
  // The window has the size its longest captions need: it does not grow
  // off the screen when others come.
  RECT before;
  GetWindowRect(Settings(), &before);

  Click(kBritishFlagId);
  EXPECT_EQ(Mismatches(kEnglishCaptions), std::vector<std::string>{});
  EXPECT_EQ(folder_.ReadFile("ins.txt"), saved);
  EXPECT_EQ(Runs(), 1);

  // The next rebuild saves the new code first.
  Click(kRefreshId);
  EXPECT_EQ(SettingsLine(18), " 0");

  Click(kDutchFlagId);
  EXPECT_EQ(Mismatches(kDutchCaptions), std::vector<std::string>{});
  EXPECT_EQ(program_->controller().state().language_code, 1);
  RECT after;
  GetWindowRect(Settings(), &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left);
  EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

}  // namespace
}  // namespace qv::winui::testing
