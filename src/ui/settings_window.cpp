#include "ui/settings_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QColor>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPalette>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOption>
#include <QVBoxLayout>
#include <algorithm>

#include "control/page_colour.h"
#include "control/window_placement.h"
#include "ui/accessible_controls.h"
#include "ui/clickable_label.h"
#include "ui/colour_swatch.h"
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

  // The slider that the arrow keys move shows a frame.
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override {
    QProxyStyle::drawComplexControl(control, option, painter, widget);
    if (control != CC_ScrollBar || widget == nullptr || !widget->hasFocus()) return;
    painter->save();
    painter->setPen(QPen(option->palette.color(QPalette::Highlight), 2));
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRectF(option->rect).adjusted(1, 1, -1, -1));
    painter->restore();
  }
};

// Return on a focused button does what Space does: it clicks it.
class ReturnClicks : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button == nullptr) return false;
    if (!key->isAutoRepeat()) button->click();
    return true;
  }
};

// Page Up and Page Down move a slider by kSliderPageStep, reporting at once
// as an arrow key does; the page step itself stays one, for the track.
class PageKeysStep : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_PageUp && key != Qt::Key_PageDown) return false;
    auto* slider = qobject_cast<QAbstractSlider*>(watched);
    if (slider == nullptr) return false;
    slider->setValue(slider->value() +
                     (key == Qt::Key_PageUp ? kSliderPageStep : -kSliderPageStep));
    return true;
  }
};

ScreenRect ToScreenRect(const QRect& rect) {
  return {rect.x(), rect.y(), rect.width(), rect.height()};
}

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
  // A drag of the thumb reports its position once, when it is let go; an
  // arrow key moves it one step, which reports at once.
  slider->setTracking(false);
  slider->setFocusPolicy(Qt::StrongFocus);
  // Right and Up raise the value, as on any slider (a scroll bar reverses them).
  slider->setInvertedControls(false);
  slider->installEventFilter(new PageKeysStep(slider));
  // Narrow enough that the window stands beside the main window on a laptop
  // screen; the sliders take whatever width the window has beyond that.
  slider->setMinimumWidth(56);
  return slider;
}

constexpr std::array<Channel, kChannelCount> kChannels = {Channel::kRed, Channel::kGreen,
                                                          Channel::kBlue};

}  // namespace

SettingsWindow::SettingsWindow(QWidget* main_window, QWidget* parent)
    : QWidget(parent), main_window_(main_window) {
  InstallAccessibleControls();
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
  SetTabOrder();
  auto* return_clicks = new ReturnClicks(this);
  for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
    button->installEventFilter(return_clicks);
  }
  for (QLineEdit* field : findChildren<QLineEdit*>()) {
    connect(field, &QLineEdit::returnPressed, this, &SettingsWindow::RefreshClicked);
  }
}

void SettingsWindow::SetTabOrder() {
  std::vector<QWidget*> order;
  for (const ColourGroup& group : groups_) {
    order.insert(order.end(), {group.code, group.default_button});
    order.insert(order.end(), group.sliders.begin(), group.sliders.end());
  }
  for (const TextField field : kTextFields) {
    order.push_back(FieldOf(field));
    if (field == TextField::kFavoritesFolder) order.push_back(choose_folder_);
  }
  order.insert(order.end(), title_sizes_.begin(), title_sizes_.end());
  for (int i = 0; i < buttons_->count(); ++i) {
    if (QWidget* widget = buttons_->itemAt(i)->widget()) order.push_back(widget);
  }
  order.insert(order.end(), {maker_link_, dutch_flag_, british_flag_});
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

QWidget* SettingsWindow::BuildColourRow(Colour colour) {
  ColourGroup& parts = GroupOf(colour);
  auto* row = new QWidget(this);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);

  parts.swatch = new ColourSwatch(row);
  parts.swatch->setObjectName(SwatchObjectName(colour));
  parts.swatch->setFixedSize(26, 26);
  layout->addWidget(parts.swatch);

  parts.code = new QLineEdit(row);
  parts.code->setObjectName(CodeFieldObjectName(colour));
  parts.code->setFixedWidth(
      parts.code->fontMetrics().horizontalAdvance(QStringLiteral("#MMMMMMM")));
  layout->addWidget(parts.code);
  connect(parts.code, &QLineEdit::textEdited, this,
          [this, colour](const QString& code) { emit ColourCodeEdited(colour, code); });
  // A code can change what the page makes of another group's code.
  connect(parts.code, &QLineEdit::textChanged, this, [this, colour] {
    ShowSwatches();
    DescribeSliders(colour);
  });

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
    parts.captions[c]->setBuddy(parts.sliders[c]);
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
    if (field == TextField::kFavoritesFolder) {
      grid->addWidget(BuildFavoritesRow(grid_widget), row, 1);
    } else if (field != TextField::kTitleSize) {
      grid->addWidget(fields_[row], row, 1);
    }
  }
  // The fields take the width the colour rows give the window and shrink
  // with it; a long value scrolls inside its field.
  for (QLineEdit* field : fields_)
    field->setMinimumWidth(field->fontMetrics().averageCharWidth() * 12);
  grid->addWidget(BuildTitleSizeRow(), static_cast<int>(TextField::kTitleSize), 1);
  // Last, where the page is: a path to read and copy, so without a frame,
  // with the window's own background, and out of the tab order.
  page_path_label_ = new QLabel(grid_widget);
  page_path_label_->setObjectName(QStringLiteral("pagePathLabel"));
  page_path_ = new QLineEdit(grid_widget);
  page_path_->setObjectName(QStringLiteral("pagePathField"));
  page_path_->setReadOnly(true);
  page_path_->setFrame(false);
  page_path_->setFocusPolicy(Qt::ClickFocus);
  QPalette palette = page_path_->palette();
  palette.setColor(QPalette::Base, Qt::transparent);
  page_path_->setPalette(palette);
  page_path_label_->setBuddy(page_path_);
  grid->addWidget(page_path_label_, kTextFieldCount, 0, Qt::AlignRight | Qt::AlignVCenter);
  grid->addWidget(page_path_, kTextFieldCount, 1);
  grid->setColumnStretch(1, 1);
  return grid_widget;
}

QWidget* SettingsWindow::BuildFavoritesRow(QWidget* parent) {
  auto* row = new QWidget(parent);
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(4);
  QLineEdit* folder = FieldOf(TextField::kFavoritesFolder);
  folder->setParent(row);
  layout->addWidget(folder, 1);
  favorites_missing_ = folder->addAction(style()->standardIcon(QStyle::SP_MessageBoxWarning),
                                         QLineEdit::TrailingPosition);
  favorites_missing_->setObjectName(QStringLiteral("favoritesFolderMissingMark"));
  favorites_missing_->setVisible(false);
  choose_folder_ = new QPushButton(row);
  choose_folder_->setObjectName(QStringLiteral("chooseFavoritesFolderButton"));
  choose_folder_->setFixedWidth(
      choose_folder_->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
  layout->addWidget(choose_folder_);
  connect(choose_folder_, &QPushButton::clicked, this, &SettingsWindow::ChooseFolderClicked);
  return row;
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
  // One group for assistive technology, laid out as if the buttons stood in
  // the row itself.
  title_size_buttons_ = new ControlGroup(row);
  title_size_buttons_->setObjectName(QStringLiteral("titleSizeButtons"));
  auto* buttons = new QHBoxLayout(title_size_buttons_);
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->setSpacing(layout->spacing());
  title_size_group_ = new QButtonGroup(this);
  for (int option = 0; option < kTitleSizeOptionCount; ++option) {
    title_sizes_[option] = new QRadioButton(QString::number(option + 1), title_size_buttons_);
    title_sizes_[option]->setObjectName(TitleSizeButtonObjectName(option));
    title_size_group_->addButton(title_sizes_[option], option);
    buttons->addWidget(title_sizes_[option]);
    connect(title_sizes_[option], &QRadioButton::clicked, this,
            [this, option] { emit TitleSizeClicked(option); });
  }
  connect(title_size_group_, &QButtonGroup::idToggled, this, [this] { KeepTitleSizeTabStop(); });
  KeepTitleSizeTabStop();
  layout->addWidget(title_size_buttons_);
  layout->addStretch(1);
  return row;
}

QWidget* SettingsWindow::BuildBottomRow() {
  // The buttons on one line, the maker's link and the flags on the next: on
  // one line they would make the window too wide to stand beside the main
  // window on a laptop screen.
  auto* rows = new QWidget(this);
  auto* rows_layout = new QVBoxLayout(rows);
  rows_layout->setContentsMargins(0, 8, 0, 0);
  auto* row = new QWidget(rows);
  buttons_ = new QHBoxLayout(row);
  QHBoxLayout* layout = buttons_;
  layout->setContentsMargins(0, 0, 0, 0);
  rows_layout->addWidget(row);

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

  open_in_browser_ = new QPushButton(row);
  open_in_browser_->setObjectName(QStringLiteral("openInBrowserButton"));
  layout->addWidget(open_in_browser_, 0, Qt::AlignVCenter);
  connect(open_in_browser_, &QPushButton::clicked, this, &SettingsWindow::OpenInBrowserClicked);

  maker_link_ =
      new ClickableLabel(ClickableLabel::Role::kLink, QString::fromUtf8(kMakerSiteCaption), rows);
  maker_link_->setObjectName(QStringLiteral("makerLink"));
  maker_link_->setCursor(Qt::PointingHandCursor);
  maker_link_->setStyleSheet(QStringLiteral("color: palette(link); text-decoration: underline;"));
  layout->addStretch(1);
  auto* link_row = new QHBoxLayout;
  rows_layout->addLayout(link_row);
  link_row->addStretch(1);
  link_row->addWidget(maker_link_, 0, Qt::AlignVCenter);
  link_row->addStretch(1);
  connect(maker_link_, &ClickableLabel::clicked, this, &SettingsWindow::MakerLinkClicked);

  const double scale = ScreenDotsPerInch(*this) / kDesignDotsPerInch;
  dutch_flag_ = new ClickableLabel(ClickableLabel::Role::kButton, rows);
  dutch_flag_->setObjectName(QStringLiteral("dutchFlag"));
  dutch_flag_->setPixmap(DutchFlag(scale, devicePixelRatioF()));
  british_flag_ = new ClickableLabel(ClickableLabel::Role::kButton, rows);
  british_flag_->setObjectName(QStringLiteral("britishFlag"));
  british_flag_->setPixmap(BritishFlag(scale, devicePixelRatioF()));
  for (ClickableLabel* flag : {dutch_flag_, british_flag_}) {
    flag->setCursor(Qt::PointingHandCursor);
    link_row->addWidget(flag, 0, Qt::AlignVCenter);
  }
  connect(dutch_flag_, &ClickableLabel::clicked, this,
          [this] { emit LanguageChosen(Language::kDutch); });
  connect(british_flag_, &ClickableLabel::clicked, this,
          [this] { emit LanguageChosen(Language::kEnglish); });
  return rows;
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
  // Every set but the English one is Dutch.
  qt_translations_.Show(&captions == &kEnglishCaptions ? Language::kEnglish : Language::kDutch);
  ApplyCaptions(captions);
  NameControls(captions.names);
}

void SettingsWindow::ApplyCaptions(const CaptionSet& captions) {
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
  FieldOf(TextField::kFavoritesFolder)
      ->setPlaceholderText(QString::fromUtf8(captions.favorites_hint));
  favorites_missing_->setToolTip(QString::fromUtf8(captions.favorites_missing));
  choose_folder_->setText(QString::fromUtf8(captions.choose_folder));
  choose_folder_->setToolTip(QString::fromUtf8(captions.choose_folder_tip));
  open_in_browser_->setText(QString::fromUtf8(captions.open_in_browser));
  page_path_label_->setText(QString::fromUtf8(captions.page_location));
  captions_ = &captions;
  ShowSwatches();
}

void SettingsWindow::NameControls(const AccessibleNames& names) {
  for (const TextField field : kTextFields) {
    FieldOf(field)->setAccessibleName(QString::fromUtf8(names.fields[static_cast<int>(field)]));
  }
  const std::array<const char*, kChannelCount> slider_names = {names.red_slider, names.green_slider,
                                                               names.blue_slider};
  for (const Colour colour : kColours) {
    ColourGroup& group = GroupOf(colour);
    const auto name = [&](const char* pattern) {
      return QString::fromStdString(ColourControlName(names, pattern, colour));
    };
    group.code->setAccessibleName(name(names.colour_code));
    group.default_button->setAccessibleName(name(names.default_colour));
    for (int c = 0; c < kChannelCount; ++c)
      group.sliders[c]->setAccessibleName(name(slider_names[c]));
    DescribeSliders(colour);
  }
  choose_folder_->setAccessibleName(QString::fromUtf8(captions_->choose_folder_title));
  favorites_missing_->setText(QString::fromUtf8(captions_->favorites_missing));
  DescribeFavoritesField();
  title_size_buttons_->setAccessibleName(QString::fromUtf8(names.title_sizes));
  for (int option = 0; option < kTitleSizeOptionCount; ++option) {
    title_sizes_[option]->setAccessibleName(
        QString::fromStdString(FillIn(names.title_size, std::to_string(option + 1))));
  }
  page_path_->setAccessibleName(QString::fromUtf8(names.page_path));
  maker_link_->setAccessibleName(QString::fromUtf8(kMakerSiteCaption));
  maker_link_->setAccessibleDescription(QString::fromUtf8(names.maker_link));
  dutch_flag_->setAccessibleName(QString::fromUtf8(names.dutch));
  british_flag_->setAccessibleName(QString::fromUtf8(names.english));
}

void SettingsWindow::DescribeSliders(Colour colour) {
  const ColourGroup& group = GroupOf(colour);
  const QString description = QString::fromStdString(
      SliderDescription(captions_->names, group.code->text().toStdString()));
  for (QScrollBar* slider : group.sliders) slider->setAccessibleDescription(description);
}

void SettingsWindow::DescribeFavoritesField() {
  // The mark's warning, read with the field; Qt tells assistive technology
  // when it comes and goes.
  FieldOf(TextField::kFavoritesFolder)
      ->setAccessibleDescription(favorites_missing_->isVisible()
                                     ? QString::fromUtf8(captions_->favorites_missing)
                                     : QString());
}

void SettingsWindow::KeepTitleSizeTabStop() {
  QAbstractButton* stop = title_size_group_->checkedButton();
  if (stop == nullptr) stop = title_sizes_[0];
  for (QRadioButton* button : title_sizes_) {
    button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

SettingsWindow::Sizes SettingsWindow::SizesForEveryLanguage() {
  const CaptionSet* shown = captions_;
  Sizes sizes;
  for (const CaptionSet* captions : {&kCreatedCaptions, &kDutchCaptions, &kEnglishCaptions}) {
    ApplyCaptions(*captions);
    // Rows never shown keep the sizes they were first asked for; make them
    // measure again.
    for (QWidget* row : findChildren<QWidget*>()) {
      if (row->layout() == nullptr) continue;
      row->layout()->invalidate();
      row->updateGeometry();
    }
    layout()->invalidate();
    sizes.preferred = sizes.preferred.expandedTo(sizeHint());
    sizes.least = sizes.least.expandedTo(minimumSizeHint());
  }
  ApplyCaptions(*shown);
  return sizes;
}

void SettingsWindow::Show() {
  // The window takes the size its longest captions need, so that it neither
  // grows off the screen nor jumps when the language changes; narrower where
  // the screen has no room for that beside the main window.
  const Sizes sizes = SizesForEveryLanguage();
  resize(sizes.preferred);

  if (main_window_ != nullptr) {
    // It stands beside the main window. Its own frame is not known before it
    // shows; the main window's is the same kind.
    const QRect main_frame = main_window_->frameGeometry();
    const QSize decoration = main_frame.size() - main_window_->size();
    std::vector<ScreenRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) {
      screens.push_back(ToScreenRect(screen->availableGeometry()));
    }
    if (const QScreen* screen = main_window_->screen()) {
      const int room =
          screen->availableGeometry().width() - main_frame.width() - decoration.width();
      if (width() > room) resize(std::max(sizes.least.width(), room), height());
    }
    const QSize frame = size() + decoration;
    // The preview gives up width before the two windows overlap.
    const int main_least_width = main_frame.width() * 3 / 4;
    const WindowPlacement placed = PlaceSettingsWindow(ToScreenRect(main_frame), frame.width(),
                                                       frame.height(), screens, main_least_width);
    if (placed.main.width != main_frame.width()) {
      main_window_->resize(placed.main.width - decoration.width(), main_window_->height());
    }
    if (placed.main.x != main_frame.x() || placed.main.y != main_frame.y()) {
      main_window_->move(placed.main.x, placed.main.y);
    }
    move(placed.settings.x, placed.settings.y);
  }
  show();
  activateWindow();
}

void SettingsWindow::ShowFavoritesFolderMissing(bool missing) {
  favorites_missing_->setVisible(missing);
  DescribeFavoritesField();
}

void SettingsWindow::ShowPagePath(const std::string& path) {
  const QString text = QString::fromStdString(path);
  page_path_->setText(text);
  page_path_->setToolTip(text);
  page_path_->setCursorPosition(0);
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

void SettingsWindow::ShowSwatches() {
  Settings codes;
  for (const Colour colour : kColours)
    CodeOf(codes, colour) = GroupOf(colour).code->text().toStdString();
  for (const Colour colour : kColours) {
    const PageColourReading reading = ReadPageColour(codes, colour);
    std::optional<QColor> shown;
    if (const std::optional<Rgba> rgba = reading.colour) {
      shown = QColor(rgba->red, rgba->green, rgba->blue, rgba->alpha);
    }
    ColourSwatch* swatch = GroupOf(colour).swatch;
    swatch->ShowColour(shown);
    swatch->setToolTip(QString::fromStdString(SwatchTip(*captions_, reading)));
  }
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
