#include "import/favorites_names.h"

#include <gtest/gtest.h>

#include "generator/link_collection.h"
#include "generator/text.h"

namespace qv::import {
namespace {

std::string Repeat(std::string_view text, int times) {
  std::string repeated;
  for (int i = 0; i < times; ++i) repeated += text;
  return repeated;
}

TEST(SafeName, KeepsToWhatBothSystemsAndThePageTake) {
  const struct {
    std::string text, name;
  } cases[] = {
      {"News: Today", "News Today"},
      {"a<b>c:d\"e/f\\g|h?i*j", "a b c d e f g h i j"},
      {"\t tab\r\nline\x01\x7f", "tab line"},
      {"two  \xc2\x85 blanks", "two blanks"},  // C1 control U+0085
      {"\xe2\x80\xaegnp.exe", "gnp.exe"},      // U+202E
      {"a\xe2\x80\x8e\xe2\x80\x8f\xd8\x9c\xe2\x80\xaa\xe2\x81\xa6\xe2\x81\xa9"
       "b",
       "ab"},
      {"\xe2\x80\xae \xe2\x80\xad.", ""},
      {"\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d", "\xd7\xa9\xd7\x9c\xd7\x95\xd7\x9d"},  // Hebrew stays
      {"...hidden", "hidden"},
      {". . .name. . .", "name"},
      {"   ", ""},
      {"caf\xe9 \xed\xa0\x80", "caf\xef\xbf\xbd \xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
      {"CON", "CON_"},
      {"con.txt", "con_.txt"},
      {"LPT9 .x", "LPT9_ .x"},
      {"COM\xc2\xb9", "COM\xc2\xb9_"},
      {"conout$", "conout$_"},
      {"CONSOLE", "CONSOLE"},
      {"COM10", "COM10"},
      {"NUL-byte", "NUL-byte"},
      {Repeat("a", 150), Repeat("a", 100)},
      {Repeat("a", 99) + " b", Repeat("a", 99)},  // no trailing blank after the cut
      {Repeat("\xc3\xa9", 150), Repeat("\xc3\xa9", 100)},
      {Repeat("\xe2\x82\xac", 150), Repeat("\xe2\x82\xac", 80)},  // 240 bytes
      {"x" + Repeat("\xf0\x9f\x98\x80", 70), "x" + Repeat("\xf0\x9f\x98\x80", 59)},
  };
  for (const auto& c : cases) EXPECT_EQ(SafeName(c.text), c.name) << c.text;
}

// The page shows a shortcut file as the caption LinkCaption makes of its
// name; a caption beginning with ";" would be taken for a category header.
void ExpectShownAsTitle(const std::string& stem) {
  for (int number : {1, 2, 100}) {
    const std::string name = NumberedName(stem, number, kShortcutExtension);
    const std::string caption = LinkCaption(name, PageColumn::C);
    EXPECT_FALSE(caption.empty()) << name;
    EXPECT_FALSE(caption.starts_with(';')) << name;
    EXPECT_TRUE(stem.starts_with(caption) || caption.starts_with(TrimBlanks(LeftChars(stem, 34))))
        << name << " shows as " << caption;
  }
}

TEST(LinkFileStem, TitleElseHostElseAddressAndAlwaysShownWhole) {
  const struct {
    std::string title, address, stem;
  } cases[] = {
      {"Example", "http://example.org/", "Example"},
      {"",
       "https://user@b\xc3\xbc"
       "cher.example:8080/a",
       "b\xc3\xbc"
       "cher.example"},
      {" . ", "http://[::1]:80/", "[ 1]"},
      {"", "mailto:someone@example.org", "mailto someone@example.org"},
      {"  ", "", "Link"},
      {"; ;Menu", "http://x/", "Menu"},
      {"www.urlaub.de", "http://x/", "www urlaub.de"},
      {"Guide.URL", "http://x/", "Guide URL"},
      {".url", "http://x/", "url"},
      {"a.url.url", "http://x/", "a url url"},
      {"AUX", "http://x/", "AUX_"},
  };
  for (const auto& c : cases) {
    const std::string stem = LinkFileStem(c.title, c.address);
    EXPECT_EQ(stem, c.stem) << c.title;
    ExpectShownAsTitle(stem);
  }
  ExpectShownAsTitle(LinkFileStem(Repeat("x.url ", 40), ""));
}

TEST(CategoryFolderName, FlattensFoldersAndShowsEveryTitleWhole) {
  const struct {
    std::string root;
    std::vector<std::string> folders;
    std::string name;
  } cases[] = {
      {"Bookmarks bar", {}, "Bookmarks bar"},
      {"Bookmarks bar", {"News", "Local"}, "News - Local"},
      {"", {}, "Bookmarks"},
      {"???", {}, "Bookmarks"},
      {"Menu", {"", "Tech: new"}, "Tech new"},
      {"Menu", {".config"}, "config"},
      {"Menu", {"(A01) News"}, "(A01) News"},
      {"Menu", {"(Archived) Misc"}, "(---) (Archived) Misc"},
      {"Menu", {"(old)"}, "(---) (old)"},
      {"Menu", {"(B) Blog"}, "(---) (B) Blog"},
      {"Menu", {"(", "x"}, "(---) ( - x"},
      {"Menu", {"CON"}, "CON_"},
  };
  for (const auto& c : cases) {
    const std::string name = CategoryFolderName(c.root, c.folders);
    EXPECT_EQ(name, c.name) << c.root;
    const std::string shown = DisplayName(name);
    EXPECT_TRUE(shown == name || name == "(---) " + shown || name == "(A01) News") << name;
  }
  // A folder nesting 1,000 deep is cut, and no separator is left dangling:
  // 17 characters and " - " make 20, so the cut falls right after the fifth.
  const std::string part = "Seventeen letters";
  const std::string deep = CategoryFolderName("Menu", std::vector<std::string>(1000, part));
  EXPECT_EQ(deep, Repeat(part + " - ", 4) + part);
}

TEST(NumberedName, NumbersAndCutsTheStemToFitTheLimits) {
  EXPECT_EQ(NumberedName("News", 1, ".url"), "News.url");
  EXPECT_EQ(NumberedName("News", 2, ".url"), "News (2).url");
  EXPECT_EQ(NumberedName("News", 3, ""), "News (3)");
  const std::string long_stem = Repeat("a", 91) + " bcdefgh";  // 99 characters
  EXPECT_EQ(NumberedName(long_stem, 1, ".url"), Repeat("a", 91) + " bcde.url");
  EXPECT_EQ(NumberedName(long_stem, 12, ".url"), Repeat("a", 91) + " (12).url");
  const std::string wide = NumberedName(Repeat("\xe2\x82\xac", 80), 2, ".url");
  EXPECT_LE(wide.size(), kMaxNameBytes);
  EXPECT_TRUE(wide.ends_with("\xe2\x82\xac (2).url"));

  for (const std::string& stem : {std::string("News"), long_stem}) {
    for (int number : {1, 2, 10, 12}) {
      EXPECT_TRUE(IsNumberingOf(NumberedName(stem, number, ".url"), stem, ".url")) << number;
    }
  }
  for (const char* name : {"News (1).url", "News (02).url", "News (-2).url", "News (2)",
                           "Newsx.url", "News 2.url", "Old (2).url"}) {
    EXPECT_FALSE(IsNumberingOf(name, "News", ".url")) << name;
  }
}

}  // namespace
}  // namespace qv::import
