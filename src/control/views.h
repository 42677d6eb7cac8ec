// What the program's event logic asks of its two windows and of the desktop.
// The windows implement these with a toolkit of their choice and report the
// user's actions to the ProgramController; they decide nothing themselves.
#pragma once

#include <functional>
#include <string>

#include "control/captions.h"
#include "settings/program_state.h"

namespace qv {

// A message for the user, in a modal box with an OK button.
struct Message {
  std::string title;
  std::string text;
};

// The main window: a frame around the preview of the page.
class MainView {
 public:
  virtual ~MainView() = default;
  // Starts showing the page file at `page_path`; does not wait for it.
  virtual void ShowPage(const std::string& page_path) = 0;
  // Before a rebuild for a new colour: the page on show may paint with
  // `new_code` wherever it holds `old_code` (both seven characters, as the
  // page has them) at once, or only where it is in view, since the page shown
  // next will confirm or correct it anyway. True when it will.
  virtual bool AnticipateColour(const std::string& old_code, const std::string& new_code) = 0;
  // Runs `task` once the window events waiting now have been handled, so
  // that a burst of them leads to one rebuild; a window may also space such
  // tasks out in time, to be drawn and read the keyboard in between.
  virtual void RunAfterPendingEvents(std::function<void()> task) = 0;
  // Runs `task` once these calls have rested a moment, as a slider the user
  // stops moving; each call puts its task in place of the one waiting. Asked
  // for while the page on show takes each colour ahead of its file, so that
  // the window's thread stays free to draw them.
  virtual void RunOnceRested(std::function<void()> task) = 0;
  virtual void SetTitle(const std::string& title) = 0;
  virtual void Show() = 0;
  // Asks the desktop to make the window the active one.
  virtual void Activate() = 0;
  virtual bool IsShown() const = 0;
};

// A colour slider's values run from 0 to this.
inline constexpr int kSliderMaximum = 255;
// Page Up and Page Down move a slider by this much, so that any value is a
// few keys away; a click in the track still moves one step.
inline constexpr int kSliderPageStep = 16;

// The settings window: the text fields, colour groups, title-size buttons,
// refresh button, maker's link and flags.
class SettingsView {
 public:
  virtual ~SettingsView() = default;
  // Writes the values of `state` into the fields and selects its title-size
  // button. These writes never count as the user's input.
  virtual void ShowState(const ProgramState& state) = 0;
  virtual void ShowCaptions(const CaptionSet& captions) = 0;
  // Shows the window beside the main window and makes it the active one.
  virtual void Show() = 0;
  virtual bool IsShown() const = 0;
  // Marks the Favorites field while the page shown was built from a folder
  // that is not there, and unmarks it once it was built from one that is.
  virtual void ShowFavoritesFolderMissing(bool missing) = 0;
  // The full path of the page last built, so that the user knows where it
  // is, wherever the program keeps its files.
  virtual void ShowPagePath(const std::string& path) = 0;
  // A failure the user must know of, over this window; returns once read.
  virtual void ShowError(const Message& message) = 0;
};

// The desktop beyond the program's windows.
class Desktop {
 public:
  virtual ~Desktop() = default;
  // Hands `document` (a web address or a file path) to the desktop's opener;
  // false when nothing took it.
  virtual bool OpenDocument(const std::string& document) = 0;
  // A warning in a box of its own; returns once read.
  virtual void ShowWarning(const Message& message) = 0;
  // Lets the user pick a folder, starting at `start`, in a chooser titled
  // `title`; returns the folder's path, or an empty text when the user cancels.
  virtual std::string ChooseFolder(const std::string& title, const std::string& start) = 0;
};

}  // namespace qv
