#include "winui/settings_layout.h"

#include <algorithm>
#include <array>

#include "control/captions.h"
#include "winui/control_ids.h"
#include "winui/flag_pictures.h"
#include "winui/screen_scale.h"

namespace qv::winui {
namespace {

constexpr std::array<const CaptionSet*, 3> kEveryCaptionSet = {&kCreatedCaptions, &kDutchCaptions,
                                                               &kEnglishCaptions};

// Measures on a 96 dots-per-inch screen.
constexpr int kMargin = 10;
constexpr int kGap = 6;
constexpr int kRowGap = 4;
constexpr int kButtonPadding = 24;
constexpr int kMinimumButtonWidth = 75;
constexpr int kSwatchSize = 26;
constexpr int kFramePadding = 6;
// Narrow enough that the window stands beside the main window on a laptop
// screen (1366 pixels wide).
constexpr int kMinimumSliderWidth = 56;
constexpr int kMarkSize = 16;
constexpr int kRadioBox = 26;  // a radio button's circle and the room beside it
constexpr int kFieldChars = 24;
constexpr int kLinkRoom = 16;  // at least, on either side of the maker's link

class Layout {
 public:
  explicit Layout(const SettingsMeasures& measures) : m_(measures) {
    control_height_ = m_.text_height + S(8);
  }

  SettingsLayout Make() {
    const int colour_rows = ColourRowsWidth();
    const int fields = S(kMargin) + LabelColumnWidth() + S(12) +
                       std::max(m_.average_char_width * kFieldChars, S(200)) + S(kMargin);
    const int bottom = BottomRowWidth();
    width_ = std::max({colour_rows, fields, bottom});

    int y = S(kMargin);
    for (const Colour colour : kColours) y = PlaceColourRow(colour, y) + S(kRowGap);
    y += S(kGap);
    layout_.rule = {S(kMargin), y, width_ - S(kMargin), y + 2};
    y += S(2 * kGap);
    y = PlaceFields(y);
    y = PlaceBottomRow(y + S(2 * kGap));
    layout_.client = {width_, y + S(kMargin)};
    return layout_;
  }

 private:
  int S(int design_pixels) const { return Scaled(design_pixels, m_.dots_per_inch); }

  // The widest of `pick` over every caption set, as text.
  template <class Pick>
  int WidestCaption(Pick pick) const {
    int widest = 0;
    for (const CaptionSet* captions : kEveryCaptionSet) {
      widest = std::max(widest, m_.text_width(pick(*captions)));
    }
    return widest;
  }
  template <class Pick>
  int ButtonWidth(Pick pick) const {
    return std::max(WidestCaption(pick) + S(kButtonPadding), S(kMinimumButtonWidth));
  }

  void Place(int id, int x, int y, int width, int height) {
    layout_.controls.push_back({id, {x, y, x + width, y + height}});
  }

  int CodeWidth() const { return m_.text_width("#MMMMMMM") + S(12); }
  int DefaultWidth() const {
    return ButtonWidth([](const CaptionSet& c) { return c.standard; });
  }
  int SliderLabelWidth() const {
    return std::max({WidestCaption([](const CaptionSet& c) { return c.red; }),
                     WidestCaption([](const CaptionSet& c) { return c.green; }),
                     WidestCaption([](const CaptionSet& c) { return c.blue; })}) +
           S(kGap);
  }
  int RowHeight() const { return std::max(control_height_, S(kSwatchSize)) + 2 * S(kFramePadding); }

  int ColourRowsWidth() const {
    const int sliders = kChannelCount * (SliderLabelWidth() + S(kMinimumSliderWidth)) +
                        (kChannelCount - 1) * S(2 * kGap) + 2 * S(kFramePadding + 2);
    return S(kMargin) + S(kSwatchSize) + S(kGap) + CodeWidth() + S(kGap) + DefaultWidth() +
           S(kGap) + sliders + S(kMargin);
  }

  // Returns the bottom of the row.
  int PlaceColourRow(Colour colour, int top) {
    const int height = RowHeight();
    const int middle = top + height / 2;
    int x = S(kMargin);
    Place(SwatchId(colour), x, middle - S(kSwatchSize) / 2, S(kSwatchSize), S(kSwatchSize));
    x += S(kSwatchSize) + S(kGap);
    Place(CodeFieldId(colour), x, middle - control_height_ / 2, CodeWidth(), control_height_);
    x += CodeWidth() + S(kGap);
    Place(DefaultButtonId(colour), x, middle - control_height_ / 2, DefaultWidth(),
          control_height_);
    x += DefaultWidth() + S(kGap);

    const RECT frame = {x, top, width_ - S(kMargin), top + height};
    layout_.frames.push_back(frame);
    const int inner_left = frame.left + S(kFramePadding + 2);
    const int inner_width = frame.right - S(kFramePadding + 2) - inner_left;
    const int label = SliderLabelWidth();
    const int slider = (inner_width - (kChannelCount - 1) * S(2 * kGap)) / kChannelCount - label;
    int slider_x = inner_left;
    for (const Channel channel : kChannels) {
      Place(SliderLabelId(colour, channel), slider_x, middle - m_.text_height / 2, label,
            m_.text_height);
      Place(SliderId(colour, channel), slider_x + label, middle - control_height_ / 2, slider,
            control_height_);
      slider_x += label + slider + S(2 * kGap);
    }
    return top + height;
  }

  int LabelColumnWidth() const {
    int widest = 0;
    for (const TextField field : kTextFields) {
      widest = std::max(
          widest, WidestCaption([field](const CaptionSet& c) { return FieldLabel(c, field); }));
    }
    return std::max(widest, WidestCaption([](const CaptionSet& c) { return c.page_location; }));
  }

  int PlaceFields(int top) {
    const int label_width = LabelColumnWidth();
    const int field_x = S(kMargin) + label_width + S(12);
    const int field_right = width_ - S(kMargin);
    int y = top;
    for (const TextField field : kTextFields) {
      Place(FieldLabelId(field), S(kMargin), y + (control_height_ - m_.text_height) / 2,
            label_width, m_.text_height);
      if (field == TextField::kFavoritesFolder) {
        PlaceFavoritesRow(field_x, field_right, y);
      } else if (field == TextField::kTitleSize) {
        PlaceTitleSizeRow(field_x, y);
      } else {
        Place(FieldId(field), field_x, y, field_right - field_x, control_height_);
      }
      y += control_height_ + S(kRowGap);
    }
    // Last, where the page is.
    Place(kPagePathLabelId, S(kMargin), y + (control_height_ - m_.text_height) / 2, label_width,
          m_.text_height);
    Place(kPagePathId, field_x, y, field_right - field_x, control_height_);
    return y + control_height_;
  }

  void PlaceFavoritesRow(int left, int right, int y) {
    const int chooser = m_.text_width("...") + S(kButtonPadding);
    const int mark_x = right - chooser - S(kGap) - S(kMarkSize);
    Place(kChooseFolderId, right - chooser, y, chooser, control_height_);
    Place(kFavoritesMissingMarkId, mark_x, y + (control_height_ - S(kMarkSize)) / 2, S(kMarkSize),
          S(kMarkSize));
    Place(FieldId(TextField::kFavoritesFolder), left, y, mark_x - S(kGap) - left, control_height_);
  }

  void PlaceTitleSizeRow(int left, int y) {
    const int size_width = m_.text_width("MMMM") + S(12);
    Place(FieldId(TextField::kTitleSize), left, y, size_width, control_height_);
    int x = left + size_width + S(12);
    for (int option = 0; option < kTitleSizeOptionCount; ++option) {
      const int width = m_.text_width(std::to_string(option + 1)) + S(kRadioBox);
      Place(TitleSizeButtonId(option), x, y, width, control_height_);
      x += width + S(kGap);
    }
  }

  int RefreshWidth() const {
    return WidestCaption([](const CaptionSet& c) { return c.refresh; }) + S(48);
  }
  int ImportWidth() const {
    return ButtonWidth([](const CaptionSet& c) { return c.import_bookmarks; });
  }
  int OpenWidth() const {
    return ButtonWidth([](const CaptionSet& c) { return c.open_in_browser; });
  }
  int LinkWidth() const { return m_.text_width(kMakerSiteCaption) + S(8); }
  int FlagsWidth() const { return S(kDutchFlagSize.cx) + S(kGap) + S(kBritishFlagSize.cx); }

  // The buttons on one line, the maker's link and the flags on the next: on
  // one line they would make the window too wide to stand beside the main
  // window on a laptop screen.
  int BottomRowWidth() const {
    const int buttons = RefreshWidth() + ImportWidth() + OpenWidth() + 2 * S(kGap);
    const int link_and_flags = LinkWidth() + 2 * S(kGap) + FlagsWidth();
    return S(kMargin) + std::max(buttons, link_and_flags) + S(kMargin);
  }

  // Returns the bottom of the two lines.
  int PlaceBottomRow(int top) {
    int x = S(kMargin);
    for (const auto& [id, width] :
         {std::pair{kRefreshId, RefreshWidth()}, std::pair{kImportBookmarksId, ImportWidth()},
          std::pair{kOpenInBrowserId, OpenWidth()}}) {
      Place(id, x, top, width, control_height_);
      x += width + S(kGap);
    }
    top += control_height_ + S(kGap);
    const int height = std::max(control_height_, S(kDutchFlagSize.cy));
    const int flags_x = width_ - S(kMargin) - FlagsWidth();
    // The link stands in the middle of the room left of the flags.
    const int link_x = S(kMargin) + (flags_x - S(kMargin) - LinkWidth()) / 2;
    Place(kMakerLinkId, link_x, top + (height - control_height_) / 2, LinkWidth(), control_height_);
    const int flag_y = top + (height - S(kDutchFlagSize.cy)) / 2;
    Place(kDutchFlagId, flags_x, flag_y, S(kDutchFlagSize.cx), S(kDutchFlagSize.cy));
    Place(kBritishFlagId, flags_x + S(kDutchFlagSize.cx) + S(kGap), flag_y, S(kBritishFlagSize.cx),
          S(kBritishFlagSize.cy));
    return top + height;
  }

  const SettingsMeasures& m_;
  int control_height_ = 0;
  int width_ = 0;
  SettingsLayout layout_;
};

}  // namespace

SettingsLayout LayOutSettingsWindow(const SettingsMeasures& measures) {
  return Layout(measures).Make();
}

}  // namespace qv::winui
