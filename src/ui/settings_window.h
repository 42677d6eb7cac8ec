// Form2, the settings window: the fields, colour groups, title-size buttons,
// refresh button, maker's link and flags. It shows the program's values and
// reports the user's actions; the program decides what they do.
#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "generator/types.h"
#include "ui/caption_tables.h"

class QAbstractButton;
class QButtonGroup;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;

namespace qv {

class ClickableLabel;

// The three sliders of a colour group: HScroll1 red, HScroll2 green, HScroll3 blue.
inline constexpr int kRedSlider = 0;
inline constexpr int kGreenSlider = 1;
inline constexpr int kBlueSlider = 2;
inline constexpr int kSlidersPerGroup = 3;
inline constexpr int kSliderMaximum = 255;

// "#" and two upper-case hexadecimal digits each for red, green and blue.
QString SliderColourCode(int red, int green, int blue);

class SettingsWindow : public QWidget {
  Q_OBJECT

 public:
  explicit SettingsWindow(QWidget* parent = nullptr);

  // Writes the values of `state` into the fields and selects its title-size
  // button. Only the user's own input raises the signals below, so the
  // program's writes never save or rebuild.
  void ShowState(const ProgramState& state);
  void ShowCaptions(const CaptionSet& captions);

  // Builds the code of colour group `group` from its three sliders, writes it
  // into the group's code field, reports it and asks for a rebuild.
  void ApplySliderColour(int group);

 signals:
  void Activated();
  void CloseRequested();
  void FieldEdited(int field, const QString& text);
  void ColourCodeEdited(int group, const QString& code);
  void DefaultColourClicked(int group);
  void TitleSizeClicked(int option);
  void RebuildRequested();
  void MakerLinkClicked();
  void LanguageChosen(Language language);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  struct ColourGroup {
    QFrame* swatch = nullptr;
    QLineEdit* code = nullptr;                            // Text1(i)
    QPushButton* standard = nullptr;                      // Command2(i)
    QFrame* frame = nullptr;                              // Frame1(i)
    std::array<QLabel*, kSlidersPerGroup> captions{};     // Label1..3(i)
    std::array<QScrollBar*, kSlidersPerGroup> sliders{};  // HScroll1..3(i)
  };

  QWidget* BuildColourRow(int group);
  QWidget* BuildFieldGrid();
  QWidget* BuildTitleSizeRow();
  QWidget* BuildBottomRow();
  void ShowSwatch(int group);

  std::array<ColourGroup, kColourCount> groups_;
  std::array<QLabel*, kFieldCount> labels_{};                       // lab(i)
  std::array<QLineEdit*, kFieldCount> fields_{};                    // T(i)
  std::array<QRadioButton*, kTitleSizeOptionCount> title_sizes_{};  // Option1(i)
  QButtonGroup* title_size_group_ = nullptr;
  QPushButton* refresh_ = nullptr;          // Command1
  ClickableLabel* maker_link_ = nullptr;    // Label5
  ClickableLabel* dutch_flag_ = nullptr;    // Image1
  ClickableLabel* british_flag_ = nullptr;  // Image2
};

}  // namespace qv
