#include "control/program_controller.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string>
#include <utility>

#include "control/failure_reason.h"
#include "control/page_colour.h"
#include "run/start_page.h"
#include "settings/program_folders.h"
#include "settings/settings_file.h"

namespace qv {
namespace {

struct SaveFailureWords {
  const char* title;
  const char* cannot_write;
  const char* kept;
  const char* ending;
};

constexpr SaveFailureWords kDutchSaveFailure = {
    "Instellingen niet opgeslagen", "De instellingen konden niet worden opgeslagen in",
    "Het venster houdt je waarden; de pagina is niet opnieuw gemaakt.",
    "Het programma stopt nu; wat sinds de laatste keer opslaan is veranderd, gaat verloren."};
constexpr SaveFailureWords kEnglishSaveFailure = {
    "Settings not saved", "The settings could not be saved in",
    "The window keeps your values; the page has not been rebuilt.",
    "The program ends now; what changed since the last save is lost."};

const SaveFailureWords& SaveFailureWordsFor(std::int16_t language_code) {
  return LanguageOfCode(language_code) == Language::kDutch ? kDutchSaveFailure
                                                           : kEnglishSaveFailure;
}

struct RunFailureWords {
  const char* title;
  const char* cannot_write;
  const char* kept;
  // A page file name the run passed over; "{}" stands for the name typed.
  const char* name_title;
  const char* name_not_plain;
  const char* name_programs_own;
};

constexpr RunFailureWords kDutchRunFailure = {
    "Pagina niet gemaakt",
    "De pagina kon niet worden gemaakt:",
    "Een eerdere pagina blijft zoals ze was.",
    "Andere paginanaam",
    "De pagina kan niet \"{}\" heten: dat is geen naam van een eigen bestand in de map van het "
    "programma. De pagina heet nu mijnstart.html.",
    "De pagina kan niet \"{}\" heten: het programma bewaart zelf een bestand onder die naam. "
    "De pagina heet nu mijnstart.html."};
constexpr RunFailureWords kEnglishRunFailure = {
    "Page not built",
    "The page could not be built:",
    "Any earlier page is kept as it was.",
    "Other page name",
    "The page cannot be called \"{}\": that is not the name of a file of its own in the "
    "program's folder. The page is now called mijnstart.html.",
    "The page cannot be called \"{}\": the program keeps a file of its own under that name. The "
    "page is now called mijnstart.html."};

const RunFailureWords& RunFailureWordsFor(std::int16_t language_code) {
  return LanguageOfCode(language_code) == Language::kDutch ? kDutchRunFailure : kEnglishRunFailure;
}

// Added to the open failure when what took the document ended at once;
// "{}" stands for its exit code.
const char* EndedAtOnceWords(std::int16_t language_code) {
  return LanguageOfCode(language_code) == Language::kDutch
             ? "Het programma dat het zou openen, stopte meteen met foutcode {}."
             : "The program that was to open it ended at once with error code {}.";
}

// "#" and six hexadecimal digits: a code no other attribute value or style
// word of the page is likely to hold by chance.
bool IsPlainColour(const std::string& code) {
  if (code.size() != 7 || code[0] != '#') return false;
  for (std::size_t i = 1; i < code.size(); ++i) {
    if (!std::isxdigit(static_cast<unsigned char>(code[i]))) return false;
  }
  return true;
}

std::array<std::string, kColourCount> PageCodesOf(const Settings& settings) {
  std::array<std::string, kColourCount> codes;
  for (const Colour colour : kColours) {
    codes[static_cast<int>(colour)] = ReadPageColour(settings, colour).code;
  }
  return codes;
}

}  // namespace

// Marks the controller busy for one scope; a change of the Favorites folder
// reported meanwhile is taken up when the outermost scope ends.
class BusyScope {
 public:
  explicit BusyScope(ProgramController& controller) : controller_(controller) {
    ++controller_.busy_;
  }
  ~BusyScope() {
    if (--controller_.busy_ == 0 && controller_.favorites_changed_while_busy_) {
      controller_.FavoritesChanged();
    }
  }

 private:
  ProgramController& controller_;
};

std::string SliderColourCode(int red, int green, int blue) {
  char code[8];
  std::snprintf(code, sizeof code, "#%02X%02X%02X", red & 0xFF, green & 0xFF, blue & 0xFF);
  return code;
}

Message OpenFailedMessage(const CaptionSet& captions, const std::string& document) {
  return {captions.open_failed_title, FillIn(captions.open_failed_text, document)};
}

ProgramController::ProgramController(RunSurroundings& surroundings, MainView& main_view,
                                     SettingsView& settings_view, Desktop& desktop,
                                     std::function<void()> end_program)
    : surroundings_(surroundings),
      main_view_(main_view),
      settings_view_(settings_view),
      desktop_(desktop),
      end_program_(std::move(end_program)) {}

FirstRun MakeFirstRun(RunSurroundings& surroundings) {
  FirstRun first_run;
  first_run.report = BuildStartPage(first_run.state, surroundings);
  return first_run;
}

void ProgramController::Start() {
  Start(MakeFirstRun(surroundings_));
}

void ProgramController::Start(FirstRun first_run) {
  {
    BusyScope busy(*this);
    state_ = std::move(first_run.state);
    ShowRun(first_run.report);
  }
  main_view_.Show();
  // Ask for the activation that brings up the settings window; a desktop
  // without a window manager would not give it on its own.
  main_view_.Activate();
}

void ProgramController::MainWindowActivated() {
  if (!settings_view_.IsShown()) settings_view_.Show();
}

void ProgramController::SettingsWindowActivated() {
  LanguageChosen(LanguageOfCode(state_.language_code));
}

void ProgramController::LanguageChosen(Language language) {
  state_.language_code = LanguageCodeOf(language);
  const CaptionSet& captions = CaptionsOf(language);
  settings_view_.ShowCaptions(captions);
  main_view_.SetTitle(captions.main_title);
}

void ProgramController::RefreshClicked() {
  SaveAndRebuild();
}

void ProgramController::SettingsWindowClosed() {
  if (ending_) return;
  ending_ = true;
  // The page follows the last slider move, even when its rebuild had no
  // turn yet.
  if (Save(SaveFailureWordsFor(state_.language_code).ending) && rebuild_pending_) Rebuild();
  end_program_();
}

void ProgramController::FieldEdited(TextField field, const std::string& text) {
  TextOf(state_.settings, field) = text;
  ApplyFieldChangeRule(state_.settings, field);
  settings_view_.ShowState(state_);
}

void ProgramController::ColourCodeEdited(Colour colour, const std::string& code) {
  CodeOf(state_.settings, colour) = code;
}

void ProgramController::DefaultColourClicked(Colour colour) {
  CodeOf(state_.settings, colour) = DefaultCode(colour);
  settings_view_.ShowState(state_);
  AnticipateColour(colour);
  SaveAndRebuild();
}

// A held arrow key moves a slider some thirty times a second. A colour the
// page on show can paint ahead is rebuilt once the moves rest: a rebuild in
// between would only hold up the frames that show each colour. Any other is
// rebuilt as it moves, the rebuilds that waited behind one another running
// as one.
void ProgramController::SlidersMoved(Colour colour, int red, int green, int blue) {
  CodeOf(state_.settings, colour) = SliderColourCode(red, green, blue);
  settings_view_.ShowState(state_);
  AnticipateColour(colour) ? SaveAndRebuildOnceRested() : SaveAndRebuildSoon();
}

// Where the old code is another colour's too, or either is not a plain
// colour code, the page could hold it in places this colour does not reach;
// a wrong colour flashing up is worse than waiting for the page. Nor is it
// known where the page on show does not take the colour.
bool ProgramController::AnticipateColour(Colour colour) {
  if (!shown_codes_) return false;
  std::array<std::string, kColourCount>& codes = *shown_codes_;
  const auto index = static_cast<std::size_t>(colour);
  const std::string old_code = codes[index];
  const std::string new_code = ReadPageColour(state_.settings, colour).code;
  // The page on show already has it.
  if (new_code == old_code) return true;
  const bool shared = std::count(codes.begin(), codes.end(), old_code) > 1;
  if (shared || !IsPlainColour(old_code) || !IsPlainColour(new_code) ||
      !main_view_.AnticipateColour(old_code, new_code)) {
    // What the page holds until the rebuild is shown is no longer known.
    shown_codes_.reset();
    return false;
  }
  codes[index] = new_code;
  anticipated_ = true;
  return true;
}

void ProgramController::TitleSizeClicked(int option) {
  SelectTitleSizeOption(state_, option);
  settings_view_.ShowState(state_);
}

void ProgramController::MakerLinkClicked() {
  OpenDocument(kMakerSiteAddress);
}

void ProgramController::ChooseFavoritesFolderClicked() {
  const std::string folder = desktop_.ChooseFolder(
      Captions().choose_folder_title, TextOf(state_.settings, TextField::kFavoritesFolder));
  if (folder.empty()) return;
  FieldEdited(TextField::kFavoritesFolder, folder);
  SaveAndRebuild();
}

void ProgramController::OpenInBrowserClicked() {
  OpenDocument(page_path_);
}

void ProgramController::OpenDocument(const std::string& document) {
  if (!desktop_.OpenDocument(document)) {
    desktop_.ShowWarning(OpenFailedMessage(Captions(), document));
  }
}

void ProgramController::DocumentOpenFailed(const std::string& document, int exit_code) {
  Message message = OpenFailedMessage(Captions(), document);
  message.text += "\n" + FillIn(EndedAtOnceWords(state_.language_code), std::to_string(exit_code));
  desktop_.ShowWarning(message);
}

// A change on disk rebuilds from the saved settings into a copy of the state,
// the way start-up builds the page, and saves nothing. The user may be half
// way through typing a field: saving would write a value not yet finished,
// and taking the settings file back into the window would throw the typing
// away. So the window keeps its values, the settings file stays as it is, and
// the typed values reach the page with the next save.
void ProgramController::FavoritesChanged() {
  if (ending_) return;
  if (busy_ > 0) {
    favorites_changed_while_busy_ = true;
    return;
  }
  RebuildFromSavedSettings();
}

void ProgramController::ImportClicked() {
  if (importer_ == nullptr || import_view_ == nullptr) return;
  BusyScope busy(*this);
  // The import goes where the settings file says, so the window's values are
  // saved first, as a refresh does.
  if (!Save(SaveFailureWordsFor(state_.language_code).kept)) return;
  const ImportWords& words = ImportWordsOf(LanguageOfCode(state_.language_code));
  const std::vector<BookmarkSource> sources = importer_->SourcesFound();
  const std::optional<std::size_t> chosen = import_view_->ChooseSource(sources, words);
  if (!chosen) return;
  const std::optional<std::string> path =
      *chosen < sources.size() ? sources[*chosen].path : import_view_->ChooseFile(words);
  if (!path) return;
  const Result<BookmarkImporter::Outcome> outcome =
      importer_->Import(*path, surroundings_.Folders());
  // The import may have settled the Favorites folder in the settings file;
  // the rebuild reads it back.
  if (outcome.ok()) Rebuild();
  import_view_->ShowOutcome(
      {words.title, outcome.ok() ? std::string(words.imported_into) + " " +
                                       outcome->favorites_folder + ":\n" + outcome->summary
                                 : std::string(words.not_imported) + "\n" +
                                       ReasonInLanguage(outcome.status(), state_.language_code)});
}

void ProgramController::RebuildFromSavedSettings() {
  BusyScope busy(*this);
  favorites_changed_while_busy_ = false;  // the run below reads those changes
  ProgramState saved = state_;
  const RunReport report = BuildStartPage(saved, surroundings_);
  ShowBuiltPage(report, saved);
  // The user did nothing to start this run, so a failure is all the more
  // worth a word: the preview goes on showing the page of before.
  ShowRunFailure(report);
}

void ProgramController::ShowBuiltPage(const RunReport& report, const ProgramState& built) {
  page_path_ = report.page_path;
  // A page not written leaves the one before on show, whose codes are not
  // kept.
  shown_codes_.reset();
  if (report.page_status.ok()) shown_codes_ = PageCodesOf(built.settings);
  anticipated_ = false;
  main_view_.ShowPage(report.page_path);
  settings_view_.ShowFavoritesFolderMissing(report.favorites_folder_missing);
  settings_view_.ShowPagePath(report.page_path);
  if (favorites_watch_ != nullptr) {
    favorites_watch_->Follow(PageSourcesOf(built, surroundings_.Folders().own, false));
  }
}

const CaptionSet& ProgramController::Captions() const {
  return CaptionsOf(LanguageOfCode(state_.language_code));
}

void ProgramController::SaveAndRebuildSoon() {
  if (rebuild_soon_) return;
  rebuild_soon_ = rebuild_pending_ = true;
  main_view_.RunAfterPendingEvents([this] {
    rebuild_soon_ = false;
    if (rebuild_pending_ && !ending_) SaveAndRebuild();
  });
}

void ProgramController::SaveAndRebuildOnceRested() {
  rebuild_pending_ = true;
  main_view_.RunOnceRested([this] {
    if (rebuild_pending_ && !ending_) SaveAndRebuild();
  });
}

void ProgramController::SaveAndRebuild() {
  BusyScope busy(*this);
  rebuild_pending_ = false;
  if (!Save(SaveFailureWordsFor(state_.language_code).kept)) {
    // Nothing is rebuilt, so the page on show goes back to its file.
    if (anticipated_) {
      shown_codes_.reset();
      anticipated_ = false;
      main_view_.ShowPage(page_path_);
    }
    return;
  }
  Rebuild();
  // A main window the user closed comes back to show the new page.
  if (!main_view_.IsShown()) main_view_.Show();
}

void ProgramController::Rebuild() {
  BusyScope busy(*this);
  favorites_changed_while_busy_ = false;  // the run below reads those changes
  ShowRun(BuildStartPage(state_, surroundings_));
}

void ProgramController::ShowRun(const RunReport& report) {
  ShowBuiltPage(report, state_);
  settings_view_.ShowState(state_);
  ShowPageNameRefused(report);
  ShowRunFailure(report);
}

void ProgramController::ShowRunFailure(const RunReport& report) {
  if (report.page_status.ok()) return;
  // The preview shows the page of the run before, if any; say why.
  const RunFailureWords& words = RunFailureWordsFor(state_.language_code);
  settings_view_.ShowError(
      {words.title, std::string(words.cannot_write) + "\n" +
                        ReasonInLanguage(report.page_status, state_.language_code) + "\n\n" +
                        words.kept});
}

// The field shows the name used (the run settled it); this says why. Only
// runs of the window's own values tell it: the settings file keeps a refused
// name until the next save, and a run on a change in the Favorites folder
// would say it again and again.
void ProgramController::ShowPageNameRefused(const RunReport& report) {
  if (report.page_name_refusal == PageNameRefusal::kNone) return;
  const RunFailureWords& words = RunFailureWordsFor(state_.language_code);
  const char* why = report.page_name_refusal == PageNameRefusal::kNotAPlainName
                        ? words.name_not_plain
                        : words.name_programs_own;
  settings_view_.ShowError({words.name_title, FillIn(why, report.refused_page_file_name)});
}

bool ProgramController::Save(const std::string& consequence) {
  const ProgramFolders folders = surroundings_.Folders();
  const std::string& app_folder = folders.own;
  Status saved = MakeOwnFolder(folders);
  if (saved.ok()) saved = SaveSettings(state_, app_folder);
  if (saved.ok()) return true;
  const SaveFailureWords& words = SaveFailureWordsFor(state_.language_code);
  settings_view_.ShowError(
      {words.title, std::string(words.cannot_write) + " " + app_folder + kSettingsFileName + ":\n" +
                        ReasonInLanguage(saved, state_.language_code) + "\n\n" + consequence});
  return false;
}

}  // namespace qv
