// UTF-7, the form of the Unicode copy of a shortcut's address.
#include "generator/utf7.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace qv {
namespace {

using namespace std::string_literals;

// Texts that encode to exactly this form, and decode back from it.
const std::pair<std::string, std::string> kBothWays[] = {
    {"", ""},
    {"Hi Mom -☺-!", "Hi Mom -+Jjo--!"},
    {"日本語", "+ZeVnLIqe-"},
    {"1 + 1 = 2", "1 +- 1 = 2"},
    {"http://моторезина.рф/", "http://+BDwEPgRCBD4EQAQ1BDcEOAQ9BDA-.+BEAERA-/"},
    {"https://example.com/a—b?q=1&r=~x#top", "https://example.com/a+IBQ-b?q=1&r=~x#top"},
    {"😀", "+2D3eAA-"},
    {"\xEF\xBF\xBD", "+//0-"},  // U+FFFD itself, three bytes
};

TEST(Utf7Test, EncodesOutsideAsciiAsClosedBase64RunsAndDecodesThemBack) {
  for (const auto& [utf8, utf7] : kBothWays) {
    EXPECT_EQ(EncodeUtf7(utf8), utf7) << utf8;
    const Result<std::string> decoded = DecodeUtf7(utf7);
    ASSERT_TRUE(decoded.ok()) << utf7 << ": " << decoded.status().reason();
    EXPECT_EQ(*decoded, utf8) << utf7;
  }
}

TEST(Utf7Test, EncodesBrokenUtf8AsReplacementCharacters) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\xFF!", "a+//0-!"},
      {"\xC0\xAF", "+//3//Q-"},                 // overlong "/"
      {"\xE6\x97", "+//3//Q-"},                 // cut short
      {"\xED\xA0\x80", "+//3//f/9-"},           // a surrogate
      {"\xF4\x90\x80\x80!", "+//3//f/9//0-!"},  // beyond U+10FFFF
  };
  for (const auto& [utf8, utf7] : cases) EXPECT_EQ(EncodeUtf7(utf8), utf7) << utf7;
}

TEST(Utf7Test, DecodesRunsEndedByAnyNonBase64Character) {
  const std::pair<std::string, std::string> cases[] = {
      {"A+ImIDkQ.", "A≢Α."},
      {"+ZeVnLIqe", "日本語"},
      {"+AGEAYgBj-+-", "abc+"},
      {"+AGE--", "a-"},
      {"a~b\\c\t\r\n"s + '\0', "a~b\\c\t\r\n"s + '\0'},
  };
  for (const auto& [utf7, utf8] : cases) {
    const Result<std::string> decoded = DecodeUtf7(utf7);
    ASSERT_TRUE(decoded.ok()) << utf7 << ": " << decoded.status().reason();
    EXPECT_EQ(*decoded, utf8) << utf7;
  }
}

TEST(Utf7Test, RejectsWhatIsNotUtf7) {
  const std::pair<std::string, std::string> cases[] = {
      {"caf\xC3\xA9", "a byte outside ASCII"},
      {"+", "\"+\" at the end"},
      {"a+", "\"+\" at the end"},
      {"+!", "\"+\" before no base64 digit"},
      {"+.-", "\"+\" before no base64 digit"},
      {"+A", "a whole digit left over"},
      {"+AB-", "a whole digit left over"},
      {"+Jjp-", "spare bits not zero"},
      {"+2D0-", "a high surrogate alone"},
      {"+2D0AQQ-", "a high surrogate before no low one"},
      {"+3AA-", "a low surrogate alone"},
  };
  for (const auto& [utf7, fault] : cases) {
    EXPECT_FALSE(DecodeUtf7(utf7).ok()) << utf7 << ": " << fault;
  }
}

// Every short text over the characters that steer the decoder either fails
// or decodes to a text that encodes and decodes back to itself.
TEST(Utf7Test, AnyShortInputDecodesConsistentlyOrFails) {
  const std::string alphabet = "+-A/2D3g.\x80"s + '\0';
  std::string input;
  int decoded_count = 0;
  for (std::size_t length = 0; length <= 4; ++length) {
    std::size_t combinations = 1;
    for (std::size_t i = 0; i < length; ++i) combinations *= alphabet.size();
    for (std::size_t n = 0; n < combinations; ++n) {
      input.clear();
      for (std::size_t i = 0, rest = n; i < length; ++i, rest /= alphabet.size()) {
        input += alphabet[rest % alphabet.size()];
      }
      const Result<std::string> decoded = DecodeUtf7(input);
      if (!decoded.ok()) continue;
      ++decoded_count;
      const Result<std::string> again = DecodeUtf7(EncodeUtf7(*decoded));
      ASSERT_TRUE(again.ok()) << input;
      EXPECT_EQ(*again, *decoded) << input;
    }
  }
  EXPECT_GT(decoded_count, 1000);
}

}  // namespace
}  // namespace qv
