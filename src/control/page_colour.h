// What the page makes of a colour code: the merge fits every code into seven
// characters (and a fitted code that equals a later default colour is replaced
// again by that colour's code), then the browser reads it, in the style sheet
// as a CSS colour or in a table cell's bgcolor attribute by the lenient rules
// browsers keep for old pages. The swatch beside a code field shows this
// colour, so the user sees what the page will get, not what the code looks
// like it should give.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "control/captions.h"
#include "settings/settings.h"

namespace qv {

struct Rgba {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;
  std::uint8_t alpha = 255;
  bool operator==(const Rgba&) const = default;
};

struct PageColourReading {
  std::string code;  // the seven characters the page gets
  bool cut = false;  // the typed code was longer than those seven
  // The colour the page paints with; none when a place on the page that uses
  // this colour cannot read the code as one.
  std::optional<Rgba> colour;
};

// How the page reads the code of `colour`, given all four codes of `settings`.
// The page colour and the background are style-sheet colours; the link cells
// take theirs from the bgcolor attribute; the header cells from the attribute,
// and the links' text from the style sheet, so both must read it.
PageColourReading ReadPageColour(const Settings& settings, Colour colour);

// `text` as a CSS colour: "#" and 3, 4, 6 or 8 hexadecimal digits, or a named
// colour, blanks around it allowed; none for anything else.
std::optional<Rgba> CssColour(std::string_view text);

// `text` as a bgcolor attribute value: nearly anything gives some colour
// (non-hexadecimal characters count as 0); none when blank.
std::optional<Rgba> AttributeColour(std::string_view text);

// The swatch's tooltip: what the page gets, in the language of `captions`.
std::string SwatchTip(const CaptionSet& captions, const PageColourReading& reading);

}  // namespace qv
