#include "ui/settings_window.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QColor>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "ui/clickable_label.h"
#include "ui/flag_pictures.h"
#include "ui/twips.h"

namespace qv {
namespace {

constexpr int kDesignDotsPerInch = 96;

QString Indexed(const char* name, int index) {
  return QString::fromLatin1(name) + QString::number(index);
}

// Replaces the text of `field` when it differs, the caret staying where it was.
void SetTextKeepingCaret(QLineEdit* field, const QString& text) {
  if (field->text() == text) return;
  const int caret = field->cursorPosition();
  field->setText(text);
  field->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
}

// A click in a slider's track moves it one step, whatever the desktop's style
// would do (some jump straight to the clicked place).
class StepwiseTrackStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* answer) const override {
    if (hint == SH_ScrollBar_LeftClickAbsolutePosition) return 0;
    return QProxyStyle::styleHint(hint, option, widget, answer);
  }
};

// One for the whole program, living as long as the application, so that it
// outlasts every slider that uses it.
QStyle* SliderStyle() {
  static QPointer<QStyle> style;
  if (!style) {
    style = new StepwiseTrackStyle;
    style->setParent(QCoreApplication::instance());
  }
  return style;
}

QScrollBar* NewSlider(QWidget* parent, const QString& name) {
  auto* slider = new QScrollBar(Qt::Horizontal, parent);
  slider->setStyle(SliderStyle());
  slider->setObjectName(name);
  slider->setRange(0, kSliderMaximum);
  slider->setSingleStep(1);
  slider->setPageStep(1);
  // A drag of the thumb reports its position once, when it is let go.
  slider->setTracking(false);
  slider->setMinimumWidth(96);
  return slider;
}

}  // namespace

QString SliderColourCode(int red, int green, int blue) {
  return QStringLiteral("#%1%2%3")
      .arg(red, 2, 16, QLatin1Char('0'))
      .arg(green, 2, 16, QLatin1Char('0'))
      .arg(blue, 2, 16, QLatin1Char('0'))
      .toUpper();
}

SettingsWindow::SettingsWindow(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Form2"));
  auto* layout = new QVBoxLayout(this);
  auto* colours = new QVBoxLayout;
  colours->setSpacing(4);
  for (int group = 0; group < kColourCount; ++group) colours->addWidget(BuildColourRow(group));
  layout->addLayout(colours);
  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  layout->addWidget(rule);
  layout->addWidget(BuildFieldGrid());
  layout->addWidget(BuildBottomRow());
  ShowCaptions(kCreatedCaptions);
  for (int group = 0; group < kColourCount; ++group) ShowSwatch(group);
}

QWidget* SettingsWindow::BuildColourRow(int group) {
  ColourGroup& parts = groups_[group];
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);

  parts.swatch = new QFrame(row);
  parts.swatch->setObjectName(Indexed("Swatch", group));
  parts.swatch->setFrameShape(QFrame::Box);
  parts.swatch->setFixedSize(26, 26);
  parts.swatch->setAutoFillBackground(true);
  layout->addWidget(parts.swatch);

  parts.code = new QLineEdit(row);
  parts.code->setObjectName(Indexed("Text1_", group));
  parts.code->setFixedWidth(
      parts.code->fontMetrics().horizontalAdvance(QStringLiteral("#MMMMMMM")));
  layout->addWidget(parts.code);
  connect(parts.code, &QLineEdit::textEdited, this,
          [this, group](const QString& code) { emit ColourCodeEdited(group, code); });
  connect(parts.code, &QLineEdit::textChanged, this, [this, group] { ShowSwatch(group); });

  parts.standard = new QPushButton(row);
  parts.standard->setObjectName(Indexed("Command2_", group));
  layout->addWidget(parts.standard);
  connect(parts.standard, &QPushButton::clicked, this,
          [this, group] { emit DefaultColourClicked(group); });

  parts.frame = new QFrame(row);
  parts.frame->setObjectName(Indexed("Frame1_", group));
  parts.frame->setFrameShape(QFrame::StyledPanel);
  auto* sliders = new QHBoxLayout(parts.frame);
  sliders->setContentsMargins(8, 3, 8, 3);
  const std::array<const char*, kSlidersPerGroup> slider_names = {"HScroll1_", "HScroll2_",
                                                                  "HScroll3_"};
  const std::array<const char*, kSlidersPerGroup> caption_names = {"Label1_", "Label2_", "Label3_"};
  for (int s = 0; s < kSlidersPerGroup; ++s) {
    parts.captions[s] = new QLabel(parts.frame);
    parts.captions[s]->setObjectName(Indexed(caption_names[s], group));
    parts.captions[s]->setMinimumWidth(
        parts.captions[s]->fontMetrics().horizontalAdvance(QStringLiteral("Blauw ")));
    parts.sliders[s] = NewSlider(parts.frame, Indexed(slider_names[s], group));
    sliders->addWidget(parts.captions[s]);
    sliders->addWidget(parts.sliders[s], 1);
    if (s + 1 < kSlidersPerGroup) sliders->addSpacing(10);
    connect(parts.sliders[s], &QScrollBar::valueChanged, this,
            [this, group] { ApplySliderColour(group); });
  }
  layout->addWidget(parts.frame, 1);
  return row;
}

QWidget* SettingsWindow::BuildFieldGrid() {
  auto* grid_widget = new QWidget(this);
  auto* grid = new QGridLayout(grid_widget);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(4);
  for (int field = 0; field < kFieldCount; ++field) {
    labels_[field] = new QLabel(grid_widget);
    labels_[field]->setObjectName(Indexed("lab", field));
    fields_[field] = new QLineEdit(grid_widget);
    fields_[field]->setObjectName(Indexed("T", field));
    labels_[field]->setBuddy(fields_[field]);
    grid->addWidget(labels_[field], field, 0, Qt::AlignRight | Qt::AlignVCenter);
    connect(fields_[field], &QLineEdit::textEdited, this,
            [this, field](const QString& text) { emit FieldEdited(field, text); });
    if (field != kTitleSizeField) grid->addWidget(fields_[field], field, 1);
  }
  fields_[0]->setMinimumWidth(fields_[0]->fontMetrics().averageCharWidth() * 52);
  grid->addWidget(BuildTitleSizeRow(), kTitleSizeField, 1);
  grid->setColumnStretch(1, 1);
  return grid_widget;
}

QWidget* SettingsWindow::BuildTitleSizeRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  QLineEdit* size_field = fields_[kTitleSizeField];
  size_field->setParent(row);
  size_field->setFixedWidth(size_field->fontMetrics().horizontalAdvance(QStringLiteral("MMMM")));
  layout->addWidget(size_field);
  layout->addSpacing(12);
  title_size_group_ = new QButtonGroup(this);
  for (int option = 0; option < kTitleSizeOptionCount; ++option) {
    title_sizes_[option] = new QRadioButton(QString::number(option + 1), row);
    title_sizes_[option]->setObjectName(Indexed("Option1_", option));
    title_size_group_->addButton(title_sizes_[option], option);
    layout->addWidget(title_sizes_[option]);
    connect(title_sizes_[option], &QRadioButton::clicked, this,
            [this, option] { emit TitleSizeClicked(option); });
  }
  layout->addStretch(1);
  return row;
}

QWidget* SettingsWindow::BuildBottomRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 8, 0, 0);

  refresh_ = new QPushButton(row);
  refresh_->setObjectName(QStringLiteral("Command1"));
  refresh_->setMinimumWidth(refresh_->fontMetrics().horizontalAdvance(QStringLiteral("Verversen")) +
                            48);
  layout->addWidget(refresh_, 0, Qt::AlignVCenter);
  connect(refresh_, &QPushButton::clicked, this, &SettingsWindow::RebuildRequested);

  maker_link_ = new ClickableLabel(QString::fromUtf8(kMakerSiteCaption), row);
  maker_link_->setObjectName(QStringLiteral("Label5"));
  maker_link_->setCursor(Qt::PointingHandCursor);
  maker_link_->setStyleSheet(QStringLiteral("color: palette(link); text-decoration: underline;"));
  layout->addStretch(1);
  layout->addWidget(maker_link_, 0, Qt::AlignVCenter);
  layout->addStretch(1);
  connect(maker_link_, &ClickableLabel::clicked, this, &SettingsWindow::MakerLinkClicked);

  const double scale = ScreenDotsPerInch(*this) / kDesignDotsPerInch;
  dutch_flag_ = new ClickableLabel(row);
  dutch_flag_->setObjectName(QStringLiteral("Image1"));
  dutch_flag_->setPixmap(DutchFlag(scale, devicePixelRatioF()));
  british_flag_ = new ClickableLabel(row);
  british_flag_->setObjectName(QStringLiteral("Image2"));
  british_flag_->setPixmap(BritishFlag(scale, devicePixelRatioF()));
  for (ClickableLabel* flag : {dutch_flag_, british_flag_}) {
    flag->setCursor(Qt::PointingHandCursor);
    layout->addWidget(flag, 0, Qt::AlignVCenter);
  }
  connect(dutch_flag_, &ClickableLabel::clicked, this,
          [this] { emit LanguageChosen(Language::kDutch); });
  connect(british_flag_, &ClickableLabel::clicked, this,
          [this] { emit LanguageChosen(Language::kEnglish); });
  return row;
}

void SettingsWindow::ShowState(const ProgramState& state) {
  for (int field = 0; field < kFieldCount; ++field) {
    SetTextKeepingCaret(fields_[field], QString::fromStdString(state.settings.T[field]));
  }
  for (int group = 0; group < kColourCount; ++group) {
    SetTextKeepingCaret(groups_[group].code, QString::fromStdString(state.settings.Text1[group]));
  }
  const int option = state.selectedTitleSizeOption;
  if (option >= 0 && option < kTitleSizeOptionCount) {
    title_sizes_[option]->setChecked(true);
  } else if (QAbstractButton* checked = title_size_group_->checkedButton()) {
    // An exclusive group never lets its last button go; lift that for a moment.
    title_size_group_->setExclusive(false);
    checked->setChecked(false);
    title_size_group_->setExclusive(true);
  }
}

void SettingsWindow::ShowCaptions(const CaptionSet& captions) {
  for (int field = 0; field < kFieldCount; ++field) {
    labels_[field]->setText(QString::fromUtf8(captions.lab[field]));
  }
  const std::array<const char*, kSlidersPerGroup> slider_captions = {captions.red, captions.green,
                                                                     captions.blue};
  for (ColourGroup& group : groups_) {
    for (int s = 0; s < kSlidersPerGroup; ++s) {
      group.captions[s]->setText(QString::fromUtf8(slider_captions[s]));
    }
  }
  refresh_->setText(QString::fromUtf8(captions.refresh));
  for (ColourGroup& group : groups_) group.standard->setText(QString::fromUtf8(captions.standard));
  setWindowTitle(QString::fromUtf8(captions.settings_title));
}

void SettingsWindow::ApplySliderColour(int group) {
  const ColourGroup& parts = groups_[group];
  const QString code =
      SliderColourCode(parts.sliders[kRedSlider]->value(), parts.sliders[kGreenSlider]->value(),
                       parts.sliders[kBlueSlider]->value());
  parts.code->setText(code);
  emit ColourCodeEdited(group, code);
  emit RebuildRequested();
}

void SettingsWindow::ShowSwatch(int group) {
  const ColourGroup& parts = groups_[group];
  const QColor colour = QColor::fromString(parts.code->text().trimmed());
  QPalette palette = parts.swatch->palette();
  // A code that names no colour shows as hatching, not as some other colour.
  palette.setBrush(QPalette::Window,
                   colour.isValid() ? QBrush(colour) : QBrush(Qt::gray, Qt::BDiagPattern));
  parts.swatch->setPalette(palette);
}

bool SettingsWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) emit Activated();
  return QWidget::event(event);
}

void SettingsWindow::closeEvent(QCloseEvent* event) {
  emit CloseRequested();
  event->accept();
}

}  // namespace qv
