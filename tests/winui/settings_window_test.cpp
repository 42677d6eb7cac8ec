// The settings window driven by hand: sliders, default buttons, fields,
// title-size buttons, saving and closing.
#include "generator/windows_api.h"

#include <commctrl.h>

#include <filesystem>

#include "winui_fixture.h"

namespace qv::winui::testing {
namespace {

// A slider move: a key pressed on the slider, or one of these.
constexpr UINT kSetAndLetGo = 0, kClickInTrack = 1;

class SettingsWindowTest : public WinuiProgramTest {
 protected:
  void SetUp() override { StartProgram(); }

  void Move(Colour colour, Channel channel, UINT move, int position) {
    if (move == kSetAndLetGo) return SetSlider(colour, channel, position);
    HWND slider = Control(SliderId(colour, channel));
    if (move != kClickInTrack) return Key(move, slider);
    // Beside the thumb, which stands near the start of the track.
    RECT track;
    GetClientRect(slider, &track);
    const LPARAM at = MAKELPARAM(track.right * 3 / 4, track.bottom / 2);
    SendMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(slider, WM_LBUTTONUP, 0, at);
    Pump();
  }
};

TEST_F(SettingsWindowTest, SliderMovesGiveTheirCodeAndRebuildOncePerCompletedMove) {
  struct Case {
    Colour colour;
    Channel channel;
    UINT move;
    int times;
    const char* code;  // the colour's code afterwards
    int runs;          // generation runs the moves start
    int position = 0;  // for kSetAndLetGo
  };
  const Case cases[] = {
      {Colour::kLinkCell, Channel::kRed, kSetAndLetGo, 1, "#FF0000", 1, 255},
      // Let go where it was: no move.
      {Colour::kLinkCell, Channel::kRed, kSetAndLetGo, 1, "#FF0000", 0, 255},
      {Colour::kBackground, Channel::kBlue, VK_RIGHT, 15, "#00000F", 15},
      {Colour::kBackground, Channel::kBlue, VK_LEFT, 1, "#00000E", 1},
      // Up raises the value, as Right does.
      {Colour::kBackground, Channel::kBlue, VK_UP, 2, "#000010", 2},
      // Page Up and Page Down move sixteen steps, and stop at the ends.
      {Colour::kBackground, Channel::kBlue, VK_PRIOR, 2, "#000030", 2},
      {Colour::kBackground, Channel::kBlue, VK_NEXT, 1, "#000020", 1},
      {Colour::kBackground, Channel::kBlue, VK_PRIOR, 16, "#0000FF", 14},
      {Colour::kBackground, Channel::kBlue, VK_HOME, 1, "#000000", 1},
      {Colour::kPage, Channel::kGreen, kClickInTrack, 2, "#000200", 2},
      // Already at 0: the key moves nothing, so nothing is rebuilt.
      {Colour::kHeaderCell, Channel::kRed, VK_LEFT, 1, "#003399", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(SliderId(c.colour, c.channel) * 1000 + static_cast<int>(c.move));
    const int runs_before = Runs();
    for (int i = 0; i < c.times; ++i) Move(c.colour, c.channel, c.move, c.position);
    EXPECT_EQ(Text(CodeFieldId(c.colour)), c.code);
    EXPECT_EQ(Runs() - runs_before, c.runs);
    EXPECT_EQ(SettingsLine(static_cast<int>(c.colour)), c.code);
  }
}

// What the buttons do to the values is the program's; the window shows it,
// and leaves the sliders where the user put them.
TEST_F(SettingsWindowTest, DefaultAndTitleSizeButtonsShowTheirValuesWhileSlidersStay) {
  SetSlider(Colour::kHeaderCell, Channel::kRed, 1);
  Click(DefaultButtonId(Colour::kHeaderCell));
  EXPECT_EQ(Runs(), 3);
  EXPECT_EQ(Text(CodeFieldId(Colour::kHeaderCell)), "#003399");
  HWND red = Control(SliderId(Colour::kHeaderCell, Channel::kRed));
  EXPECT_EQ(SendMessageW(red, TBM_GETPOS, 0, 0), 1);
  Key(VK_RIGHT, red);
  EXPECT_EQ(Text(CodeFieldId(Colour::kHeaderCell)), "#020000");

  Click(TitleSizeButtonId(3));
  EXPECT_EQ(Text(FieldId(TextField::kTitleSize)), "4");
  EXPECT_EQ(SendMessageW(Control(TitleSizeButtonId(3)), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(SettingsWindowTest, LowerCaseTypedIntoKeywordsBecomesCapitalsWithTheCaretKept) {
  HWND keywords = Control(FieldId(TextField::kSearchKeywords));
  SendMessageW(keywords, EM_SETSEL, 7, 7);
  Type(FieldId(TextField::kSearchKeywords), " dogs é");
  EXPECT_EQ(Text(FieldId(TextField::kSearchKeywords)), "ANIMALS DOGS É CATS");
  DWORD caret = 0;
  SendMessageW(keywords, EM_GETSEL, reinterpret_cast<WPARAM>(&caret), 0);
  EXPECT_EQ(caret, 14u);
  EXPECT_EQ(Runs(), 1);  // typing neither saves nor rebuilds
}

// The program's messages reach the user in message boxes, and closing ends
// the program once it has saved, or said why it could not.
TEST_F(SettingsWindowTest, FailuresAreShownInMessageBoxesAndClosingEndsTheProgram) {
  std::filesystem::remove(folder_.Path("mijnstart.html"));
  folder_.MakeFolder("mijnstart.html/blocked");
  DialogAnswerer answerer;
  Click(kRefreshId);
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(answerer.seen[0].title, "Page not built");
  EXPECT_NE(answerer.seen[0].text.find(folder_.Path("mijnstart.html")), std::string::npos)
      << answerer.seen[0].text;

  std::filesystem::remove(folder_.Path("ins.txt"));
  folder_.MakeFolder("ins.txt/blocked");
  SendMessageW(Control(FieldId(TextField::kPageTitle)), EM_SETSEL, 0, -1);
  Type(FieldId(TextField::kPageTitle), "Dogs");
  int messages_before_end = -1;
  program_->controller().set_end_program(
      [&] { messages_before_end = static_cast<int>(answerer.seen.size()); });
  SendMessageW(Settings(), WM_CLOSE, 0, 0);
  EXPECT_EQ(messages_before_end, 2);
  EXPECT_NE(answerer.seen[1].text.find(folder_.Path("ins.txt")), std::string::npos);
}

}  // namespace
}  // namespace qv::winui::testing
