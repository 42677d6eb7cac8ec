#include "control/page_colour.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "generator/template_merge.h"

namespace qv {
namespace {

// The page holds each colour in exactly this many characters.
constexpr std::size_t kPageCodeLength = 7;

struct NamedColour {
  std::string_view name;
  std::uint32_t rgb;
};

// The CSS colour names short enough to reach the page whole.
constexpr std::array<NamedColour, 49> kShortColourNames = {{
    {"aqua", 0x00FFFF},    {"azure", 0xF0FFFF},   {"beige", 0xF5F5DC},   {"bisque", 0xFFE4C4},
    {"black", 0x000000},   {"blue", 0x0000FF},    {"brown", 0xA52A2A},   {"coral", 0xFF7F50},
    {"crimson", 0xDC143C}, {"cyan", 0x00FFFF},    {"darkred", 0x8B0000}, {"dimgray", 0x696969},
    {"dimgrey", 0x696969}, {"fuchsia", 0xFF00FF}, {"gold", 0xFFD700},    {"gray", 0x808080},
    {"green", 0x008000},   {"grey", 0x808080},    {"hotpink", 0xFF69B4}, {"indigo", 0x4B0082},
    {"ivory", 0xFFFFF0},   {"khaki", 0xF0E68C},   {"lime", 0x00FF00},    {"linen", 0xFAF0E6},
    {"magenta", 0xFF00FF}, {"maroon", 0x800000},  {"navy", 0x000080},    {"oldlace", 0xFDF5E6},
    {"olive", 0x808000},   {"orange", 0xFFA500},  {"orchid", 0xDA70D6},  {"peru", 0xCD853F},
    {"pink", 0xFFC0CB},    {"plum", 0xDDA0DD},    {"purple", 0x800080},  {"red", 0xFF0000},
    {"salmon", 0xFA8072},  {"sienna", 0xA0522D},  {"silver", 0xC0C0C0},  {"skyblue", 0x87CEEB},
    {"snow", 0xFFFAFA},    {"tan", 0xD2B48C},     {"teal", 0x008080},    {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347},  {"violet", 0xEE82EE},  {"wheat", 0xF5DEB3},   {"white", 0xFFFFFF},
    {"yellow", 0xFFFF00},
}};

bool IsHtmlSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\f' || c == '\r';
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsHtmlSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsHtmlSpace(text.back())) text.remove_suffix(1);
  return text;
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool AllHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return HexValue(c) >= 0; });
}

std::optional<Rgba> NamedColourOf(std::string_view text) {
  const std::string lower = Lower(text);
  for (const NamedColour& named : kShortColourNames) {
    if (named.name == lower) {
      return Rgba{static_cast<std::uint8_t>(named.rgb >> 16),
                  static_cast<std::uint8_t>(named.rgb >> 8), static_cast<std::uint8_t>(named.rgb),
                  255};
    }
  }
  return std::nullopt;
}

// The colour of "#" and `digits` (3, 4, 6 or 8 hexadecimal digits).
Rgba FromHexDigits(std::string_view digits) {
  const bool short_form = digits.size() <= 4;
  const std::size_t width = short_form ? 1 : 2;
  std::array<std::uint8_t, 4> channels = {0, 0, 0, 255};
  for (std::size_t i = 0; i * width < digits.size(); ++i) {
    int value = HexValue(digits[i * width]);
    value = short_form ? value * 17 : value * 16 + HexValue(digits[i * width + 1]);
    channels[i] = static_cast<std::uint8_t>(value);
  }
  return {channels[0], channels[1], channels[2], channels[3]};
}

// The bgcolor value with every character that is no hexadecimal digit read as
// "0", as browsers do; characters beyond the basic multilingual plane count twice.
std::string LenientDigits(std::string_view text) {
  std::string digits;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if ((byte & 0xC0) == 0x80) continue;  // the rest of a multi-byte character
    if (byte >= 0xF0) {
      digits += "00";
    } else {
      digits += HexValue(text[i]) >= 0 ? text[i] : '0';
    }
  }
  return digits;
}

}  // namespace

std::optional<Rgba> CssColour(std::string_view text) {
  text = Trimmed(text);
  if (!text.empty() && text.front() == '#') {
    const std::string_view digits = text.substr(1);
    const std::size_t n = digits.size();
    if ((n == 3 || n == 4 || n == 6 || n == 8) && AllHex(digits)) return FromHexDigits(digits);
    return std::nullopt;
  }
  return NamedColourOf(text);
}

std::optional<Rgba> AttributeColour(std::string_view text) {
  text = Trimmed(text);
  if (text.empty() || Lower(text) == "transparent") return std::nullopt;
  if (const std::optional<Rgba> named = NamedColourOf(text)) return named;
  if (text.size() == 4 && text.front() == '#' && AllHex(text.substr(1))) {
    return FromHexDigits(text.substr(1));
  }
  if (text.front() == '#') text.remove_prefix(1);
  std::string digits = LenientDigits(text.substr(0, 128));
  while (digits.empty() || digits.size() % 3 != 0) digits += '0';
  // Three equal parts; of each, the last eight digits, then leading zeros
  // that all three share dropped, then the first two.
  std::size_t length = digits.size() / 3;
  std::array<std::string, 3> parts;
  for (std::size_t i = 0; i < 3; ++i) parts[i] = digits.substr(i * length, length);
  if (length > 8) {
    for (std::string& part : parts) part.erase(0, length - 8);
    length = 8;
  }
  while (length > 2 && parts[0][0] == '0' && parts[1][0] == '0' && parts[2][0] == '0') {
    for (std::string& part : parts) part.erase(0, 1);
    --length;
  }
  std::array<std::uint8_t, 3> channels{};
  for (std::size_t i = 0; i < 3; ++i) {
    int value = 0;
    for (std::size_t d = 0; d < std::min<std::size_t>(length, 2); ++d) {
      value = value * 16 + HexValue(parts[i][d]);
    }
    channels[i] = static_cast<std::uint8_t>(value);
  }
  return Rgba{channels[0], channels[1], channels[2], 255};
}

PageColourReading ReadPageColour(const Settings& settings, Colour colour) {
  // The code as the merge writes it in place of its default colour.
  const PageTexts no_texts;
  const LanguageLines no_lines;
  const MergeSources sources{no_texts, settings, no_lines, UpdateLineStyle::kLeftAsIs, {}};
  PageColourReading reading;
  reading.code = MergeLine(DefaultCode(colour), sources);
  reading.cut = CodeOf(settings, colour).size() > kPageCodeLength;
  switch (colour) {
    case Colour::kPage:
    case Colour::kBackground:
      reading.colour = CssColour(reading.code);
      break;
    case Colour::kLinkCell:
      reading.colour = AttributeColour(reading.code);
      break;
    case Colour::kHeaderCell:
      if (CssColour(reading.code)) reading.colour = AttributeColour(reading.code);
      break;
  }
  return reading;
}

std::string SwatchTip(const CaptionSet& captions, const PageColourReading& reading) {
  const std::string code = "\"" + std::string(Trimmed(reading.code)) + "\"";
  std::string tip =
      FillIn(reading.colour ? captions.swatch_colour : captions.swatch_no_colour, code);
  if (reading.cut) tip += std::string(" ") + captions.swatch_cut;
  return tip;
}

}  // namespace qv
