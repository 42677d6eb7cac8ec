// The identifiers of the windows' controls, which say what each one is; the
// windows find their controls by them, and so do the tests.
#pragma once

#include <optional>

#include "settings/settings.h"

namespace qv::winui {

enum class Channel { kRed, kGreen, kBlue };
inline constexpr int kChannelCount = 3;
inline constexpr Channel kChannels[kChannelCount] = {Channel::kRed, Channel::kGreen,
                                                     Channel::kBlue};

// The settings window: a field and its label per text field.
constexpr int FieldId(TextField field) {
  return 100 + static_cast<int>(field);
}
constexpr int FieldLabelId(TextField field) {
  return 130 + static_cast<int>(field);
}

// A colour group: its code field, default button, swatch, and per channel a
// slider and its caption.
constexpr int kColourGroupIdStep = 10;
constexpr int ColourGroupId(Colour colour, int part) {
  return 200 + kColourGroupIdStep * static_cast<int>(colour) + part;
}
constexpr int CodeFieldId(Colour colour) {
  return ColourGroupId(colour, 0);
}
constexpr int DefaultButtonId(Colour colour) {
  return ColourGroupId(colour, 1);
}
constexpr int SwatchId(Colour colour) {
  return ColourGroupId(colour, 2);
}
constexpr int SliderId(Colour colour, Channel channel) {
  return ColourGroupId(colour, 4 + static_cast<int>(channel));
}
constexpr int SliderLabelId(Colour colour, Channel channel) {
  return ColourGroupId(colour, 7 + static_cast<int>(channel));
}

// The colour group a control of a colour group belongs to.
std::optional<Colour> ColourGroupOf(int id);

// Option 0 is the button captioned "1".
constexpr int TitleSizeButtonId(int option) {
  return 300 + option;
}

inline constexpr int kChooseFolderId = 320;
inline constexpr int kFavoritesMissingMarkId = 321;
inline constexpr int kRefreshId = 330;
inline constexpr int kImportBookmarksId = 331;
inline constexpr int kOpenInBrowserId = 332;
inline constexpr int kMakerLinkId = 333;
inline constexpr int kDutchFlagId = 334;
inline constexpr int kBritishFlagId = 335;
// Where the page last built is, under the fields.
inline constexpr int kPagePathLabelId = 336;
inline constexpr int kPagePathId = 337;

// The main window: the preview, and what stands in its place when the
// system's web control cannot show the page.
inline constexpr int kPreviewId = 400;
inline constexpr int kPreviewFailureTextId = 401;
inline constexpr int kPreviewOpenInBrowserId = 402;

// The list of the import's source dialog.
inline constexpr int kSourceListId = 500;

}  // namespace qv::winui
