// The settings window driven by hand: sliders, default buttons, fields,
// title-size buttons, saving and closing.
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <algorithm>
#include <filesystem>

#include "gui_fixture.h"

namespace qv::testing {
namespace {

enum class SliderMove { kArrowBack, kArrowOn, kTrackOn, kDragToEnd };

// Moves `slider` the way the user does: a click on an arrow or on the track
// beside the thumb (near the start of the track), or a drag of the thumb.
// Each move then has its turn of the event loop, in which its rebuild runs,
// as a user's separate moves do.
void MoveSlider(QScrollBar& slider, SliderMove move) {
  if (move == SliderMove::kDragToEnd) {
    // As under the mouse: the thumb follows while it is held, and is let go at the far end.
    slider.setSliderDown(true);
    for (int step = 1; step <= 4; ++step) slider.setSliderPosition(slider.maximum() * step / 4);
    slider.setSliderDown(false);
  } else {
    const int x = move == SliderMove::kArrowBack ? 1
                  : move == SliderMove::kArrowOn ? slider.width() - 2
                                                 : slider.width() * 3 / 4;
    QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, slider.height() / 2));
  }
  QCoreApplication::sendPostedEvents();
}

class SettingsWindowTest : public GuiProgramTest {
 protected:
  void SetUp() override { StartProgram(); }
};

TEST_F(SettingsWindowTest, SliderMovesGiveTheirCodeAndRebuildOncePerCompletedMove) {
  struct Case {
    Colour colour;
    Channel channel;
    SliderMove move;
    int times;
    const char* code;  // the colour's code afterwards
    int runs;          // generation runs the moves start
  };
  const Case cases[] = {
      {Colour::kLinkCell, Channel::kRed, SliderMove::kDragToEnd, 1, "#FF0000", 1},
      {Colour::kBackground, Channel::kBlue, SliderMove::kArrowOn, 15, "#00000F", 15},
      {Colour::kPage, Channel::kGreen, SliderMove::kTrackOn, 2, "#000200", 2},
      {Colour::kBackground, Channel::kBlue, SliderMove::kArrowBack, 1, "#00000E", 1},
      // Already at 0: no move.
      {Colour::kHeaderCell, Channel::kRed, SliderMove::kArrowBack, 1, "#003399", 0},
  };
  for (const Case& c : cases) {
    const QString slider = SliderObjectName(c.colour, c.channel);
    SCOPED_TRACE(slider.toStdString());
    const int runs_before = Runs();
    for (int i = 0; i < c.times; ++i) {
      MoveSlider(Find<QScrollBar>(slider), c.move);
      AwaitRuns(runs_before + std::min(i + 1, c.runs));
    }
    EXPECT_EQ(Find<QLineEdit>(CodeFieldObjectName(c.colour)).text(), c.code);
    EXPECT_EQ(Runs() - runs_before, c.runs);
    EXPECT_EQ(SettingsLine(static_cast<int>(c.colour)), c.code);
  }
}

// What the buttons do to the values is the program's; the window shows it,
// and leaves the sliders where the user put them.
TEST_F(SettingsWindowTest, DefaultAndTitleSizeButtonsShowTheirValuesWhileSlidersStay) {
  auto& red = Find<QScrollBar>("headerCellColourRedSlider");
  MoveSlider(red, SliderMove::kArrowOn);
  AwaitRuns(2);
  QTest::mouseClick(&Find<QPushButton>("headerCellColourDefaultButton"), Qt::LeftButton);
  EXPECT_EQ(Runs(), 3);
  EXPECT_EQ(Find<QLineEdit>("headerCellColourCodeField").text(), "#003399");
  EXPECT_EQ(red.value(), 1);
  MoveSlider(red, SliderMove::kArrowOn);
  EXPECT_EQ(Find<QLineEdit>("headerCellColourCodeField").text(), "#020000");

  QTest::mouseClick(&Find<QRadioButton>("titleSize4Button"), Qt::LeftButton);
  EXPECT_EQ(Find<QLineEdit>("titleSizeField").text(), "4");
}

TEST_F(SettingsWindowTest, LowerCaseTypedIntoKeywordsBecomesCapitalsWithTheCaretKept) {
  auto& keywords = Find<QLineEdit>("searchKeywordsField");
  keywords.setCursorPosition(7);
  QTest::keyClicks(&keywords, " dogs ");
  QTest::sendKeyEvent(QTest::Click, &keywords, Qt::Key_unknown, "é", Qt::NoModifier);
  EXPECT_EQ(keywords.text(), "ANIMALS DOGS É CATS");
  EXPECT_EQ(keywords.cursorPosition(), 14);
  EXPECT_EQ(Runs(), 1);  // typing neither saves nor rebuilds
}

TEST_F(SettingsWindowTest, FitsBesideTheMainWindowOnALaptopScreenInBothLanguages) {
  // 1366 pixels less the main window's 705 with its frame; at 1280 the main
  // window narrows to make room, down to three quarters of its width.
  QWidget& window = program_->settings_window();
  for (const char* flag : {"dutchFlag", "britishFlag"}) {
    SCOPED_TRACE(flag);
    QTest::mouseClick(&Find<QLabel>(flag), Qt::LeftButton);
    window.layout()->invalidate();
    EXPECT_LE(window.sizeHint().width(), 640);
    EXPECT_LE(window.minimumSizeHint().width(), 1280 - 705 * 3 / 4);
    EXPECT_LE(window.sizeHint().height(), 700);
  }
}

// The program's messages reach the user in message boxes, and closing ends
// the program once it has saved, or said why it could not.
TEST_F(SettingsWindowTest, FailuresAreShownInMessageBoxesAndClosingEndsTheProgram) {
  std::filesystem::remove(folder_.Path("mijnstart.html"));
  folder_.MakeFolder("mijnstart.html/blocked");
  MessageBoxAnswerer answerer;
  QTest::mouseClick(&Find<QPushButton>("refreshButton"), Qt::LeftButton);
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(answerer.seen[0].first, "Page not built");
  EXPECT_TRUE(
      answerer.seen[0].second.contains(QString::fromStdString(folder_.Path("mijnstart.html"))))
      << answerer.seen[0].second.toStdString();

  std::filesystem::remove(folder_.Path("ins.txt"));
  folder_.MakeFolder("ins.txt/blocked");
  Find<QLineEdit>("pageTitleField").selectAll();
  QTest::keyClicks(&Find<QLineEdit>("pageTitleField"), "Dogs");
  int messages_before_end = -1;
  program_->controller().set_end_program([&] { messages_before_end = int(answerer.seen.size()); });
  program_->settings_window().close();
  EXPECT_EQ(messages_before_end, 2);
  EXPECT_TRUE(answerer.seen[1].second.contains(QString::fromStdString(folder_.Path("ins.txt"))));
}

}  // namespace
}  // namespace qv::testing
