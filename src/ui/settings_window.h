// The settings window: the fields, colour groups, title-size buttons, refresh
// button, maker's link and flags. It shows the program's values and reports
// the user's actions as signals; the program decides what they do.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "control/views.h"
#include "ui/object_names.h"
#include "ui/qt_translations.h"

class QAbstractButton;
class QHBoxLayout;
class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace qv {

class ClickableLabel;
class ColourSwatch;

class SettingsWindow : public QWidget, public SettingsView {
  Q_OBJECT

 public:
  // Shows itself beside `main_window`.
  explicit SettingsWindow(QWidget* main_window, QWidget* parent = nullptr);

  // Only the user's own input raises the signals below, so these writes never
  // save or rebuild.
  void ShowState(const ProgramState& state) override;
  void ShowCaptions(const CaptionSet& captions) override;
  void Show() override;
  bool IsShown() const override { return isVisible(); }
  void ShowFavoritesFolderMissing(bool missing) override;
  void ShowPagePath(const std::string& path) override;
  void ShowError(const Message& message) override;

 signals:
  void Activated();
  void CloseRequested();
  void FieldEdited(TextField field, const QString& text);
  void ColourCodeEdited(Colour colour, const QString& code);
  void DefaultColourClicked(Colour colour);
  // A slider of `colour` has come to rest; the group's three positions.
  void SlidersMoved(Colour colour, int red, int green, int blue);
  void TitleSizeClicked(int option);
  void RefreshClicked();
  void ImportClicked();
  void MakerLinkClicked();
  void ChooseFolderClicked();
  void OpenInBrowserClicked();
  void LanguageChosen(Language language);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct ColourGroup {
    ColourSwatch* swatch = nullptr;
    QLineEdit* code = nullptr;
    QPushButton* default_button = nullptr;
    QFrame* sliders_frame = nullptr;
    std::array<QLabel*, kChannelCount> captions{};     // by channel
    std::array<QScrollBar*, kChannelCount> sliders{};  // by channel
  };

  QWidget* BuildColourRow(Colour colour);
  QWidget* BuildFieldGrid();
  QWidget* BuildTitleSizeRow();
  QWidget* BuildFavoritesRow(QWidget* parent);
  QWidget* BuildBottomRow();
  // Tab goes through the controls in reading order: row by row, left to right.
  void SetTabOrder();
  void ReportSliders(Colour colour);
  void ShowSwatches();
  // The names assistive technology reads for the controls.
  void NameControls(const AccessibleNames& names);
  // The sliders of `colour` tell the code that their next move replaces.
  void DescribeSliders(Colour colour);
  // The Favorites field tells the mark's warning while the mark shows.
  void DescribeFavoritesField();
  // Tab enters the title-size buttons at the chosen one (the first while
  // none is), as it enters any group of option buttons; the arrow keys move
  // between them.
  void KeepTitleSizeTabStop();
  // The captions alone, without Qt's own words following them.
  void ApplyCaptions(const CaptionSet& captions);
  // The sizes that hold the window's controls with the longest caption of
  // every language: at their ease, and at the least.
  struct Sizes {
    QSize preferred;
    QSize least;
  };
  Sizes SizesForEveryLanguage();
  ColourGroup& GroupOf(Colour colour) { return groups_[static_cast<int>(colour)]; }
  QLineEdit*& FieldOf(TextField field) { return fields_[static_cast<int>(field)]; }

  QWidget* main_window_;
  std::array<ColourGroup, kColourCount> groups_;                    // by colour
  std::array<QLabel*, kTextFieldCount> labels_{};                   // by text field
  std::array<QLineEdit*, kTextFieldCount> fields_{};                // by text field
  std::array<QRadioButton*, kTitleSizeOptionCount> title_sizes_{};  // by option
  QButtonGroup* title_size_group_ = nullptr;
  QWidget* title_size_buttons_ = nullptr;  // holds them
  const CaptionSet* captions_ = &kCreatedCaptions;
  QtTranslations qt_translations_;
  QPushButton* choose_folder_ = nullptr;
  QAction* favorites_missing_ = nullptr;  // the mark inside the Favorites field
  QLabel* page_path_label_ = nullptr;
  QLineEdit* page_path_ = nullptr;  // where the page last built is, read only
  // The row of buttons under the fields, left to right.
  QHBoxLayout* buttons_ = nullptr;
  QPushButton* refresh_ = nullptr;
  QPushButton* import_bookmarks_ = nullptr;
  QPushButton* open_in_browser_ = nullptr;
  ClickableLabel* maker_link_ = nullptr;
  ClickableLabel* dutch_flag_ = nullptr;
  ClickableLabel* british_flag_ = nullptr;
};

}  // namespace qv
