// The address of an Internet Shortcut file, as Windows opens it.
#include "generator/shortcut_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "support/temp_folder.h"

namespace qv {
namespace {

using namespace std::string_literals;
using testing::CrLfLines;
using Cases = std::pair<std::string, std::optional<std::string>>;

// `text` as a UTF-16 LE file with its byte-order mark.
std::string Utf16LeFile(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (const char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::optional<std::string> AddressOf(const testing::TempFolder& folder, const std::string& bytes) {
  folder.WriteFile("link.url", bytes);
  return ReadShortcutAddress(folder.Path("link.url"));
}

constexpr std::size_t kPiece = 16 * 1024;  // the reader's piece size

// The longest address the reader keeps.
const std::string kLongest(kLongestShortcutAddress, 'y');

// "http://моторезина.рф/" in the Cyrillic ANSI code page.
const std::string kAnsiAddress = "http://\xEC\xEE\xF2\xEE\xF0\xE5\xE7\xE8\xED\xE0.\xF0\xF4/";

TEST(ReadShortcutAddressTest, TakesTheRestOfTheLastUrlLine) {
  const Cases cases[] = {
      {"[InternetShortcut]\r\nURL= a \r\n", " a "},
      {"URL=first\r\nIconIndex=0\r\nURL=second", "second"},
      {"url=a\r\nBASEURL=b\r\nORIGURL=c\r\nIconFile=URL=d\r\nURL =e\r\nProp3=19,2\r\n",
       std::nullopt},
      {"", std::nullopt},
      {"\0\xff\x01\r\nURL=a\0b\x80\r\n\xfe"s, "a\0b\x80"s},
      {"URL=\r\nURL", ""},
      {"URL=a\nURL=b\rURL=c\r\n\r\n", "c"},
      {"            URL=http://indented.example/\r\n\t IconIndex=0\r\n",
       "http://indented.example/"},
      {"URL=a\r\n\t \tURL=b", "b"},
      {std::string(kPiece - 4, 'p') + "\r\nURL=a\r\n", "a"},
      // The key split between pieces at each of its characters, and a line
      // that ends at the split before its key is whole.
      {std::string(kPiece - 1, ' ') + "URL=a", "a"},
      {std::string(kPiece - 2, ' ') + "URL=a", "a"},
      {std::string(kPiece - 3, ' ') + "URL=a", "a"},
      {"URL=a\r\n" + std::string(kPiece - 9, ' ') + "UR\r\nL=b\r\n", "a"},
      {"URL=" + std::string(kPiece, 'a') + "b\r\n", std::string(kPiece, 'a') + "b"},
      {std::string(kPiece - 10, '\n') + "[InternetShortcut.W]\r\nURL=+ZeVnLIqe-", "日本語"},
      {"URL=early\r\n" + std::string(16 << 20, 'x') + "\r\nURL=late\r\n", "late"},
      {"URL=early\r\n" + std::string(16 << 20, ' ') + "\r\n[" + std::string(16 << 20, 'x'),
       "early"},
      {Utf16LeFile(u"URL=early\r\n" + std::u16string(8 << 20, u'x') + u"\r\nURL=late"), "late"},
      // An address longer than the reader keeps is passed over.
      {"URL=" + kLongest + "\r\n", kLongest},
      {"URL=early\r\nURL=" + kLongest + "y\r\nIconIndex=1\r\n", "early"},
  };
  testing::TempFolder folder;
  for (const auto& [bytes, address] : cases) {
    folder.WriteFile("link.url", bytes);
    EXPECT_EQ(ReadShortcutAddress(folder.Path("link.url")), address) << bytes.substr(0, 40);
  }
}

// Files as Internet Explorer and other programs write them.
TEST(ReadShortcutAddressTest, DecodesTheUnicodeCopyUnlessTheAddressWasChanged) {
  const std::tuple<std::string, std::vector<std::string>, std::optional<std::string>> cases[] = {
      {"internationalised domain",
       {"[DEFAULT]", "BASEURL=" + kAnsiAddress, "[InternetShortcut]", "URL=" + kAnsiAddress,
        "IDList=", "HotKey=0", "IconFile=" + kAnsiAddress + "favicon.ico", "IconIndex=1",
        "[InternetShortcut.A]", "URL=" + kAnsiAddress, "[InternetShortcut.W]",
        "URL=http://+BDwEPgRCBD4EQAQ1BDcEOAQ9BDA-.+BEAERA-/",
        "IconFile=http://+BDwEPgRCBD4EQAQ1BDcEOAQ9BDA-.+BEAERA-/favicon.ico",
        "[{000214A0-0000-0000-C000-000000000046}]", "Prop3=19,2"},
       "http://моторезина.рф/"},
      {"Cyrillic path",
       {"[InternetShortcut]", "URL=https://ru.wikipedia.org/wiki/\xC7\xE0\xE3_",
        "[InternetShortcut.A]", "URL=https://ru.wikipedia.org/wiki/\xC7\xE0\xE3_",
        "[InternetShortcut.W]",
        "URL=https://ru.wikipedia.org/wiki/+BBcEMAQzBDsEMAQyBD0EMARP-_+BEEEQgRABDAEPQQ4BEYEMA-"},
       "https://ru.wikipedia.org/wiki/Заглавная_страница"},
      {"em dash, property store after",
       {"[InternetShortcut]", "URL=https://sv.example.org/wiki/Stockholm\x97Uppsala",
        "[InternetShortcut.A]", "URL=https://sv.example.org/wiki/Stockholm\x97Uppsala",
        "[InternetShortcut.W]", "URL=https://sv.example.org/wiki/Stockholm+IBQ-Uppsala",
        "[{000214A0-0000-0000-C000-000000000046}]", "Prop3=19,11"},
       "https://sv.example.org/wiki/Stockholm—Uppsala"},
      {"no ANSI copy, indented, section names in other case",
       {"[InternetShortcut]", "URL=https://ja.example.jp/\x93\xFA\x96\x7B\x8C\xEA/",
        "  [ internetshortcut.w ]  ", "\tURL=https://ja.example.jp/+ZeVnLIqe-/"},
       "https://ja.example.jp/日本語/"},
      {"only the copies",
       {"[InternetShortcut.A]", "URL=a", "[InternetShortcut.W]", "URL=+ZeVnLIqe-"},
       "日本語"},
      {"Unicode copy not UTF-7",
       {"[InternetShortcut]", "URL=http://a.example/", "[InternetShortcut.A]",
        "URL=http://a.example/", "[InternetShortcut.W]", "URL=http://+2D0-.example/",
        "URL=http://моторезина.рф/"},
       "http://a.example/"},
      {"address changed by a tool without the copies",
       {"[InternetShortcut]", "URL=http://new.example/", "[InternetShortcut.A]",
        "URL=http://\xEC\xEE.example/", "[InternetShortcut.W]", "URL=http://+BDwEPg-.example/"},
       "http://new.example/"},
      {"a later plain line wins",
       {"[InternetShortcut.W]", "URL=+ZeVnLIqe-", "[Frame]", "URL=http://frame.example/"},
       "http://frame.example/"},
      {"an unclosed header opens no section",
       {"[InternetShortcut.W", "URL=+ZeVnLIqe-"},
       "+ZeVnLIqe-"},
  };
  testing::TempFolder folder;
  for (const auto& [name, lines, address] : cases) {
    EXPECT_EQ(AddressOf(folder, CrLfLines(lines)), address) << name;
  }
}

TEST(ReadShortcutAddressTest, ReadsUtf16AndPassesOverByteOrderMarks) {
  const Cases cases[] = {
      {"\xEF\xBB\xBFURL=http://bom.example/\r\n", "http://bom.example/"},
      {"\xEF\xBB\xBF[InternetShortcut.W]\r\nURL=+ZeVnLIqe-", "日本語"},
      {Utf16LeFile(u"[InternetShortcut]\r\nURL=http://例え.テスト/\r\n"), "http://例え.テスト/"},
      {Utf16LeFile(u"[InternetShortcut.W]\nURL=http://+ZeVnLIqe-.jp/\n"), "http://日本語.jp/"},
      {Utf16LeFile(u"  URL=https://x.example/😀\rIconIndex=0"), "https://x.example/😀"},
      {Utf16LeFile(u"URL=a\xD800z\xDC00\xD800"), "a\uFFFDz\uFFFD\uFFFD"},
      {Utf16LeFile(u"URL=a") + "b", "a\uFFFD"},
      {Utf16LeFile(u"URL=a\u0D0Ab"), "a\u0D0Ab"},  // bytes 0A 0D, no line end
      {"\xFE\xFF\0U\0R\0L\0=\0a"s, std::nullopt},  // UTF-16 BE stays bytes
      {"\xFF\xFE", std::nullopt},
      {"\xEF\xBB\xBF", std::nullopt},
      {"URL=a\r\n\xEF\xBB\xBFURL=b\r\n", "a"},  // a mark only counts at the start
  };
  testing::TempFolder folder;
  for (const auto& [bytes, address] : cases) {
    EXPECT_EQ(AddressOf(folder, bytes), address) << bytes.substr(0, 40);
  }
}

TEST(ReadShortcutAddressTest, FilesThatCannotBeReadHaveNoAddress) {
  testing::TempFolder folder;
  folder.MakeFolder("folder.url");
  EXPECT_EQ(ReadShortcutAddress(folder.Path("missing.url")), std::nullopt);
  EXPECT_EQ(ReadShortcutAddress(folder.Path("folder.url")), std::nullopt);
}

}  // namespace
}  // namespace qv
