// The captions of both windows in the three sets they can show: the set the
// windows are created with, the Dutch set and the English set.
#pragma once

#include <array>

#include "settings/language.h"
#include "settings/settings.h"

namespace qv {

struct CaptionSet {
  std::array<const char*, kTextFieldCount> field_labels;  // in the order of kTextFields
  const char* red;  // the slider captions of every colour group
  const char* green;
  const char* blue;
  const char* refresh;           // the refresh button
  const char* standard;          // the default button of every colour group
  const char* settings_title;    // the settings window's title
  const char* main_title;        // the main window's title
  const char* import_bookmarks;  // the button that imports a browser's bookmarks
};

extern const CaptionSet kCreatedCaptions;
extern const CaptionSet kDutchCaptions;
extern const CaptionSet kEnglishCaptions;

const CaptionSet& CaptionsOf(Language language);

// The label of `field` in `captions`.
const char* FieldLabel(const CaptionSet& captions, TextField field);

// The maker's web site: shown without its scheme in the settings window and
// opened by a click on it.
inline constexpr const char* kMakerSiteAddress = "https://www.qelmora.example/";
inline constexpr const char* kMakerSiteCaption = "www.qelmora.example";

}  // namespace qv
