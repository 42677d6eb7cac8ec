// The colour the page gets from a code: cut to seven characters by the merge,
// then read by the browser as a style-sheet colour or a bgcolor attribute.
#include "control/page_colour.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::optional<Rgba> Rgb(std::uint32_t rgb, std::uint8_t alpha = 255) {
  return Rgba{static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
              static_cast<std::uint8_t>(rgb), alpha};
}
const std::optional<Rgba> kNone;

TEST(PageColourTest, StyleSheetAndAttributeReadCodesAsBrowsersDo) {
  struct Case {
    const char* text;
    std::optional<Rgba> css;
    std::optional<Rgba> attribute;
  };
  const Case cases[] = {
      {"#009933", Rgb(0x009933), Rgb(0x009933)},
      {"#fC9", Rgb(0xFFCC99), Rgb(0xFFCC99)},
      {"  #FFF   ", Rgb(0xFFFFFF), Rgb(0xFFFFFF)},
      {"#F008", Rgb(0xFF0000, 0x88), Rgb(0xF00800)},
      {"#FF000080", Rgb(0xFF0000, 0x80), Rgb(0xFF0080)},
      {"Crimson", Rgb(0xDC143C), Rgb(0xDC143C)},
      {"#GG0000", kNone, Rgb(0x000000)},
      {"darkgre", kNone, Rgb(0xDA00E0)},
      {"abc", kNone, Rgb(0x0A0B0C)},
      {"#12345", kNone, Rgb(0x123450)},
      {"FF0000", kNone, Rgb(0xFF0000)},
      {"#0000000FF0000", kNone, Rgb(0x00FF00)},
      {"inherit", kNone, Rgb(0x00E000)},
      {"red;", kNone, Rgb(0x0ED000)},
      {"       ", kNone, kNone},
      {"", kNone, kNone},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(CssColour(c.text), c.css);
    EXPECT_EQ(AttributeColour(c.text), c.attribute);
  }
}

TEST(PageColourTest, EachColourIsReadWhereThePageUsesIt) {
  struct Case {
    Colour colour;
    const char* code;
    const char* page_code;  // the seven characters the page gets
    bool cut;
    std::optional<Rgba> shown;
  };
  const Case cases[] = {
      // The title bar is painted from the style sheet.
      {Colour::kPage, "darkgreen", "darkgre", true, kNone},
      {Colour::kPage, "#GG0000", "#GG0000", false, kNone},
      {Colour::kPage, "#FFF", "#FFF   ", false, Rgb(0xFFFFFF)},
      // The link cells take the attribute's lenient reading.
      {Colour::kLinkCell, "darkgreen", "darkgre", true, Rgb(0xDA00E0)},
      {Colour::kLinkCell, "", "       ", false, kNone},
      // The header cells' colour also colours the links in the style sheet.
      {Colour::kHeaderCell, "#GG0000", "#GG0000", false, kNone},
      {Colour::kHeaderCell, "navy", "navy   ", false, Rgb(0x000080)},
      {Colour::kBackground, "ivory", "ivory  ", false, Rgb(0xFFFFF0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Settings settings;
    CodeOf(settings, c.colour) = c.code;
    const PageColourReading reading = ReadPageColour(settings, c.colour);
    EXPECT_EQ(reading.code, c.page_code);
    EXPECT_EQ(reading.cut, c.cut);
    EXPECT_EQ(reading.colour, c.shown);
  }
}

TEST(PageColourTest, ACodeEqualToALaterDefaultGetsThatColoursCode) {
  // The merge replaces the page colour's "#FFCC99" again by the link cells' code.
  Settings settings;
  settings.page_colour = "#FFCC99";
  settings.link_cell_colour = "#003399";
  settings.header_cell_colour = "red";
  const PageColourReading reading = ReadPageColour(settings, Colour::kPage);
  EXPECT_EQ(reading.code, "red    ");
  EXPECT_EQ(reading.colour, Rgb(0xFF0000));
}

TEST(PageColourTest, TheTipSaysWhatThePageGetsInTheWindowsLanguage) {
  EXPECT_EQ(SwatchTip(kEnglishCaptions, {"#FFF   ", false, Rgb(0xFFFFFF)}),
            "The page gets \"#FFF\".");
  EXPECT_EQ(SwatchTip(kDutchCaptions, {"darkgre", true, kNone}),
            "De pagina kan \"darkgre\" niet als kleur gebruiken. Alleen de eerste zeven tekens "
            "komen op de pagina.");
}

}  // namespace
}  // namespace qv
