// The program's event logic with windows that only record what they are told.
#include "control/program_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_file.h"
#include "support/fake_surroundings.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using testing::TempFolder;

class RecordingMainView : public MainView {
 public:
  void ShowPage(const std::string& page_path) override { pages.push_back(page_path); }
  void SetTitle(const std::string& text) override { title = text; }
  void Show() override { shown = true; }
  void Activate() override {}
  bool IsShown() const override { return shown; }

  std::vector<std::string> pages;
  std::string title;
  bool shown = false;
};

class RecordingSettingsView : public SettingsView {
 public:
  void ShowState(const ProgramState& state) override { shown_state = state; }
  void ShowCaptions(const CaptionSet& set) override { captions = &set; }
  void Show() override { shown = true; }
  bool IsShown() const override { return shown; }
  void ShowError(const Message& message) override { errors.push_back(message.text); }

  ProgramState shown_state;
  const CaptionSet* captions = nullptr;
  bool shown = false;
  std::vector<std::string> errors;
};

class NoDesktop : public Desktop {
 public:
  bool OpenDocument(const std::string&) override { return false; }
  void ShowWarning(const Message&) override {}
  std::string ChooseFolder(const std::string&, const std::string&) override { return {}; }
};

class ProgramControllerTest : public ::testing::Test {
 protected:
  ProgramControllerTest() { favorites_.WriteFile("News/Link.url", "URL=http://n/\r\n"); }

  void StartWithLanguageLine(const std::string& line) {
    ProgramState saved;
    saved.settings.favorites_folder = favorites_.path();
    std::string file = FormatSettings(saved.settings, 0);
    file.replace(file.rfind(" 0"), 2, line);
    program_.WriteFile("ins.txt", file);
    controller_.Start();
  }

  TempFolder program_, favorites_;
  testing::FakeSurroundings surroundings_{program_.path()};
  RecordingMainView main_view_;
  RecordingSettingsView settings_view_;
  NoDesktop desktop_;
  ProgramController controller_{surroundings_, main_view_, settings_view_, desktop_, [] {}};
};

TEST_F(ProgramControllerTest, ARebuildWritesAndShowsThePageUnderTheNameJustSaved) {
  StartWithLanguageLine(" 0");
  controller_.FieldEdited(TextField::kPageFileName, " mine.html");
  controller_.RefreshClicked();
  const std::vector<std::string> pages = {program_.Path("mijnstart.html"),
                                          program_.Path(" mine.html")};
  EXPECT_EQ(main_view_.pages, pages);
  EXPECT_NE(program_.ReadFile(" mine.html").find("News"), std::string::npos);
  EXPECT_TRUE(settings_view_.errors.empty());
}

TEST_F(ProgramControllerTest, EveryLanguageCodeButOneShowsEnglishAndBecomesZero) {
  const std::pair<const char*, const CaptionSet*> cases[] = {{" 1", &kDutchCaptions},
                                                             {" 0", &kEnglishCaptions},
                                                             {" 2", &kEnglishCaptions},
                                                             {"-1", &kEnglishCaptions}};
  for (const auto& [line, captions] : cases) {
    StartWithLanguageLine(line);
    controller_.SettingsWindowActivated();
    EXPECT_EQ(settings_view_.captions, captions) << line;
    EXPECT_EQ(main_view_.title, captions->main_title) << line;
    EXPECT_EQ(controller_.state().language_code, captions == &kDutchCaptions ? 1 : 0) << line;
  }
}

}  // namespace
}  // namespace qv
