// What the page's templates receive from the user: the texts that take the
// place of the placeholders and the colours that take the place of the four
// default colours.
#pragma once

#include <string>

namespace qv {

// The colours the templates and the link table paint with. The merge puts the
// user's colour in place of the first of each in every line.
inline constexpr const char* kDefaultPageColour = "#009933";
inline constexpr const char* kDefaultLinkCellColour = "#FFCC99";
inline constexpr const char* kDefaultHeaderCellColour = "#003399";
inline constexpr const char* kDefaultBackgroundColour = "#FFFFF0";

// The user's colour codes, each replacing the default of the same name.
struct PageColours {
  std::string page_colour = kDefaultPageColour;
  std::string link_cell_colour = kDefaultLinkCellColour;
  std::string header_cell_colour = kDefaultHeaderCellColour;
  std::string background_colour = kDefaultBackgroundColour;

  bool operator==(const PageColours&) const = default;
};

// The user's texts, each with the placeholder it fills.
struct PageTexts {
  std::string page_title;          // "@#$TITEL@#$"
  std::string maker_name;          // "@#$CREATOR@#$"
  std::string left_banner_image;   // "@#$LINK1GIF!@#"
  std::string right_banner_image;  // "@#$LINK2GIF!@#"
  std::string maker_description;   // "@#$CREATORDISCR@#$"
  std::string email;               // "@#$EMAIL@#$"
  std::string left_banner_link;    // "@#$LINK1!@#"
  std::string right_banner_link;   // "@#$LINK2!@#"
  std::string statistics_code;     // "@#$STATISTICS@#$"
  std::string search_description;  // "@#$DESCRIPTION", inside an attribute
  std::string search_keywords;     // "@#$KEYWORDS", inside an attribute
  std::string title_size;          // "@#$TSIZE@#$"

  bool operator==(const PageTexts&) const = default;
};

}  // namespace qv
