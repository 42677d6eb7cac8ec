// The desktop program: the two Qt windows and the desktop, wired to the
// program's event logic.
#pragma once

#include <QObject>
#include <memory>

#include "control/program_controller.h"
#include "control/system_bookmark_importer.h"
#include "ui/desktop.h"
#include "ui/import_dialogs.h"
#include "ui/main_window.h"
#include "ui/qt_favorites_watch.h"
#include "ui/settings_window.h"

namespace qv {

class PagePreview;

class DesktopProgram : public QObject {
  Q_OBJECT

 public:
  // `preview` becomes the main window's preview; `open` hands documents to
  // the desktop and `choose` lets the user pick a folder. Ending the program
  // stops the application's event loop.
  DesktopProgram(RunSurroundings& surroundings, PagePreview* preview,
                 DocumentOpener open = DesktopOpener(),
                 FolderChooser choose = DesktopFolderChooser());
  ~DesktopProgram() override;

  void Start() { controller_.Start(); }
  void Start(FirstRun first_run) { controller_.Start(std::move(first_run)); }

  MainWindow& main_window() { return *main_window_; }
  SettingsWindow& settings_window() { return *settings_window_; }
  ProgramController& controller() { return controller_; }

 private:
  void Connect();

  std::unique_ptr<MainWindow> main_window_;
  std::unique_ptr<SettingsWindow> settings_window_;
  QtDesktop desktop_;
  QtFavoritesWatch favorites_watch_;
  SystemBookmarkImporter importer_;
  QtImportDialogs import_dialogs_;  // outlives the controller that follows it
  ProgramController controller_;
};

}  // namespace qv
