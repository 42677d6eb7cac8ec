// The settings window driven by hand: sliders, default buttons, fields,
// title-size buttons, saving and closing.
#include "generator/windows_api.h"

#include <commctrl.h>

#include <filesystem>

#include "winui_fixture.h"

namespace qv::winui::testing {
namespace {

enum class SliderMove {
  kSetAndLetGo,
  kArrowRight,
  kArrowLeft,
  kArrowUp,
  kHome,
  kPageUp,
  kPageDown,
  kClickInTrack
};

class SettingsWindowTest : public WinuiProgramTest {
 protected:
  void SetUp() override {
    WriteSettingsFile();
    StartProgram();
  }

  void Move(Colour colour, Channel channel, SliderMove move, int position) {
    HWND slider = Control(SliderId(colour, channel));
    switch (move) {
      case SliderMove::kSetAndLetGo:
        return SetSlider(colour, channel, position);
      case SliderMove::kArrowRight:
        return Key(VK_RIGHT, slider);
      case SliderMove::kArrowLeft:
        return Key(VK_LEFT, slider);
      case SliderMove::kArrowUp:
        return Key(VK_UP, slider);
      case SliderMove::kHome:
        return Key(VK_HOME, slider);
      case SliderMove::kPageUp:
        return Key(VK_PRIOR, slider);
      case SliderMove::kPageDown:
        return Key(VK_NEXT, slider);
      case SliderMove::kClickInTrack: {
        // Beside the thumb, which stands near the start of the track.
        RECT track;
        GetClientRect(slider, &track);
        const LPARAM at = MAKELPARAM(track.right * 3 / 4, track.bottom / 2);
        SendMessageW(slider, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(slider, WM_LBUTTONUP, 0, at);
        return Pump();
      }
    }
  }
};

TEST_F(SettingsWindowTest, SliderMovesGiveTheirCodeAndRebuildOncePerCompletedMove) {
  struct Case {
    Colour colour;
    Channel channel;
    SliderMove move;
    int times;
    const char* code;  // the colour's code afterwards
    int runs;          // generation runs the moves start
    int position = 0;  // for kSetAndLetGo
  };
  const Case cases[] = {
      {Colour::kLinkCell, Channel::kRed, SliderMove::kSetAndLetGo, 1, "#FF0000", 1, 255},
      // Let go where it was: no move.
      {Colour::kLinkCell, Channel::kRed, SliderMove::kSetAndLetGo, 1, "#FF0000", 0, 255},
      {Colour::kBackground, Channel::kBlue, SliderMove::kArrowRight, 15, "#00000F", 15},
      {Colour::kBackground, Channel::kBlue, SliderMove::kArrowLeft, 1, "#00000E", 1},
      // Up raises the value, as Right does.
      {Colour::kBackground, Channel::kBlue, SliderMove::kArrowUp, 2, "#000010", 2},
      // Page Up and Page Down move sixteen steps, and stop at the ends.
      {Colour::kBackground, Channel::kBlue, SliderMove::kPageUp, 2, "#000030", 2},
      {Colour::kBackground, Channel::kBlue, SliderMove::kPageDown, 1, "#000020", 1},
      {Colour::kBackground, Channel::kBlue, SliderMove::kPageUp, 16, "#0000FF", 14},
      {Colour::kBackground, Channel::kBlue, SliderMove::kHome, 1, "#000000", 1},
      {Colour::kPage, Channel::kGreen, SliderMove::kClickInTrack, 2, "#000200", 2},
      // Already at 0: the key moves nothing, so nothing is rebuilt.
      {Colour::kHeaderCell, Channel::kRed, SliderMove::kArrowLeft, 1, "#003399", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(SliderId(c.colour, c.channel) * 100 + static_cast<int>(c.move));
    const int runs_before = Runs();
    for (int i = 0; i < c.times; ++i) Move(c.colour, c.channel, c.move, c.position);
    EXPECT_EQ(Text(CodeFieldId(c.colour)), c.code);
    EXPECT_EQ(Runs() - runs_before, c.runs);
    EXPECT_EQ(SettingsLine(static_cast<int>(c.colour)), c.code);
  }
  // The link cells of the page carry the new colour of group 1.
  EXPECT_NE(Page().find("#FF0000"), std::string::npos);
  EXPECT_EQ(Page().find("#FFCC99"), std::string::npos);
}

TEST_F(SettingsWindowTest, DefaultButtonRebuildsWithTheDefaultCodeWhileSlidersStay) {
  SetSlider(Colour::kHeaderCell, Channel::kRed, 1);
  Click(DefaultButtonId(Colour::kHeaderCell));
  EXPECT_EQ(Runs(), 3);
  EXPECT_EQ(Text(CodeFieldId(Colour::kHeaderCell)), "#003399");
  EXPECT_EQ(SettingsLine(static_cast<int>(Colour::kHeaderCell)), "#003399");
  HWND red = Control(SliderId(Colour::kHeaderCell, Channel::kRed));
  EXPECT_EQ(SendMessageW(red, TBM_GETPOS, 0, 0), 1);
  Key(VK_RIGHT, red);
  EXPECT_EQ(Text(CodeFieldId(Colour::kHeaderCell)), "#020000");
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

TEST_F(SettingsWindowTest, TitleSizeReachesThePageOnlyAtTheNextRebuild) {
  const std::string old_size = "<font size=\"\r\n5\r\n\">";
  Click(TitleSizeButtonId(3));
  EXPECT_EQ(Text(FieldId(TextField::kTitleSize)), "4");
  EXPECT_EQ(SendMessageW(Control(TitleSizeButtonId(3)), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(Runs(), 1);
  EXPECT_NE(Page().find(old_size), std::string::npos);

  Click(kRefreshId);
  EXPECT_NE(Page().find("<font size=\"\r\n4\r\n\">"), std::string::npos);
}

TEST_F(SettingsWindowTest, ClosingTheWindowSavesAndEndsTheProgram) {
  SendMessageW(Control(FieldId(TextField::kPageTitle)), EM_SETSEL, 0, -1);
  Type(FieldId(TextField::kPageTitle), "Dogs");
  std::string title_when_ended;
  program_->controller().set_end_program(
      [&] { title_when_ended = SettingsLine(4 + static_cast<int>(TextField::kPageTitle)); });
  SendMessageW(Settings(), WM_CLOSE, 0, 0);
  EXPECT_EQ(title_when_ended, "Dogs");
  EXPECT_EQ(Runs(), 1);
}

TEST_F(SettingsWindowTest, AFailedSaveIsShownAndKeepsTheValuesWithoutRebuilding) {
  // A folder in the place of the settings file cannot be replaced by a file.
  std::filesystem::remove(folder_.Path("ins.txt"));
  folder_.MakeFolder("ins.txt/blocked");
  SendMessageW(Control(FieldId(TextField::kPageTitle)), EM_SETSEL, 0, -1);
  Type(FieldId(TextField::kPageTitle), "Dogs");
  DialogAnswerer answerer;
  Click(kRefreshId);
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_NE(answerer.seen[0].text.find(folder_.Path("ins.txt")), std::string::npos);
  EXPECT_EQ(Runs(), 1);
  EXPECT_EQ(Text(FieldId(TextField::kPageTitle)), "Dogs");

  // Closing still ends the program, once the user has seen why nothing was saved.
  int messages_before_end = -1;
  program_->controller().set_end_program(
      [&] { messages_before_end = static_cast<int>(answerer.seen.size()); });
  SendMessageW(Settings(), WM_CLOSE, 0, 0);
  EXPECT_EQ(messages_before_end, 2);
}

TEST_F(SettingsWindowTest, ARunThatCannotWriteThePageSaysWhyInTheWindowsLanguage) {
  // A folder in the place of the page cannot be replaced by the new page.
  std::filesystem::remove(folder_.Path("mijnstart.html"));
  folder_.MakeFolder("mijnstart.html/blocked");
  for (const auto& [flag, title] : {std::pair{kDutchFlagId, "Pagina niet gemaakt"},
                                    std::pair{kBritishFlagId, "Page not built"}}) {
    Click(flag);
    DialogAnswerer answerer;
    Click(kRefreshId);
    ASSERT_EQ(answerer.seen.size(), 1u) << flag;
    EXPECT_EQ(answerer.seen[0].title, title);
    EXPECT_NE(answerer.seen[0].text.find("cannot replace " + folder_.Path("mijnstart.html")),
              std::string::npos)
        << answerer.seen[0].text;
  }
  EXPECT_TRUE(folder_.Exists("mijnstart.html/blocked"));
}

}  // namespace
}  // namespace qv::winui::testing
