// The settings window without a mouse: Tab through every control in reading
// order, Return for what a click does (Refresh in a field), the arrows
// through the title-size buttons. The sliders' keys are with the sliders.
#include "winui_fixture.h"

namespace qv::winui::testing {
namespace {

class KeyboardTest : public WinuiProgramTest {
 protected:
  void SetUp() override { StartProgram(); }
};

TEST_F(KeyboardTest, TabGoesThroughEveryControlInReadingOrder) {
  std::vector<int> expected;
  for (const Colour colour : kColours) {
    expected.insert(expected.end(), {CodeFieldId(colour), DefaultButtonId(colour)});
    for (const Channel channel : kChannels) expected.push_back(SliderId(colour, channel));
  }
  for (const TextField field : kTextFields) {
    expected.push_back(FieldId(field));
    if (field == TextField::kFavoritesFolder) expected.push_back(kChooseFolderId);
  }
  // The title-size buttons are one stop, at the size selected; the arrows
  // move among them.
  expected.push_back(TitleSizeButtonId(4));
  expected.insert(expected.end(), {kRefreshId, kImportBookmarksId, kOpenInBrowserId, kMakerLinkId,
                                   kDutchFlagId, kBritishFlagId});

  SetFocus(Control(expected.front()));
  std::vector<int> order = {GetDlgCtrlID(GetFocus())};
  for (std::size_t i = 1; i <= expected.size(); ++i) {
    Key(VK_TAB);
    order.push_back(GetDlgCtrlID(GetFocus()));
  }
  expected.push_back(expected.front());  // and round again
  EXPECT_EQ(order, expected);
  EXPECT_EQ(Runs(), 1);
}

TEST_F(KeyboardTest, ReturnDoesWhatAClickDoesAndInAFieldRefreshes) {
  for (const int id :
       {FieldId(TextField::kPageTitle), CodeFieldId(Colour::kLinkCell),
        FieldId(TextField::kTitleSize), kRefreshId, DefaultButtonId(Colour::kBackground)}) {
    SCOPED_TRACE(id);
    const int runs_before = Runs();
    Key(VK_RETURN, Control(id));
    EXPECT_EQ(Runs() - runs_before, 1);
  }
  // A code typed and confirmed with Return reaches the page.
  SendMessageW(Control(CodeFieldId(Colour::kLinkCell)), EM_SETSEL, 0, -1);
  Type(CodeFieldId(Colour::kLinkCell), "#123456");
  Key(VK_RETURN, Control(CodeFieldId(Colour::kLinkCell)));
  EXPECT_NE(Page().find("#123456"), std::string::npos);

  // The flags and the maker's link take Return and Space as buttons do.
  Key(VK_RETURN, Control(kDutchFlagId));
  EXPECT_EQ(Text(kRefreshId), "&Verversen");
  Key(VK_SPACE, Control(kBritishFlagId));
  EXPECT_EQ(Text(kRefreshId), "&Refresh");
  Key(VK_RETURN, Control(kMakerLinkId));
  EXPECT_EQ(opened_, std::vector<std::string>{"https://www.qelmora.example/"});
}

// Alt with the marked letter presses Refresh or Open in browser, in either
// language, from a field of the window.
TEST_F(KeyboardTest, AltWithAButtonsLetterPressesIt) {
  const struct {
    int flag;
    wchar_t refresh;
    wchar_t open;
  } languages[] = {{kDutchFlagId, L'v', L'o'}, {kBritishFlagId, L'r', L'o'}};
  HWND field = Control(FieldId(TextField::kPageTitle));
  const LPARAM alt_down = 1 | (1 << 29);
  for (const auto& language : languages) {
    SCOPED_TRACE(language.flag);
    Click(language.flag);
    SetFocus(field);
    const int runs_before = Runs();
    PostMessageW(field, WM_SYSCHAR, language.refresh, alt_down);
    Pump();
    EXPECT_EQ(Runs() - runs_before, 1);
    opened_.clear();
    PostMessageW(field, WM_SYSCHAR, language.open, alt_down);
    Pump();
    EXPECT_EQ(opened_.size(), 1u);
  }
}

TEST_F(KeyboardTest, TheArrowsMoveThroughTheTitleSizesAndSelectThem) {
  SetFocus(Control(TitleSizeButtonId(4)));
  Key(VK_LEFT);
  Key(VK_LEFT);
  EXPECT_EQ(GetFocus(), Control(TitleSizeButtonId(2)));
  EXPECT_EQ(Text(FieldId(TextField::kTitleSize)), "3");
  Key(VK_RIGHT);
  EXPECT_EQ(Text(FieldId(TextField::kTitleSize)), "4");
  EXPECT_EQ(Runs(), 1);
}

}  // namespace
}  // namespace qv::winui::testing
