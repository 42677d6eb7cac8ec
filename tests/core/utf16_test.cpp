// UTF-16, the form of names and registry texts on Windows.
#include "generator/utf16.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace qv {
namespace {

using namespace std::string_literals;

TEST(Utf16Test, NamesGoBothWaysLoneSurrogatesIncluded) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"", ""},
      {u"News", "News"},
      {u"Новости 新闻", "Новости 新闻"},
      {u"😀 Fun", "😀 Fun"},  // a surrogate pair
      {u"\U0010FFFF\u20AC", "\xF4\x8F\xBF\xBF\xE2\x82\xAC"},
      {u"a\xD800", "a\xED\xA0\x80"},  // a lone high surrogate at the end
      {u"\xDC00z", "\xED\xB0\x80z"},  // a lone low one
      {u"\xDBFF\xDBFF\xDFFF", "\xED\xAF\xBF\xF4\x8F\xBF\xBF"}};
  for (const auto& [utf16, utf8] : cases) {
    EXPECT_EQ(Utf8FromUtf16(utf16), utf8) << utf8;
    EXPECT_EQ(Utf16FromUtf8(utf8), utf16) << utf8;
  }
}

TEST(Utf16Test, BrokenUtf8BecomesReplacementCharacters) {
  const std::pair<std::string, std::u16string> cases[] = {
      {"caf\xE9", u"caf\uFFFD"},
      {"\xC0\x80", u"\uFFFD\uFFFD"},
      {"\xED\xA0", u"\uFFFD\uFFFD"},  // a surrogate cut short
      {"\xE2\x82", u"\uFFFD\uFFFD"},  // a character cut short
      {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"}};
  for (const auto& [utf8, utf16] : cases) EXPECT_EQ(Utf16FromUtf8(utf8), utf16) << utf8;
}

}  // namespace
}  // namespace qv
