// A program under test: its own program folder with small templates and a
// Favorites folder of one category, the real windows, and a preview that
// records what it is asked to show.
#pragma once

#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "support/fake_surroundings.h"
#include "support/small_program.h"
#include "support/temp_folder.h"
#include "ui/desktop_program.h"
#include "ui/page_preview.h"
#include "ui/settings_window.h"

namespace qv::testing {

class RecordingPreview : public PagePreview {
 public:
  struct Request {
    QString page_path;
    bool window_visible;  // whether the main window showed at the time
  };
  void Navigate(const QString& page_path) override {
    requests.push_back({page_path, window() != this && window()->isVisible()});
  }
  std::vector<Request> requests;
};

// Answers every modal message box that comes up with OK, remembering its
// title and text.
class MessageBoxAnswerer {
 public:
  MessageBoxAnswerer();
  std::vector<std::pair<QString, QString>> seen;

 private:
  QTimer timer_;
};

class GuiProgramTest : public ::testing::Test {
 protected:
  GuiProgramTest() { WriteSmallProgram(folder_); }

  void WriteSettingsFile(const std::string& language_line = " 0") {
    WriteSmallSettingsFile(folder_, language_line);
  }
  // Writes "ins.txt" with `language_line` and starts the program.
  void StartProgram(const std::string& language_line = " 0") {
    WriteSettingsFile(language_line);
    Start();
  }
  // Creates and starts the program over the settings file there is, if any;
  // returns once the settings window shows.
  void Start();

  // The control `name` of the settings window.
  template <class Control = QWidget>
  Control& Find(const QString& name) {
    auto* control = program_->settings_window().findChild<Control*>(name);
    if (control == nullptr) throw std::runtime_error("no control " + name.toStdString());
    return *control;
  }
  int Runs() const { return static_cast<int>(preview_->requests.size()); }
  // Lets the runs asked for come, up to `runs` of them: the window spaces
  // rebuilds that follow one another out in time.
  void AwaitRuns(int runs) const {
    static_cast<void>(QTest::qWaitFor([&] { return Runs() >= runs; }));
  }
  std::string Page() const { return folder_.ReadFile("mijnstart.html"); }
  // Line `index` (from 0) of "ins.txt".
  std::string SettingsLine(int index) const { return CrLfLine(folder_.ReadFile("ins.txt"), index); }

  TempFolder folder_;
  FakeSurroundings surroundings_{folder_.path()};
  RecordingPreview* preview_ = nullptr;
  std::unique_ptr<DesktopProgram> program_;
  std::vector<QString> opened_;  // what the program handed to the desktop
  bool open_succeeds_ = true;
  OpenFailed open_failed_;               // what the program asked to hear of a late failure
  QString chosen_folder_;                // what the faked folder chooser answers
  std::vector<QString> chooser_starts_;  // where it was asked to start
};

}  // namespace qv::testing
