#include "ui/program.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QScreen>
#include <algorithm>

#include "generator/side_files.h"
#include "generator/start_page.h"
#include "settings/settings_file.h"
#include "ui/main_window.h"
#include "ui/page_preview.h"
#include "ui/settings_window.h"

namespace qv {

// The run's surroundings as the program has them: everything from the given
// surroundings, except that the page goes to the preview.
class Program::PreviewSurroundings : public RunSurroundings {
 public:
  PreviewSurroundings(RunSurroundings& base, PagePreview& preview)
      : base_(base), preview_(preview) {}

  std::string AppFolder() override { return base_.AppFolder(); }
  RegistryApi& Registry() override { return base_.Registry(); }
  CalendarDate Today() override { return base_.Today(); }
  void Navigate(const std::string& page_path) override {
    preview_.Navigate(QString::fromStdString(page_path));
  }

 private:
  RunSurroundings& base_;
  PagePreview& preview_;
};

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

const SaveFailureWords& SaveFailureWordsFor(int language_code) {
  return LanguageOfCode(language_code) == Language::kDutch ? kDutchSaveFailure
                                                           : kEnglishSaveFailure;
}

}  // namespace

Program::Program(RunSurroundings& surroundings, PagePreview* preview, DocumentOpener open)
    : surroundings_(std::make_unique<PreviewSurroundings>(surroundings, *preview)),
      main_window_(std::make_unique<MainWindow>(preview)),
      open_(std::move(open)),
      end_program_([] { QCoreApplication::exit(0); }) {
  connect(main_window_.get(), &MainWindow::Activated, this, &Program::ShowSettingsWindow);
}

Program::~Program() = default;

void Program::Start() {
  Rebuild();
  main_window_->show();
  // Ask for the activation that brings up the settings window; a desktop
  // without a window manager would not give it on its own.
  main_window_->activateWindow();
}

SettingsWindow& Program::Form2Instance() {
  if (!settings_window_) {
    settings_window_ = std::make_unique<SettingsWindow>();
    settings_window_->ShowState(state_);
    ConnectSettingsWindow(*settings_window_);
  }
  return *settings_window_;
}

void Program::ConnectSettingsWindow(SettingsWindow& window) {
  connect(&window, &SettingsWindow::Activated, this,
          [this] { ApplyCaptionSet(LanguageOfCode(state_.LanguageCode)); });
  connect(&window, &SettingsWindow::CloseRequested, this, &Program::CloseSettings);
  connect(&window, &SettingsWindow::FieldEdited, this, &Program::EditField);
  connect(&window, &SettingsWindow::ColourCodeEdited, this, &Program::EditColourCode);
  connect(&window, &SettingsWindow::DefaultColourClicked, this, &Program::RestoreDefaultColour);
  connect(&window, &SettingsWindow::TitleSizeClicked, this, &Program::SelectTitleSize);
  connect(&window, &SettingsWindow::RebuildRequested, this, &Program::SaveAndRebuild);
  connect(&window, &SettingsWindow::MakerLinkClicked, this, &Program::OpenMakerSite);
  connect(&window, &SettingsWindow::LanguageChosen, this, &Program::ApplyCaptionSet);
}

void Program::ShowSettingsWindow() {
  SettingsWindow& window = Form2Instance();
  if (window.isVisible()) return;
  // It stands beside the main window, as far as the screen allows.
  const QRect main_frame = main_window_->frameGeometry();
  const QRect screen = main_window_->screen()->availableGeometry();
  window.adjustSize();
  const int x = std::max(
      screen.left(),
      std::min(main_frame.right() + 1, screen.right() + 1 - window.frameGeometry().width()));
  window.move(x, std::max(screen.top(), main_frame.top()));
  window.show();
  window.activateWindow();
}

void Program::ApplyCaptionSet(Language language) {
  state_.LanguageCode = static_cast<std::int16_t>(LanguageCodeOf(language));
  const CaptionSet& captions = CaptionsOf(language);
  Form2Instance().ShowCaptions(captions);
  main_window_->setWindowTitle(QString::fromUtf8(captions.main_title));
}

void Program::SaveAndRebuild() {
  if (!Save(QString::fromUtf8(SaveFailureWordsFor(state_.LanguageCode).kept))) return;
  state_.PageFileName = PageFileNameFrom(state_.settings.T[kPageFileField]);
  Rebuild();
  // A main window the user closed comes back to show the new page.
  if (!main_window_->isVisible()) main_window_->show();
}

void Program::CloseSettings() {
  if (ending_) return;
  ending_ = true;
  if (Save(QString::fromUtf8(SaveFailureWordsFor(state_.LanguageCode).ending))) {
    state_.PageFileName = PageFileNameFrom(state_.settings.T[kPageFileField]);
  }
  end_program_();
}

bool Program::Save(const QString& consequence) {
  const std::string app_folder = surroundings_->AppFolder();
  const Status saved = SaveSettings(state_, app_folder);
  if (saved.ok()) return true;
  const SaveFailureWords& words = SaveFailureWordsFor(state_.LanguageCode);
  const QString file = QString::fromStdString(app_folder + kSettingsFileName);
  QMessageBox message(QMessageBox::Critical, QString::fromUtf8(words.title),
                      QStringLiteral("%1 %2:\n%3\n\n%4")
                          .arg(QString::fromUtf8(words.cannot_write), file,
                               QString::fromStdString(saved.reason()), consequence),
                      QMessageBox::Ok, settings_window_.get());
  message.exec();
  return false;
}

void Program::Rebuild() {
  BuildStartPage(state_, *surroundings_);
  Form2Instance().ShowState(state_);
}

void Program::EditField(int field, const QString& text) {
  state_.settings.T[field] = text.toStdString();
  ApplyFieldChangeRule(state_.settings, field);
  Form2Instance().ShowState(state_);
}

void Program::EditColourCode(int group, const QString& code) {
  state_.settings.Text1[group] = code.toStdString();
}

void Program::RestoreDefaultColour(int group) {
  state_.settings.Text1[group] = kDefaultColours[group];
  Form2Instance().ShowState(state_);
  SaveAndRebuild();
}

void Program::SelectTitleSize(int option) {
  SelectTitleSizeOption(state_, option);
  Form2Instance().ShowState(state_);
}

void Program::OpenMakerSite() {
  OpenDocument(QString::fromUtf8(kMakerSiteAddress), open_);
}

}  // namespace qv
