// The settings window driven by hand: sliders, default buttons, fields,
// title-size buttons, saving and closing.
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <filesystem>

#include "gui_fixture.h"

namespace qv::testing {
namespace {

enum class SliderMove { kArrowBack, kArrowOn, kTrackOn, kDragToEnd };

// Moves `slider` the way the user does: a click on an arrow or on the track
// beside the thumb (near the start of the track), or a drag of the thumb.
void MoveSlider(QScrollBar& slider, SliderMove move) {
  if (move == SliderMove::kDragToEnd) {
    // As under the mouse: the thumb follows while it is held, and is let go at the far end.
    slider.setSliderDown(true);
    for (int step = 1; step <= 4; ++step) slider.setSliderPosition(slider.maximum() * step / 4);
    slider.setSliderDown(false);
    return;
  }
  const int x = move == SliderMove::kArrowBack ? 1
                : move == SliderMove::kArrowOn ? slider.width() - 2
                                               : slider.width() * 3 / 4;
  QTest::mouseClick(&slider, Qt::LeftButton, Qt::NoModifier, QPoint(x, slider.height() / 2));
}

class SettingsWindowTest : public GuiProgramTest {
 protected:
  void SetUp() override {
    WriteSettingsFile();
    StartProgram();
  }
};

TEST_F(SettingsWindowTest, SliderMovesGiveTheirCodeAndRebuildOncePerCompletedMove) {
  struct Case {
    std::string slider;
    SliderMove move;
    int times;
    const char* code;  // Text1 of the slider's group afterwards
    int runs;          // generation runs the moves start
  };
  const Case cases[] = {
      {"HScroll1_1", SliderMove::kDragToEnd, 1, "#FF0000", 1},
      {"HScroll3_3", SliderMove::kArrowOn, 15, "#00000F", 15},
      {"HScroll2_0", SliderMove::kTrackOn, 2, "#000200", 2},
      {"HScroll3_3", SliderMove::kArrowBack, 1, "#00000E", 1},
      {"HScroll1_2", SliderMove::kArrowBack, 1, "#003399", 0},  // already at 0: no move
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slider);
    const std::string group = c.slider.substr(c.slider.size() - 1);
    const int runs_before = Runs();
    for (int i = 0; i < c.times; ++i) MoveSlider(Find<QScrollBar>(c.slider), c.move);
    EXPECT_EQ(Find<QLineEdit>("Text1_" + group).text(), c.code);
    EXPECT_EQ(Runs() - runs_before, c.runs);
    EXPECT_EQ(SettingsLine(std::stoi(group)), c.code);
  }
  // The link cells of the page carry the new colour of group 1.
  EXPECT_NE(Page().find("#FF0000"), std::string::npos);
  EXPECT_EQ(Page().find("#FFCC99"), std::string::npos);
}

TEST_F(SettingsWindowTest, DefaultButtonRebuildsWithTheDefaultCodeWhileSlidersStay) {
  auto& red = Find<QScrollBar>("HScroll1_2");
  MoveSlider(red, SliderMove::kArrowOn);

  QTest::mouseClick(&Find<QPushButton>("Command2_2"), Qt::LeftButton);
  EXPECT_EQ(Runs(), 3);
  EXPECT_EQ(Find<QLineEdit>("Text1_2").text(), "#003399");
  EXPECT_EQ(SettingsLine(kHeaderCellColour), "#003399");
  EXPECT_EQ(red.value(), 1);
  MoveSlider(red, SliderMove::kArrowOn);
  EXPECT_EQ(Find<QLineEdit>("Text1_2").text(), "#020000");
}

TEST_F(SettingsWindowTest, LowerCaseTypedIntoKeywordsBecomesCapitalsWithTheCaretKept) {
  auto& keywords = Find<QLineEdit>("T12");
  keywords.setCursorPosition(7);
  QTest::keyClicks(&keywords, " dogs ");
  QTest::sendKeyEvent(QTest::Click, &keywords, Qt::Key_unknown, "é", Qt::NoModifier);
  EXPECT_EQ(keywords.text(), "ANIMALS DOGS É CATS");
  EXPECT_EQ(keywords.cursorPosition(), 14);
  EXPECT_EQ(Runs(), 1);  // typing neither saves nor rebuilds
}

TEST_F(SettingsWindowTest, TitleSizeReachesThePageOnlyAtTheNextRebuild) {
  const std::string old_size = "<font size=\"\r\n5\r\n\">";
  QTest::mouseClick(&Find<QRadioButton>("Option1_3"), Qt::LeftButton);
  EXPECT_EQ(Find<QLineEdit>("T13").text(), "4");
  EXPECT_EQ(Runs(), 1);
  EXPECT_NE(Page().find(old_size), std::string::npos);

  QTest::mouseClick(&Find<QPushButton>("Command1"), Qt::LeftButton);
  EXPECT_NE(Page().find("<font size=\"\r\n4\r\n\">"), std::string::npos);
}

TEST_F(SettingsWindowTest, ClosingTheWindowSavesAndEndsTheProgram) {
  Find<QLineEdit>("T0").selectAll();
  QTest::keyClicks(&Find<QLineEdit>("T0"), "Dogs");
  std::string title_when_ended;
  program_->set_end_program([&] { title_when_ended = SettingsLine(4 + kTitleField); });
  program_->Form2Instance().close();
  EXPECT_EQ(title_when_ended, "Dogs");
  EXPECT_EQ(Runs(), 1);
}

TEST_F(SettingsWindowTest, AFailedSaveIsShownAndKeepsTheValuesWithoutRebuilding) {
  // A folder in the place of the settings file cannot be replaced by a file.
  std::filesystem::remove(folder_.Path("ins.txt"));
  folder_.MakeFolder("ins.txt/blocked");
  Find<QLineEdit>("T0").selectAll();
  QTest::keyClicks(&Find<QLineEdit>("T0"), "Dogs");
  MessageBoxAnswerer answerer;
  QTest::mouseClick(&Find<QPushButton>("Command1"), Qt::LeftButton);
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_TRUE(answerer.seen[0].second.contains(QString::fromStdString(folder_.Path("ins.txt"))));
  EXPECT_EQ(Runs(), 1);
  EXPECT_EQ(Find<QLineEdit>("T0").text(), "Dogs");

  // Closing still ends the program, once the user has seen why nothing was saved.
  int messages_before_end = -1;
  program_->set_end_program([&] { messages_before_end = int(answerer.seen.size()); });
  program_->Form2Instance().close();
  EXPECT_EQ(messages_before_end, 2);
}

}  // namespace
}  // namespace qv::testing
