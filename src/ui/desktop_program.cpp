#include "ui/desktop_program.h"

#include <QCoreApplication>

namespace qv {

DesktopProgram::DesktopProgram(RunSurroundings& surroundings, PagePreview* preview,
                               DocumentOpener open, FolderChooser choose)
    : main_window_(std::make_unique<MainWindow>(preview)),
      settings_window_(std::make_unique<SettingsWindow>(main_window_.get())),
      desktop_(std::move(open), std::move(choose)),
      import_dialogs_(settings_window_.get()),
      controller_(surroundings, *main_window_, *settings_window_, desktop_,
                  [] { QCoreApplication::exit(0); }) {
  controller_.set_favorites_watch(&favorites_watch_);
  controller_.set_bookmark_import(&importer_, &import_dialogs_);
  desktop_.set_open_failed([this](const std::string& document, int exit_code) {
    controller_.DocumentOpenFailed(document, exit_code);
  });
  Connect();
}

DesktopProgram::~DesktopProgram() = default;

void DesktopProgram::Connect() {
  ProgramController& c = controller_;
  SettingsWindow* window = settings_window_.get();
  connect(main_window_.get(), &MainWindow::Activated, this, [&c] { c.MainWindowActivated(); });
  connect(window, &SettingsWindow::Activated, this, [&c] { c.SettingsWindowActivated(); });
  connect(window, &SettingsWindow::CloseRequested, this, [&c] { c.SettingsWindowClosed(); });
  connect(window, &SettingsWindow::FieldEdited, this,
          [&c](TextField field, const QString& text) { c.FieldEdited(field, text.toStdString()); });
  connect(
      window, &SettingsWindow::ColourCodeEdited, this,
      [&c](Colour colour, const QString& code) { c.ColourCodeEdited(colour, code.toStdString()); });
  connect(window, &SettingsWindow::DefaultColourClicked, this,
          [&c](Colour colour) { c.DefaultColourClicked(colour); });
  connect(window, &SettingsWindow::SlidersMoved, this,
          [&c](Colour colour, int red, int green, int blue) {
            c.SlidersMoved(colour, red, green, blue);
          });
  connect(window, &SettingsWindow::TitleSizeClicked, this,
          [&c](int option) { c.TitleSizeClicked(option); });
  connect(window, &SettingsWindow::RefreshClicked, this, [&c] { c.RefreshClicked(); });
  connect(window, &SettingsWindow::ImportClicked, this, [&c] { c.ImportClicked(); });
  connect(window, &SettingsWindow::MakerLinkClicked, this, [&c] { c.MakerLinkClicked(); });
  connect(&favorites_watch_, &QtFavoritesWatch::Changed, this, [&c] { c.FavoritesChanged(); });
  connect(window, &SettingsWindow::ChooseFolderClicked, this,
          [&c] { c.ChooseFavoritesFolderClicked(); });
  connect(window, &SettingsWindow::OpenInBrowserClicked, this, [&c] { c.OpenInBrowserClicked(); });
  connect(window, &SettingsWindow::LanguageChosen, this,
          [&c](Language language) { c.LanguageChosen(language); });
}

}  // namespace qv
