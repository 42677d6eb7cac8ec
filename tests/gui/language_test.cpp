// The captions of both windows: the saved language code chooses them when the
// settings window is activated, and the flags switch them without saving.
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "gui_fixture.h"
#include "ui/caption_tables.h"
#include "ui/main_window.h"

namespace qv::testing {
namespace {

class LanguageTest : public GuiProgramTest {
 protected:
  // The captioned controls (and window titles) that do not show what `set` gives them.
  std::vector<std::string> Mismatches(const CaptionSet& set) {
    std::vector<std::pair<std::string, const char*>> captions = {{"Command1", set.refresh}};
    for (int field = 0; field < kFieldCount; ++field) {
      captions.emplace_back("lab" + std::to_string(field), set.lab[field]);
    }
    for (const std::string group : {"0", "1", "2", "3"}) {
      captions.insert(captions.end(), {{"Label1_" + group, set.red},
                                       {"Label2_" + group, set.green},
                                       {"Label3_" + group, set.blue},
                                       {"Command2_" + group, set.standard}});
    }
    std::vector<std::string> wrong;
    for (const auto& [name, caption] : captions) {
      if (Find(name).property("text").toString() != caption) wrong.push_back(name);
    }
    if (program_->Form2Instance().windowTitle() != set.settings_title) wrong.push_back("Form2");
    if (program_->Form1().windowTitle() != set.main_title) wrong.push_back("Form1");
    return wrong;
  }
};

TEST_F(LanguageTest, TheSavedCodeChoosesTheCaptionsWhenTheSettingsWindowIsActivated) {
  struct Case {
    const char* language_line;
    const CaptionSet& captions;
    int language_code;
  };
  const Case cases[] = {{" 1", kDutchCaptions, 1}, {" 5", kEnglishCaptions, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language_line);
    WriteSettingsFile(c.language_line);
    StartProgram();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&program_->Form2Instance()));
    EXPECT_EQ(Mismatches(c.captions), std::vector<std::string>{});
    EXPECT_EQ(program_->state().LanguageCode, c.language_code);
  }
}

TEST_F(LanguageTest, TheFlagsSwitchEveryCaptionAndBothTitlesWithoutSaving) {
  WriteSettingsFile();
  StartProgram();
  const std::string saved = folder_.ReadFile("ins.txt");

  QTest::mouseClick(&Find<QLabel>("Image1"), Qt::LeftButton);
  EXPECT_EQ(Mismatches(kDutchCaptions), std::vector<std::string>{});
  EXPECT_EQ(folder_.ReadFile("ins.txt"), saved);
  EXPECT_EQ(Runs(), 1);

  // The next rebuild saves the new code first, and the page follows it.
  QTest::mouseClick(&Find<QPushButton>("Command1"), Qt::LeftButton);
  EXPECT_EQ(SettingsLine(18), " 1");
  EXPECT_NE(Page().find("Laatst bijgewerkt : 05-12-2026"), std::string::npos);

  QTest::mouseClick(&Find<QLabel>("Image2"), Qt::LeftButton);
  EXPECT_EQ(Mismatches(kEnglishCaptions), std::vector<std::string>{});
  EXPECT_EQ(program_->state().LanguageCode, 0);
}

}  // namespace
}  // namespace qv::testing
