#include "control/program_controller.h"

#include <cstdio>

#include "run/start_page.h"
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

}  // namespace

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

void ProgramController::Start() {
  Rebuild();
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
  Save(SaveFailureWordsFor(state_.language_code).ending);
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
  SaveAndRebuild();
}

void ProgramController::SlidersMoved(Colour colour, int red, int green, int blue) {
  CodeOf(state_.settings, colour) = SliderColourCode(red, green, blue);
  settings_view_.ShowState(state_);
  SaveAndRebuild();
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

const CaptionSet& ProgramController::Captions() const {
  return CaptionsOf(LanguageOfCode(state_.language_code));
}

void ProgramController::SaveAndRebuild() {
  if (!Save(SaveFailureWordsFor(state_.language_code).kept)) return;
  Rebuild();
  // A main window the user closed comes back to show the new page.
  if (!main_view_.IsShown()) main_view_.Show();
}

void ProgramController::Rebuild() {
  const RunReport report = BuildStartPage(state_, surroundings_);
  page_path_ = report.page_path;
  main_view_.ShowPage(report.page_path);
  settings_view_.ShowState(state_);
}

bool ProgramController::Save(const std::string& consequence) {
  const std::string app_folder = surroundings_.AppFolder();
  const Status saved = SaveSettings(state_, app_folder);
  if (saved.ok()) return true;
  const SaveFailureWords& words = SaveFailureWordsFor(state_.language_code);
  settings_view_.ShowError({words.title, std::string(words.cannot_write) + " " + app_folder +
                                             kSettingsFileName + ":\n" + saved.reason() + "\n\n" +
                                             consequence});
  return false;
}

}  // namespace qv
