#include "generator/text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <utility>

namespace qv {
namespace {

TEST(CharLengthAtTest, ValidSequencesAreOneCharacterAndBrokenBytesStandAlone) {
  // Valid: é, €, an emoji, U+10FFFF. Broken: an overlong NUL, an overlong
  // three-byte form, a surrogate, beyond U+10FFFF, a lone continuation byte,
  // sequences cut off by the end of the text or by another character.
  for (const std::string valid :
       {"a", "\303\251", "\342\202\254", "\360\237\230\200", "\364\217\277\277"}) {
    EXPECT_EQ(CharLengthAt(valid, 0), valid.size()) << valid;
  }
  for (const char* broken : {"\300\200", "\340\237\277", "\355\240\200", "\364\220\200\200", "\200",
                             "\303", "\342\202a"}) {
    EXPECT_EQ(CharLengthAt(broken, 0), 1u) << broken;
  }
  EXPECT_EQ(CharLengthAt("ab", 2), 0u);
}

TEST(CharCutTest, CountsAndCutsWholeCharacters) {
  const std::string name = "Caf\303\251 \377bar";  // "Café", blank, a stray byte, "bar"
  EXPECT_EQ(CharCount(name), 9u);
  EXPECT_EQ(LeftChars(name, 4), "Caf\xC3\xA9");
  EXPECT_EQ(LeftChars(name, 6), "Caf\xC3\xA9 \xFF");
  EXPECT_EQ(LeftChars(name, 100), name);
  EXPECT_EQ(CharsFrom(name, 4), "\303\251 \377bar");
  EXPECT_EQ(CharsFrom(name, 7), "bar");
  EXPECT_EQ(CharsFrom(name, 10), "");
  EXPECT_EQ(TrimBlanks(" \ta b\t  "), "\ta b\t");
}

TEST(UpperCaseTest, SimpleMappingPerCharacter) {
  // é -> É; ß has no one-letter upper case; σοφ -> ΣΟΦ; ı -> I is shorter in
  // bytes and ɐ -> Ɐ longer; broken bytes stay.
  const std::pair<const char*, const char*> cases[] = {
      {"cats and dogs 1", "CATS AND DOGS 1"},
      {"caf\303\251", "CAF\303\211"},
      {"stra\303\237e", "STRA\303\237E"},
      {"\317\203\316\277\317\206", "\316\243\316\237\316\246"},
      {"\304\261", "I"},
      {"\311\220", "\342\261\257"},
      {"a\377b\303", "A\377B\303"}};
  for (const auto& [text, upper] : cases) EXPECT_EQ(UpperCase(text), upper) << text;
}

TEST(UpperCaseTest, IgnoresTheProcessLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "C");
  EXPECT_EQ(UpperCase("\xC3\xA9t\xC3\xA9"), "\xC3\x89T\xC3\x89");
  std::setlocale(LC_ALL, saved.c_str());
}

TEST(EscapeHtmlTest, EscapesMarkupAndLineBreaks) {
  EXPECT_EQ(EscapeHtml("a&b <i>\"x\"</i>\r\n'"),
            "a&amp;b &lt;i&gt;&quot;x&quot;&lt;/i&gt;&#13;&#10;'");
  EXPECT_EQ(EscapeHtml("&amp;"), "&amp;amp;");
  EXPECT_EQ(EscapeHtml("@#$TITEL@#$ #FFCC99"), "@&#35;$TITEL@&#35;$ &#35;FFCC99");
}

TEST(NameLessTest, FoldsCaseAndBreaksTiesByBytes) {
  // "_" sorts before letters, non-ASCII after ASCII.
  const std::pair<const char*, const char*> ordered[] = {
      {"Apple", "banana"}, {"apple", "Banana"},      {"(A01) Yak", "(A02) Zoo"},
      {"(A01)", "Apple"},  {"ABC", "abc"},           {"abc", "abcd"},
      {"a_b", "aab"},      {"Zebra", "\303\211cole"}};
  for (const auto& [a, b] : ordered) {
    EXPECT_TRUE(NameLess(a, b)) << a << " < " << b;
    EXPECT_FALSE(NameLess(b, a)) << b << " < " << a;
  }
  EXPECT_FALSE(NameLess("same", "same"));
}

TEST(LeadingNumberTest, ReadsTheNumberAtTheStart) {
  const std::pair<const char*, double> cases[] = {
      {" 1", 1},     {"-1", -1},         {" 0", 0},      {"1.5", 1.5}, {"abc", 0},
      {"", 0},       {"  1 2 3", 123},   {"\t-\n4", -4}, {"3abc", 3},  {"1.2.3", 1.2},
      {".5", 0.5},   {"-.25", -0.25},    {"+7", 7},      {"+-7", 0},   {"1e3", 1000},
      {"2D2", 200},  {"5E-1", 0.5},      {"1e", 1},      {"1,5", 1},   {"&H1F", 31},
      {"&hff", 255}, {"&O17", 15},       {"&O8", 0},     {"&X1", 0},   {"0005", 5},
      {"\r1", 0},    {"00.00100", 0.001}};
  for (const auto& [text, value] : cases) EXPECT_DOUBLE_EQ(LeadingNumber(text), value) << text;
}

TEST(LeadingNumberTest, HugeNumbersEndQuickly) {
  const double infinity = std::numeric_limits<double>::infinity();
  EXPECT_EQ(LeadingNumber("1e400"), infinity);
  EXPECT_EQ(LeadingNumber("1e99999999999999999999999999"), infinity);
  EXPECT_EQ(LeadingNumber(std::string(5'000'000, '9')), infinity);
  EXPECT_EQ(LeadingNumber("0." + std::string(5'000'000, '0') + "1"), 0.0);
  EXPECT_DOUBLE_EQ(LeadingNumber("1." + std::string(5'000'000, '3')), 4.0 / 3);
  EXPECT_EQ(LeadingNumber("&H" + std::string(5'000'000, 'F')), infinity);
}

TEST(RoundToInt16Test, HalvesGoToEvenAndRangeIsChecked) {
  const double infinity = std::numeric_limits<double>::infinity();
  const std::pair<double, std::optional<std::int16_t>> cases[] = {{1.5, 2},
                                                                  {2.5, 2},
                                                                  {-2.5, -2},
                                                                  {-3.5, -4},
                                                                  {0.49999999999999994, 0},
                                                                  {-0.5, 0},
                                                                  {2.5000001, 3},
                                                                  {32767.4, 32767},
                                                                  {32767.5, std::nullopt},
                                                                  {-32768.5, -32768},
                                                                  {-32769, std::nullopt},
                                                                  {40000, std::nullopt},
                                                                  {infinity, std::nullopt},
                                                                  {std::nan(""), std::nullopt}};
  for (const auto& [value, rounded] : cases) EXPECT_EQ(RoundToInt16(value), rounded) << value;
}

}  // namespace
}  // namespace qv
