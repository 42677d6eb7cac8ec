// The settings window without a mouse: arrow and page keys on the sliders,
// Return for Refresh, Alt with a letter for the buttons, and Tab through
// every control in reading order.
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "gui_fixture.h"

namespace qv::testing {
namespace {

class KeyboardTest : public GuiProgramTest {
 protected:
  void SetUp() override { StartProgram(); }
};

// An arrow key moves one step, Page Up and Page Down sixteen.
TEST_F(KeyboardTest, EachArrowOrPageKeyOnASliderIsOneMoveAndOneRebuild) {
  auto& slider = Find<QScrollBar>("pageColourRedSlider");
  const struct {
    Qt::Key key;
    int times;
    const char* code;
  } steps[] = {{Qt::Key_Right, 3, "#030000"},    {Qt::Key_Left, 1, "#020000"},
               {Qt::Key_Up, 2, "#040000"},       {Qt::Key_PageUp, 2, "#240000"},
               {Qt::Key_PageDown, 1, "#140000"}, {Qt::Key_Home, 1, "#000000"}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.code);
    const int runs_before = Runs();
    for (int i = 0; i < step.times; ++i) {
      QTest::keyClick(&slider, step.key);
      AwaitRuns(runs_before + i + 1);
    }
    EXPECT_EQ(Runs() - runs_before, step.times);
    EXPECT_EQ(Find<QLineEdit>("pageColourCodeField").text(), step.code);
    EXPECT_EQ(SettingsLine(0), step.code);
  }
  // At the start of the track the key moves nothing, so nothing is rebuilt.
  const int runs_before = Runs();
  QTest::keyClick(&slider, Qt::Key_Left);
  EXPECT_EQ(Runs(), runs_before);
}

// Alt with the marked letter presses Refresh or Open in browser, in either
// language, wherever the focus is in the window.
TEST_F(KeyboardTest, AltWithAButtonsLetterPressesIt) {
  auto& window = program_->settings_window();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  const struct {
    const char* flag;
    Qt::Key refresh;
    Qt::Key open;
  } languages[] = {{"dutchFlag", Qt::Key_V, Qt::Key_O}, {"britishFlag", Qt::Key_R, Qt::Key_O}};
  for (const auto& language : languages) {
    SCOPED_TRACE(language.flag);
    QTest::mouseClick(&Find(language.flag), Qt::LeftButton);
    Find("pageTitleField").setFocus();
    const int runs_before = Runs();
    // The button shows itself pressed for a moment before it acts.
    QTest::keyClick(&Find("pageTitleField"), language.refresh, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return Runs() == runs_before + 1; }));
    opened_.clear();
    QTest::keyClick(&Find("pageTitleField"), language.open, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return opened_.size() == 1u; }));
  }
}

TEST_F(KeyboardTest, ReturnInAFieldOrOnABrowserButtonDoesWhatItsClickDoes) {
  const char* const controls[] = {"pageTitleField", "linkCellColourCodeField", "titleSizeField",
                                  "refreshButton", "backgroundColourDefaultButton"};
  for (const char* name : controls) {
    SCOPED_TRACE(name);
    const int runs_before = Runs();
    QTest::keyClick(&Find(name), Qt::Key_Return);
    EXPECT_EQ(Runs() - runs_before, 1);
  }
  // A code typed and confirmed with Return reaches the page.
  auto& code = Find<QLineEdit>("linkCellColourCodeField");
  code.selectAll();
  QTest::keyClicks(&code, "#123456");
  QTest::keyClick(&code, Qt::Key_Enter);
  EXPECT_NE(Page().find("#123456"), std::string::npos);
}

TEST_F(KeyboardTest, TheFlagsAndTheMakersLinkActOnReturnOrSpace) {
  QTest::keyClick(&Find("dutchFlag"), Qt::Key_Space);
  EXPECT_EQ(program_->settings_window().windowTitle(), "Instellingen");
  QTest::keyClick(&Find("britishFlag"), Qt::Key_Return);
  EXPECT_EQ(program_->settings_window().windowTitle(), "Setup");
  QTest::keyClick(&Find("makerLink"), Qt::Key_Return);
  EXPECT_EQ(opened_, std::vector<QString>{"https://www.qelmora.example/"});
}

TEST_F(KeyboardTest, TabGoesThroughEveryControlInReadingOrder) {
  std::vector<QString> expected;
  for (const char* colour :
       {"pageColour", "linkCellColour", "headerCellColour", "backgroundColour"}) {
    for (const char* part :
         {"CodeField", "DefaultButton", "RedSlider", "GreenSlider", "BlueSlider"}) {
      expected.push_back(QString(colour) + part);
    }
  }
  for (const TextField field : kTextFields) {
    expected.push_back(FieldObjectName(field));
    if (field == TextField::kFavoritesFolder) expected.push_back("chooseFavoritesFolderButton");
  }
  // Of the title-size buttons, the chosen one ("5").
  expected.push_back(TitleSizeButtonObjectName(4));
  for (const char* name : {"refreshButton", "importBookmarksButton", "openInBrowserButton",
                           "makerLink", "dutchFlag", "britishFlag"}) {
    expected.push_back(name);
  }

  std::vector<QString> order;
  QWidget* first = &Find("pageColourCodeField");
  QWidget* widget = first;
  do {
    if ((widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(widget->window())) {
      order.push_back(widget->objectName());
    }
    widget = widget->nextInFocusChain();
  } while (widget != first && order.size() < 2 * expected.size());
  EXPECT_EQ(order, expected);
}

}  // namespace
}  // namespace qv::testing
