// A program under test: its own program folder with small templates and a
// Favorites folder of one category, and the real windows, driven by window
// messages as the user's mouse and keys would drive them.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/fake_surroundings.h"
#include "support/small_program.h"
#include "support/temp_folder.h"
#include "winui/control_ids.h"
#include "winui/desktop_program.h"

namespace qv::winui::testing {

// Answers the modal boxes and dialogs that come up while it lives, the way
// `answer` says (OK by default), remembering the title and text of each.
class DialogAnswerer {
 public:
  using Answer = std::function<void(HWND dialog)>;
  explicit DialogAnswerer(Answer answer = PressOk);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  static void PressOk(HWND dialog);

  struct Seen {
    std::string title;
    std::string text;
  };
  std::vector<Seen> seen;

 private:
  static void CALLBACK Look(HWND, UINT, UINT_PTR, DWORD);
  Answer answer_;
  std::vector<HWND> answered_;
  UINT_PTR timer_ = 0;
};

class WinuiProgramTest : public ::testing::Test {
 protected:
  WinuiProgramTest() { qv::testing::WriteSmallProgram(folder_); }
  ~WinuiProgramTest() override;

  void WriteSettingsFile(const std::string& language_line = " 0") {
    qv::testing::WriteSmallSettingsFile(folder_, language_line);
  }
  // Services that record what reaches the desktop and answer the choosers
  // with chosen_folder_ and chosen_file_; no import.
  DesktopServices FakeServices();
  // Creates and starts the program with `services` over the settings file
  // there is, if any; returns once the settings window shows and every
  // message it set off has been handled.
  void Start(DesktopServices services);
  // Writes "ins.txt" with `language_line` and starts the program with the
  // fake services.
  void StartProgram(const std::string& language_line = " 0") {
    WriteSettingsFile(language_line);
    Start(FakeServices());
  }

  // Handles the messages waiting, as the program's loop does.
  void Pump();
  // Pumps until `done` holds, for at most `milliseconds`; whether it held.
  bool PumpUntil(const std::function<bool()>& done, int milliseconds = 5000);

  HWND Settings() const { return program_->settings_window().handle(); }
  HWND Main() const { return program_->main_window().handle(); }
  HWND Control(int id) const;
  std::string Text(int id) const;
  // A click of the mouse on the button `id`.
  void Click(int id);
  // The keys for `text` typed into the field `id` where its caret is.
  void Type(int id, const std::string& text);
  // A key pressed and let go on `target` (the control with the focus when
  // none), through the program's loop.
  void Key(UINT key, HWND target = nullptr);
  // The slider of `colour` and `channel` set to `position` and let go.
  void SetSlider(Colour colour, Channel channel, int position);

  // The pages the preview was asked to show.
  int Runs() const;
  std::string Page() const { return folder_.ReadFile("mijnstart.html"); }
  // Line `index` (from 0) of "ins.txt".
  std::string SettingsLine(int index) const {
    return qv::testing::CrLfLine(folder_.ReadFile("ins.txt"), index);
  }

  qv::testing::TempFolder folder_;
  qv::testing::FakeSurroundings surroundings_{folder_.path()};
  std::unique_ptr<DesktopProgram> program_;
  std::vector<std::string> opened_;  // what the program handed to the desktop
  bool open_succeeds_ = true;
  std::optional<std::string> chosen_folder_;  // what the faked folder chooser answers
  std::vector<std::string> chooser_starts_;   // where it was asked to start
  std::optional<std::string> chosen_file_;    // what the faked file chooser answers
};

}  // namespace qv::winui::testing
