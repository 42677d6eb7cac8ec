// The captions of both windows in the three sets they can show: the set the
// windows are created with, the Dutch set and the English set.
#pragma once

#include <array>
#include <string>

#include "settings/language.h"
#include "settings/settings.h"

namespace qv {

// The controls' names for assistive technology, in the window's language.
// Each says what its control does, so that no two controls of a window share
// one; a colour group's are made from the colour's name with the patterns.
struct AccessibleNames {
  std::array<const char*, kTextFieldCount> fields;  // in the order of kTextFields
  std::array<const char*, kColourCount> colours;    // "page colour", by colour
  // "{}" stands for a colour's name; the first letter of the whole is made
  // upper case, so the name reads well at the start and in the middle.
  const char* red_slider;      // "{}, red"
  const char* green_slider;    // "{}, green"
  const char* blue_slider;     // "{}, blue"
  const char* colour_code;     // "{} code"
  const char* default_colour;  // "default {}"
  // A slider's description: "{}" stands for the group's code, which the next
  // move of any of its sliders replaces by the colour of all three.
  const char* slider_code;
  const char* empty_code;   // what stands for a code field left empty
  const char* title_sizes;  // the title-size buttons as a group
  const char* title_size;   // one of them; "{}" stands for its number
  const char* dutch;        // the flags
  const char* english;
  const char* maker_link;  // the description of the maker's link
  const char* page_path;   // the path of the page last built
};

// A button's caption marks the letter that Alt with it presses the button with
// "&" before it, as both toolkits read it; the four Standard buttons share one
// caption and so have none.
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
  // The first-start guidance and the buttons beside the fields.
  const char* favorites_hint;       // shown in the empty Favorites field
  const char* favorites_missing;    // the tooltip of the mark on a folder that is not there
  const char* choose_folder;        // the button that opens the folder chooser
  const char* choose_folder_tip;    // its tooltip
  const char* choose_folder_title;  // the folder chooser's title
  const char* open_in_browser;      // the button that opens the page in the browser
  const char* page_location;        // beside the path of the page last built
  // The swatch's tooltip; "{}" stands for the code as the page gets it.
  const char* swatch_colour;
  const char* swatch_no_colour;
  const char* swatch_cut;  // added when the code was cut to seven characters
  // The desktop could not open a document; "{}" stands for the document.
  const char* open_failed_title;
  const char* open_failed_text;
  // What a screen reader says for a control whose caption says too little,
  // says the same as another's, or is not tied to it.
  AccessibleNames names;
};

extern const CaptionSet kCreatedCaptions;
extern const CaptionSet kDutchCaptions;
extern const CaptionSet kEnglishCaptions;

const CaptionSet& CaptionsOf(Language language);

// `pattern` with its "{}" replaced by `value`.
std::string FillIn(const char* pattern, const std::string& value);

// A colour group's sliders' description for the group's code `code`.
std::string SliderDescription(const AccessibleNames& names, const std::string& code);

// A colour group's control name: `pattern` filled in with the name of
// `colour`, its first letter upper case.
std::string ColourControlName(const AccessibleNames& names, const char* pattern, Colour colour);

// The label of `field` in `captions`.
const char* FieldLabel(const CaptionSet& captions, TextField field);

// The maker's web site: shown without its scheme in the settings window and
// opened by a click on it.
inline constexpr const char* kMakerSiteAddress = "https://www.qelmora.example/";
inline constexpr const char* kMakerSiteCaption = "www.qelmora.example";

}  // namespace qv
