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
#include <QMessageBox>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/clickable_label.h"
#include "ui/flag_pictures.h"
#include "ui/twips.h"

namespace qv {
namespace {

constexpr int kDesignDotsPerInch = 96;

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

constexpr std::array<Channel, kChannelCount> kChannels = {Channel::kRed, Channel::kGreen,
                                                          Channel::kBlue};

}  // namespace

SettingsWindow::SettingsWindow(QWidget* main_window, QWidget* parent)
    : QWidget(parent), main_window_(main_window) {
  setObjectName(QStringLiteral("settingsWindow"));
  auto* layout = new QVBoxLayout(this);
  auto* colours = new QVBoxLayout;
  colours->setSpacing(4);
  for (const Colour colour : kColours) colours->addWidget(BuildColourRow(colour));
  layout->addLayout(colours);
  auto* rule = new QFrame(this);
  rule->setFrameShape(QFrame::HLine);
  rule->setFrameShadow(QFrame::Sunken);
  layout->addWidget(rule);
  layout->addWidget(BuildFieldGrid());
  layout->addWidget(BuildBottomRow());
  ShowCaptions(kCreatedCaptions);
  for (const Colour colour : kColours) ShowSwatch(colour);
}

QWidget* SettingsWindow::BuildColourRow(Colour colour) {
  ColourGroup& parts = GroupOf(colour);
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);

  parts.swatch = new QFrame(row);
  parts.swatch->setObjectName(SwatchObjectName(colour));
  parts.swatch->setFrameShape(QFrame::Box);
  parts.swatch->setFixedSize(26, 26);
  parts.swatch->setAutoFillBackground(true);
  layout->addWidget(parts.swatch);

  parts.code = new QLineEdit(row);
  parts.code->setObjectName(CodeFieldObjectName(colour));
  parts.code->setFixedWidth(
      parts.code->fontMetrics().horizontalAdvance(QStringLiteral("#MMMMMMM")));
  layout->addWidget(parts.code);
  connect(parts.code, &QLineEdit::textEdited, this,
          [this, colour](const QString& code) { emit ColourCodeEdited(colour, code); });
  connect(parts.code, &QLineEdit::textChanged, this, [this, colour] { ShowSwatch(colour); });

  parts.default_button = new QPushButton(row);
  parts.default_button->setObjectName(DefaultButtonObjectName(colour));
  layout->addWidget(parts.default_button);
  connect(parts.default_button, &QPushButton::clicked, this,
          [this, colour] { emit DefaultColourClicked(colour); });

  parts.sliders_frame = new QFrame(row);
  parts.sliders_frame->setObjectName(SlidersObjectName(colour));
  parts.sliders_frame->setFrameShape(QFrame::StyledPanel);
  auto* sliders = new QHBoxLayout(parts.sliders_frame);
  sliders->setContentsMargins(8, 3, 8, 3);
  for (const Channel channel : kChannels) {
    const int c = static_cast<int>(channel);
    parts.captions[c] = new QLabel(parts.sliders_frame);
    parts.captions[c]->setObjectName(SliderLabelObjectName(colour, channel));
    parts.captions[c]->setMinimumWidth(
        parts.captions[c]->fontMetrics().horizontalAdvance(QStringLiteral("Blauw ")));
    parts.sliders[c] = NewSlider(parts.sliders_frame, SliderObjectName(colour, channel));
    sliders->addWidget(parts.captions[c]);
    sliders->addWidget(parts.sliders[c], 1);
    if (c + 1 < kChannelCount) sliders->addSpacing(10);
    connect(parts.sliders[c], &QScrollBar::valueChanged, this,
            [this, colour] { ReportSliders(colour); });
  }
  layout->addWidget(parts.sliders_frame, 1);
  return row;
}

QWidget* SettingsWindow::BuildFieldGrid() {
  auto* grid_widget = new QWidget(this);
  auto* grid = new QGridLayout(grid_widget);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(12);
  grid->setVerticalSpacing(4);
  for (const TextField field : kTextFields) {
    const int row = static_cast<int>(field);
    labels_[row] = new QLabel(grid_widget);
    labels_[row]->setObjectName(FieldLabelObjectName(field));
    fields_[row] = new QLineEdit(grid_widget);
    fields_[row]->setObjectName(FieldObjectName(field));
    labels_[row]->setBuddy(fields_[row]);
    grid->addWidget(labels_[row], row, 0, Qt::AlignRight | Qt::AlignVCenter);
    connect(fields_[row], &QLineEdit::textEdited, this,
            [this, field](const QString& text) { emit FieldEdited(field, text); });
    if (field != TextField::kTitleSize) grid->addWidget(fields_[row], row, 1);
  }
  // The first field sets the width of them all.
  QLineEdit* title = FieldOf(TextField::kPageTitle);
  title->setMinimumWidth(title->fontMetrics().averageCharWidth() * 52);
  grid->addWidget(BuildTitleSizeRow(), static_cast<int>(TextField::kTitleSize), 1);
  grid->setColumnStretch(1, 1);
  return grid_widget;
}

QWidget* SettingsWindow::BuildTitleSizeRow() {
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  QLineEdit* size_field = FieldOf(TextField::kTitleSize);
  size_field->setParent(row);
  size_field->setFixedWidth(size_field->fontMetrics().horizontalAdvance(QStringLiteral("MMMM")));
  layout->addWidget(size_field);
  layout->addSpacing(12);
  title_size_group_ = new QButtonGroup(this);
  for (int option = 0; option < kTitleSizeOptionCount; ++option) {
    title_sizes_[option] = new QRadioButton(QString::number(option + 1), row);
    title_sizes_[option]->setObjectName(TitleSizeButtonObjectName(option));
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
  refresh_->setObjectName(QStringLiteral("refreshButton"));
  refresh_->setMinimumWidth(refresh_->fontMetrics().horizontalAdvance(QStringLiteral("Verversen")) +
                            48);
  layout->addWidget(refresh_, 0, Qt::AlignVCenter);
  connect(refresh_, &QPushButton::clicked, this, &SettingsWindow::RefreshClicked);
  import_bookmarks_ = new QPushButton(row);
  import_bookmarks_->setObjectName(QStringLiteral("importBookmarksButton"));
  layout->addWidget(import_bookmarks_, 0, Qt::AlignVCenter);
  connect(import_bookmarks_, &QPushButton::clicked, this, &SettingsWindow::ImportClicked);

  maker_link_ = new ClickableLabel(QString::fromUtf8(kMakerSiteCaption), row);
  maker_link_->setObjectName(QStringLiteral("makerLink"));
  maker_link_->setCursor(Qt::PointingHandCursor);
  maker_link_->setStyleSheet(QStringLiteral("color: palette(link); text-decoration: underline;"));
  layout->addStretch(1);
  layout->addWidget(maker_link_, 0, Qt::AlignVCenter);
  layout->addStretch(1);
  connect(maker_link_, &ClickableLabel::clicked, this, &SettingsWindow::MakerLinkClicked);

  const double scale = ScreenDotsPerInch(*this) / kDesignDotsPerInch;
  dutch_flag_ = new ClickableLabel(row);
  dutch_flag_->setObjectName(QStringLiteral("dutchFlag"));
  dutch_flag_->setPixmap(DutchFlag(scale, devicePixelRatioF()));
  british_flag_ = new ClickableLabel(row);
  british_flag_->setObjectName(QStringLiteral("britishFlag"));
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
  for (const TextField field : kTextFields) {
    SetTextKeepingCaret(FieldOf(field), QString::fromStdString(TextOf(state.settings, field)));
  }
  for (const Colour colour : kColours) {
    SetTextKeepingCaret(GroupOf(colour).code,
                        QString::fromStdString(CodeOf(state.settings, colour)));
  }
  const int option = state.selected_title_size;
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
  for (const TextField field : kTextFields) {
    labels_[static_cast<int>(field)]->setText(QString::fromUtf8(FieldLabel(captions, field)));
  }
  const std::array<const char*, kChannelCount> slider_captions = {captions.red, captions.green,
                                                                  captions.blue};
  for (ColourGroup& group : groups_) {
    for (int c = 0; c < kChannelCount; ++c) {
      group.captions[c]->setText(QString::fromUtf8(slider_captions[c]));
    }
  }
  refresh_->setText(QString::fromUtf8(captions.refresh));
  import_bookmarks_->setText(QString::fromUtf8(captions.import_bookmarks));
  for (ColourGroup& group : groups_) {
    group.default_button->setText(QString::fromUtf8(captions.standard));
  }
  setWindowTitle(QString::fromUtf8(captions.settings_title));
}

void SettingsWindow::Show() {
  if (main_window_ != nullptr) {
    // It stands beside the main window, as far as the screen allows.
    const QRect main_frame = main_window_->frameGeometry();
    const QRect screen = main_window_->screen()->availableGeometry();
    adjustSize();
    const int x = std::max(screen.left(), std::min(main_frame.right() + 1,
                                                   screen.right() + 1 - frameGeometry().width()));
    move(x, std::max(screen.top(), main_frame.top()));
  }
  show();
  activateWindow();
}

void SettingsWindow::ShowError(const Message& message) {
  QMessageBox box(QMessageBox::Critical, QString::fromStdString(message.title),
                  QString::fromStdString(message.text), QMessageBox::Ok, this);
  box.exec();
}

void SettingsWindow::ReportSliders(Colour colour) {
  const ColourGroup& parts = GroupOf(colour);
  emit SlidersMoved(colour, parts.sliders[static_cast<int>(Channel::kRed)]->value(),
                    parts.sliders[static_cast<int>(Channel::kGreen)]->value(),
                    parts.sliders[static_cast<int>(Channel::kBlue)]->value());
}

void SettingsWindow::ShowSwatch(Colour colour) {
  const ColourGroup& parts = GroupOf(colour);
  const QColor shown = QColor::fromString(parts.code->text().trimmed());
  QPalette palette = parts.swatch->palette();
  // A code that names no colour shows as hatching, not as some other colour.
  palette.setBrush(QPalette::Window,
                   shown.isValid() ? QBrush(shown) : QBrush(Qt::gray, Qt::BDiagPattern));
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
