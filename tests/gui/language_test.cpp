// The captions of both windows: the saved language code chooses them when the
// settings window is activated, and the flags switch them without saving.
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "control/captions.h"
#include "gui_fixture.h"
#include "ui/main_window.h"

namespace qv::testing {
namespace {

class LanguageTest : public GuiProgramTest {
 protected:
  // The captioned controls (and window titles) that do not show what `set` gives them.
  std::vector<QString> Mismatches(const CaptionSet& set) {
    std::vector<std::pair<QString, const char*>> captions = {{"refreshButton", set.refresh}};
    for (const TextField field : kTextFields) {
      captions.emplace_back(FieldLabelObjectName(field), FieldLabel(set, field));
    }
    for (const Colour colour : kColours) {
      captions.insert(captions.end(), {{SliderLabelObjectName(colour, Channel::kRed), set.red},
                                       {SliderLabelObjectName(colour, Channel::kGreen), set.green},
                                       {SliderLabelObjectName(colour, Channel::kBlue), set.blue},
                                       {DefaultButtonObjectName(colour), set.standard}});
    }
    std::vector<QString> wrong;
    for (const auto& [name, caption] : captions) {
      if (Find(name).property("text").toString() != caption) wrong.push_back(name);
    }
    if (program_->settings_window().windowTitle() != set.settings_title) {
      wrong.push_back("settings window title");
    }
    if (program_->main_window().windowTitle() != set.main_title) {
      wrong.push_back("main window title");
    }
    // Qt's own dialogs and buttons follow: the file chooser's Cancel button.
    const QString cancel = &set == &kEnglishCaptions ? "Cancel" : "Annuleren";
    if (QCoreApplication::translate("QPlatformTheme", "Cancel") != cancel) {
      wrong.push_back("Qt's own words");
    }
    return wrong;
  }
};

// Which codes give which captions is the controller's to say; here the saved
// Dutch code reaches both windows when the settings window is activated.
TEST_F(LanguageTest, TheSavedCodeChoosesTheCaptionsAndTheFlagsSwitchThemWithoutSaving) {
  StartProgram(" 1");
  ASSERT_TRUE(QTest::qWaitForWindowActive(&program_->settings_window()));
  EXPECT_EQ(Mismatches(kDutchCaptions), std::vector<QString>{});
  const std::string saved = folder_.ReadFile("ins.txt");
  // The window was placed at the size its longest captions need: it does
  // not grow off the screen when others come.
  const QSize size = program_->settings_window().size();

  QTest::mouseClick(&Find<QLabel>("britishFlag"), Qt::LeftButton);
  EXPECT_EQ(Mismatches(kEnglishCaptions), std::vector<QString>{});
  EXPECT_EQ(folder_.ReadFile("ins.txt"), saved);
  EXPECT_EQ(Runs(), 1);

  // The next rebuild saves the new code first.
  QTest::mouseClick(&Find<QPushButton>("refreshButton"), Qt::LeftButton);
  EXPECT_EQ(SettingsLine(18), " 0");

  QTest::mouseClick(&Find<QLabel>("dutchFlag"), Qt::LeftButton);
  EXPECT_EQ(Mismatches(kDutchCaptions), std::vector<QString>{});
  EXPECT_EQ(program_->controller().state().language_code, 1);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(program_->settings_window().size(), size);
}

}  // namespace
}  // namespace qv::testing
