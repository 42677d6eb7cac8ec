// The user's settings: the page's texts and colours, the name of the page
// file and the Favorites folder it lists.
#pragma once

#include <array>
#include <string>

#include "generator/page_values.h"

namespace qv {

inline constexpr const char* kDefaultPageFileName = "mijnstart.html";

// The texts as the settings window shows them, top to bottom; the settings
// file keeps them in this order after the colours.
enum class TextField {
  kPageTitle,
  kPageFileName,
  kMakerName,
  kFavoritesFolder,
  kLeftBannerImage,
  kRightBannerImage,
  kMakerDescription,
  kEmail,
  kLeftBannerLink,
  kRightBannerLink,
  kStatisticsCode,
  kSearchDescription,
  kSearchKeywords,
  kTitleSize,
};
inline constexpr int kTextFieldCount = 14;
inline constexpr std::array<TextField, kTextFieldCount> kTextFields = {
    TextField::kPageTitle,        TextField::kPageFileName,    TextField::kMakerName,
    TextField::kFavoritesFolder,  TextField::kLeftBannerImage, TextField::kRightBannerImage,
    TextField::kMakerDescription, TextField::kEmail,           TextField::kLeftBannerLink,
    TextField::kRightBannerLink,  TextField::kStatisticsCode,  TextField::kSearchDescription,
    TextField::kSearchKeywords,   TextField::kTitleSize};

// The four colours, in the order of the settings window's colour groups and of
// the settings file.
enum class Colour { kPage, kLinkCell, kHeaderCell, kBackground };
inline constexpr int kColourCount = 4;
inline constexpr std::array<Colour, kColourCount> kColours = {
    Colour::kPage, Colour::kLinkCell, Colour::kHeaderCell, Colour::kBackground};

// The five title-size buttons carry the captions "1" to "5".
inline constexpr int kTitleSizeOptionCount = 5;
inline constexpr int kNoTitleSizeOption = -1;

// The merge sees the settings only as the page's colours and texts.
struct Settings : PageColours, PageTexts {
  std::string page_file_name =
      kDefaultPageFileName;      // as typed, until a run refuses it; see PageFileNameFrom
  std::string favorites_folder;  // the folder the page lists

  bool operator==(const Settings&) const = default;
};

std::string& TextOf(Settings& settings, TextField field);
const std::string& TextOf(const Settings& settings, TextField field);
std::string& CodeOf(Settings& settings, Colour colour);
const std::string& CodeOf(const Settings& settings, Colour colour);

// The code a colour group's default button restores.
const char* DefaultCode(Colour colour);

// The values in force before a settings file exists.
Settings DefaultSettings();

}  // namespace qv
