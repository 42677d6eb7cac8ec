// The desktop program: the program state, the two windows over it, and the
// sequences the windows start (start-up, rebuild, language switch, closing).
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "generator/status.h"
#include "generator/surroundings.h"
#include "generator/types.h"
#include "ui/caption_tables.h"
#include "ui/open_document.h"

namespace qv {

class MainWindow;
class PagePreview;
class SettingsWindow;

class Program : public QObject {
  Q_OBJECT

 public:
  // `surroundings` supplies the program folder, the registry and the date;
  // the runs' requests to show the page go to `preview`, which becomes W1 of
  // the main window. `open` hands documents to the desktop.
  Program(RunSurroundings& surroundings, PagePreview* preview,
          DocumentOpener open = DesktopOpener());
  ~Program() override;

  // The first generation run, before any window is visible; then the main
  // window is shown, and its activation brings up the settings window.
  void Start();

  // Saves the settings from the window, settles PageFileName and runs the
  // generator. A save that fails is reported to the user and nothing is rebuilt.
  void SaveAndRebuild();

  // What closing the settings window does: save, settle PageFileName, end.
  void CloseSettings();

  // Writes the captions of `language` into both windows and sets LanguageCode.
  void ApplyCaptionSet(Language language);

  const ProgramState& state() const { return state_; }
  MainWindow& Form1() { return *main_window_; }
  // The one settings window, created on first use.
  SettingsWindow& Form2Instance();

  // How the program ends; by default the application's event loop stops.
  void set_end_program(std::function<void()> end_program) { end_program_ = std::move(end_program); }

 private:
  class PreviewSurroundings;

  void ShowSettingsWindow();
  void ConnectSettingsWindow(SettingsWindow& window);
  void EditField(int field, const QString& text);
  void EditColourCode(int group, const QString& code);
  void RestoreDefaultColour(int group);
  void SelectTitleSize(int option);
  void OpenMakerSite();
  // Writes "ins.txt"; tells the user when that fails, with `consequence`
  // saying what happens next.
  bool Save(const QString& consequence);
  void Rebuild();

  ProgramState state_;
  std::unique_ptr<PreviewSurroundings> surroundings_;
  std::unique_ptr<MainWindow> main_window_;
  std::unique_ptr<SettingsWindow> settings_window_;
  DocumentOpener open_;
  std::function<void()> end_program_;
  bool ending_ = false;
};

}  // namespace qv
