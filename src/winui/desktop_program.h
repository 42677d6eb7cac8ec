// The desktop program: the two Win32 windows and the desktop, wired to the
// program's event logic, and the message loop that drives them.
#pragma once

#include <memory>

#include "control/program_controller.h"
#include "winui/desktop.h"
#include "winui/favorites_watch.h"
#include "winui/import_dialogs.h"
#include "winui/main_window.h"
#include "winui/settings_window.h"

namespace qv::winui {

// What the program asks of the system beyond its windows; the tests pass
// their own. An empty chooser is the system's own.
struct DesktopServices {
  DocumentOpener open = ShellOpener();
  FolderChooser choose_folder;
  FileChooser choose_file;
  // None: the import button says that this build has no import.
  std::unique_ptr<BookmarkImporter> importer = ImporterOfThisBuild();
  // False: the preview acts as on a system without the web control.
  bool web_control = true;
};

class DesktopProgram {
 public:
  // Needs COM set up for the window thread (OleApartment). Ending the program
  // ends the message loop.
  explicit DesktopProgram(RunSurroundings& surroundings, DesktopServices services = {});
  ~DesktopProgram();
  DesktopProgram(const DesktopProgram&) = delete;
  DesktopProgram& operator=(const DesktopProgram&) = delete;

  void Start() { controller_.Start(); }
  // Runs the message loop until the program ends; the exit code.
  int Run();
  // Hands `message` to the windows as the loop does.
  void Dispatch(MSG& message);

  MainWindow& main_window() { return main_window_; }
  SettingsWindow& settings_window() { return settings_window_; }
  ProgramController& controller() { return controller_; }

 private:
  void ImportClicked();

  DesktopServices services_;
  MainWindow main_window_;
  SettingsWindow settings_window_;
  Win32Desktop desktop_;
  Win32ImportDialogs import_dialogs_;
  ProgramController controller_;
  // Last: its thread ends first, before what it reports to goes.
  Win32FavoritesWatch favorites_watch_;
};

// The window thread's COM apartment, which the web control and the file
// dialogs need, and the common controls, for the life of the object.
class OleApartment {
 public:
  OleApartment();
  ~OleApartment();
  OleApartment(const OleApartment&) = delete;
  OleApartment& operator=(const OleApartment&) = delete;
  bool ok() const { return ok_; }

 private:
  bool ok_ = false;
};

}  // namespace qv::winui
