// The program's event logic: start-up, save and rebuild, closing, the language
// switch, the colour groups, the title size and the maker's link, over the
// program state. It knows its windows only through the views, so any window
// layer can drive it.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include "control/bookmark_import.h"
#include "control/favorites_watch.h"
#include "control/views.h"
#include "run/start_page.h"
#include "run/surroundings.h"
#include "settings/program_state.h"

namespace qv {

// A generation run made before the windows exist, and what it left: the
// program can write its first page while its windows and the browser engine
// start, on another thread.
struct FirstRun {
  ProgramState state;
  RunReport report;
};
FirstRun MakeFirstRun(RunSurroundings& surroundings);

class ProgramController {
 public:
  // `surroundings` supplies the program folder, the Favorites lookup and the
  // date; `end_program` ends the program when the settings window closes.
  ProgramController(RunSurroundings& surroundings, MainView& main_view, SettingsView& settings_view,
                    Desktop& desktop, std::function<void()> end_program);

  // The first generation run, before any window is visible; then the main
  // window is shown and asked to become active.
  void Start();
  // The same, with the first run already made.
  void Start(FirstRun first_run);

  // The user's actions, as the windows report them.
  void MainWindowActivated();
  void SettingsWindowActivated();
  void SettingsWindowClosed();
  void RefreshClicked();
  void FieldEdited(TextField field, const std::string& text);
  void ColourCodeEdited(Colour colour, const std::string& code);
  void DefaultColourClicked(Colour colour);
  // A colour group's slider has come to rest; the three give the new code.
  void SlidersMoved(Colour colour, int red, int green, int blue);
  void TitleSizeClicked(int option);
  void MakerLinkClicked();
  // The folder chooser beside the Favorites field: a chosen folder fills the
  // field, and the page is built from it.
  void ChooseFavoritesFolderClicked();
  // Hands the page last built to the desktop, which opens it in the browser.
  void OpenInBrowserClicked();
  // What took `document` from the desktop ended at once with a failure.
  void DocumentOpenFailed(const std::string& document, int exit_code);
  void LanguageChosen(Language language);
  // The Favorites folder changed on disk.
  void FavoritesChanged();
  // "Import bookmarks...": saves, lets the user pick a source, imports it
  // into the Favorites folder, rebuilds and tells the outcome.
  void ImportClicked();

  const ProgramState& state() const { return state_; }
  // How the program ends; replaces the one given at construction.
  void set_end_program(std::function<void()> end_program) { end_program_ = std::move(end_program); }
  // From now on every run makes `watch` follow the folders it read; none by
  // default.
  void set_favorites_watch(FavoritesWatch* watch) { favorites_watch_ = watch; }
  // What the import button uses; without them it does nothing.
  void set_bookmark_import(BookmarkImporter* importer, ImportView* view) {
    importer_ = importer;
    import_view_ = view;
  }

 private:
  // Saves the settings, then builds and shows the page. A save that fails is
  // reported to the user and nothing is rebuilt.
  void SaveAndRebuild();
  // SaveAndRebuild once the window events waiting now have been handled; of
  // a burst of requests, one runs, with the values of the last.
  void SaveAndRebuildSoon();
  // SaveAndRebuild once the moves of a colour painted ahead have rested.
  void SaveAndRebuildOnceRested();
  // Lets the page on show paint the new code of `colour` before the rebuild,
  // where that cannot paint a place the new code will not reach; true when
  // it may.
  bool AnticipateColour(Colour colour);
  // Builds and shows the page; a run that could not write it is reported to
  // the user.
  void Rebuild();
  // Shows what a run of the window's own values built, and what went wrong.
  void ShowRun(const RunReport& report);
  // Builds and shows the page from the saved settings, as start-up does,
  // leaving the program state as it is; a failure is reported to the user.
  void RebuildFromSavedSettings();
  // Shows the page of `report` and lets the watch follow what the run read.
  void ShowBuiltPage(const RunReport& report, const ProgramState& built);
  // Tells the user why the run of `report` built no page, if it did not.
  void ShowRunFailure(const RunReport& report);
  // Tells the user that the run wrote the page under another name, and why.
  void ShowPageNameRefused(const RunReport& report);
  // Writes "ins.txt"; tells the user when that fails, `consequence` saying
  // what happens next. True when saved.
  bool Save(const std::string& consequence);
  // Opens `document` on the desktop; tells the user when that fails.
  void OpenDocument(const std::string& document);
  const CaptionSet& Captions() const;

  RunSurroundings& surroundings_;
  MainView& main_view_;
  SettingsView& settings_view_;
  Desktop& desktop_;
  std::function<void()> end_program_;
  ProgramState state_;
  std::string page_path_;  // the page of the last run
  // The codes of the four colours as the page on show has them (the last
  // page built, with the colours anticipated since); none when not known.
  std::optional<std::array<std::string, kColourCount>> shown_codes_;
  bool anticipated_ = false;      // the page on show was changed ahead of its file
  bool rebuild_pending_ = false;  // a rebuild asked for waits for its turn
  bool rebuild_soon_ = false;     // a SaveAndRebuildSoon waits for its turn
  bool ending_ = false;
  FavoritesWatch* favorites_watch_ = nullptr;
  BookmarkImporter* importer_ = nullptr;
  ImportView* import_view_ = nullptr;
  // A rebuild is under way (a message box of it may let other events in);
  // a change of the Favorites folder reported meanwhile waits for its end.
  int busy_ = 0;
  bool favorites_changed_while_busy_ = false;
  friend class BusyScope;
};

// "#" and two upper-case hexadecimal digits each for red, green and blue.
std::string SliderColourCode(int red, int green, int blue);

// What the user is told, in the words of `captions`, when the desktop cannot
// open `document`.
Message OpenFailedMessage(const CaptionSet& captions, const std::string& document);

}  // namespace qv
