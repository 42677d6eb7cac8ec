// What a screen reader is told of the settings window: every control that
// takes focus has a name of its own in the window's language, the sliders
// tell the code their next move replaces, and the Favorites field the
// warning of its mark.
#include <map>
#include <regex>
#include <set>

#include "winui/window_text.h"
#include "winui_fixture.h"

namespace qv::winui::testing {
namespace {

class AccessibilityTest : public WinuiProgramTest {
 protected:
  void SetUp() override { StartProgram(); }

  // The faults in the names of the window's controls that take focus;
  // fills `names` with the names, by control.
  std::vector<std::string> NameFaults(std::map<int, std::string>& names) {
    static const std::regex bare("[^A-Za-z]*|Red|Green|Blue|Rood|Groen|Blauw|Standa(ar)?rd");
    std::vector<std::string> faults;
    std::map<std::string, int> holder_of;
    for (HWND control = GetWindow(Settings(), GW_CHILD); control != nullptr;
         control = GetWindow(control, GW_HWNDNEXT)) {
      const int id = GetDlgCtrlID(control);
      // Of the title-size buttons, only the chosen one is a tab stop; the
      // arrows reach the others.
      const bool title_size =
          id >= TitleSizeButtonId(0) && id < TitleSizeButtonId(kTitleSizeOptionCount);
      if ((GetWindowLongW(control, GWL_STYLE) & WS_TABSTOP) == 0 && !title_size) continue;
      const std::string name = program_->settings_window().AccessibleNameOf(id);
      names[id] = name;
      if (std::regex_match(name, bare)) faults.push_back(std::to_string(id) + ": " + name);
      const auto [held, fresh] = holder_of.emplace(name, id);
      if (!fresh) faults.push_back(std::to_string(id) + " as " + std::to_string(held->second));
    }
    return faults;
  }
};

TEST_F(AccessibilityTest, EveryControlHasANameOfItsOwnInTheWindowsLanguage) {
  std::map<int, std::string> english;
  std::map<int, std::string> dutch;
  EXPECT_EQ(NameFaults(english), std::vector<std::string>{});
  ASSERT_GE(english.size(), 46u);
  Click(kDutchFlagId);
  EXPECT_EQ(NameFaults(dutch), std::vector<std::string>{});
  std::set<std::string> same;
  for (const auto& [id, name] : english) {
    if (dutch[id] == name) same.insert(name);
  }
  EXPECT_EQ(same, (std::set<std::string>{"English", "Nederlands", "www.qelmora.example"}));
}

TEST_F(AccessibilityTest, TheSlidersAndTheFavoritesFieldDescribeWhatTheyDoNotShow) {
  SettingsWindow& window = program_->settings_window();
  const int slider = SliderId(Colour::kLinkCell, Channel::kBlue);
  EXPECT_EQ(window.AccessibleDescriptionOf(slider).rfind("The code is now #FFCC99;", 0), 0u);
  SetText(Control(CodeFieldId(Colour::kLinkCell)), "#123456");
  EXPECT_EQ(window.AccessibleDescriptionOf(slider).rfind("The code is now #123456;", 0), 0u);

  const int folder = FieldId(TextField::kFavoritesFolder);
  EXPECT_EQ(window.AccessibleDescriptionOf(folder), "");
  window.ShowFavoritesFolderMissing(true);
  EXPECT_EQ(window.AccessibleDescriptionOf(folder), kEnglishCaptions.favorites_missing);
  window.ShowFavoritesFolderMissing(false);
  EXPECT_EQ(window.AccessibleDescriptionOf(folder), "");
}

}  // namespace
}  // namespace qv::winui::testing
