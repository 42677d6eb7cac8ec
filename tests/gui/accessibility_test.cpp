// What a screen reader is told of the windows: every control that takes focus
// or acts has a name of its own in the window's language, and the controls
// that are not what they look like to Qt say what they are.
#include <QAccessible>
#include <QAction>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <set>

#include "gui_fixture.h"

namespace qv::testing {
namespace {

class AccessibilityTest : public GuiProgramTest {
 protected:
  void SetUp() override { StartProgram(); }

  static QAccessibleInterface& Accessible(QObject& object) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&object);
    if (accessible == nullptr) throw std::runtime_error("no accessible interface");
    return *accessible;
  }

  // The faults in the names of `window`'s controls that take focus; fills
  // `names` with the names, by object name.
  static std::vector<QString> NameFaults(QWidget& window, std::map<QString, QString>& names) {
    static const QRegularExpression bare(
        QStringLiteral("^([^\\p{L}]*|Red|Green|Blue|Rood|Groen|Blauw|Standa(ar)?rd)$"));
    std::vector<QString> faults;
    std::map<QString, QString> holder_of;  // the control holding each name
    for (QWidget* control : window.findChildren<QWidget*>()) {
      if (control->focusPolicy() == Qt::NoFocus || !control->isVisibleTo(&window)) continue;
      const QString name = Accessible(*control).text(QAccessible::Name).trimmed();
      const QString id = control->objectName();
      names[id] = name;
      if (bare.match(name).hasMatch()) faults.push_back(id + " is named \"" + name + "\"");
      const auto [held, fresh] = holder_of.emplace(name, id);
      if (!fresh) faults.push_back(id + " has the name of " + held->second + ": " + name);
    }
    return faults;
  }
};

TEST_F(AccessibilityTest, EveryControlHasANameOfItsOwnInTheWindowsLanguage) {
  std::map<QString, QString> english;
  std::map<QString, QString> dutch;
  for (QWidget* window : {static_cast<QWidget*>(&program_->settings_window()),
                          static_cast<QWidget*>(&program_->main_window())}) {
    EXPECT_EQ(NameFaults(*window, english), std::vector<QString>{});
  }
  ASSERT_GE(english.size(), 46u);
  QTest::mouseClick(&Find("dutchFlag"), Qt::LeftButton);
  EXPECT_EQ(NameFaults(program_->settings_window(), dutch), std::vector<QString>{});
  ASSERT_EQ(dutch.size(), english.size());
  // Only the flags and the web site's address are the same in both.
  std::set<QString> same;
  for (const auto& [id, name] : english) {
    if (dutch[id] == name) same.insert(name);
  }
  EXPECT_EQ(same, (std::set<QString>{"English", "Nederlands", "www.qelmora.example"}));
  EXPECT_EQ(english["pageColourRedSlider"], "Page colour, red");
  EXPECT_EQ(dutch["headerCellColourDefaultButton"], "Standaard kleur van de categoriekoppen");
}

TEST_F(AccessibilityTest, ControlsSayWhatTheyAreAndWhatTheyDoNotShow) {
  for (QWidget* window : {static_cast<QWidget*>(&program_->settings_window()),
                          static_cast<QWidget*>(&program_->main_window())}) {
    EXPECT_EQ(Accessible(*window).role(), QAccessible::Window);
    EXPECT_EQ(Accessible(*window).text(QAccessible::Name), window->windowTitle());
  }
  const struct {
    const char* control;
    QAccessible::Role role;
  } cases[] = {{"dutchFlag", QAccessible::Button},
               {"britishFlag", QAccessible::Button},
               {"makerLink", QAccessible::Link},
               {"titleSizeButtons", QAccessible::Grouping}};
  for (const auto& c : cases) {
    EXPECT_EQ(Accessible(Find(c.control)).role(), c.role) << c.control;
  }
  EXPECT_EQ(Accessible(Find("titleSizeButtons")).text(QAccessible::Name), "Title size");

  // Their action does what a click does.
  Accessible(Find("dutchFlag"))
      .actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(program_->settings_window().windowTitle(), "Instellingen");
  Accessible(Find("makerLink"))
      .actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(opened_, std::vector<QString>{"https://www.qelmora.example/"});

  // A slider tells the code its next move replaces.
  auto& code = Find<QLineEdit>("linkCellColourCodeField");
  code.selectAll();
  QTest::keyClicks(&code, "#123456");
  EXPECT_TRUE(Accessible(Find("linkCellColourRedSlider"))
                  .text(QAccessible::Description)
                  .startsWith("De code is nu #123456;"));
  code.clear();
  EXPECT_TRUE(Accessible(Find("linkCellColourRedSlider"))
                  .text(QAccessible::Description)
                  .startsWith("De code is nu leeg;"));

  // The caption beside a slider is its label.
  const auto labels = Accessible(Find("backgroundColourGreenSlider")).relations(QAccessible::Label);
  ASSERT_EQ(labels.size(), 1u);
  EXPECT_EQ(labels[0].first->object(), &Find("backgroundColourGreenLabel"));
}

TEST_F(AccessibilityTest, TabEntersTheTitleSizeButtonsAtTheChosenOne) {
  Find("titleSize3Button").setFocus();
  QTest::keyClick(&Find("titleSize3Button"), Qt::Key_Space);
  auto& window = program_->settings_window();
  Find("titleSizeField").setFocus();
  QTest::keyClick(&window, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &Find("titleSize3Button"));
  QTest::keyClick(&window, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &Find("refreshButton"));
  QTest::keyClick(&window, Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), &Find("titleSize3Button"));
  // The arrows still choose the next size, which Tab then lands on.
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
  Find("titleSizeField").setFocus();
  QTest::keyClick(&window, Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), &Find("titleSize4Button"));
}

}  // namespace
}  // namespace qv::testing
