#include "generator/link_collection.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace qv {
namespace {

using namespace std::string_literals;
using testing::TempFolder;

TEST(DisplayNameTest, DropsTheFivePrefixCharacters) {
  EXPECT_EQ(DisplayName("(A01) News "), "News");
  EXPECT_EQ(DisplayName("(A1)News"), "ews");
  EXPECT_EQ(DisplayName("(Art)"), "");
  EXPECT_EQ(DisplayName(" (A01) News"), " (A01) News");
  EXPECT_EQ(DisplayName("(é01)Café"), "Café");  // counted in characters
}

TEST(LinkCaptionTest, BlanksTheFirstUrlAndCutsPerColumn) {
  const std::string forty = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN";
  const std::tuple<std::string, PageColumn, std::string> cases[] = {
      {"news.URL", PageColumn::A, "news"},
      {"My.url.backup.url", PageColumn::A, "My    .backup.url"},
      {".url", PageColumn::A, ""},
      {".url" + std::string(30, 'a') + "b", PageColumn::A, std::string(30, 'a')},
      {forty, PageColumn::A, forty.substr(0, 30)},
      {forty, PageColumn::B, forty.substr(0, 31)},
      {forty, PageColumn::C, forty.substr(0, 34)},
      {std::string(29, 'a') + " b.url", PageColumn::A, std::string(29, 'a')},
      {std::string(29, 'x') + "éé.url", PageColumn::A, std::string(29, 'x') + "é"},
  };
  for (const auto& [file, column, expected] : cases) {
    EXPECT_EQ(LinkCaption(file, column), expected) << file << " " << static_cast<int>(column);
  }
}

TEST(ReadShortcutAddressTest, TakesTheRestOfTheLastUrlLine) {
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"[InternetShortcut]\r\nURL= a \r\n", " a "},
      {"URL=first\r\nIconIndex=0\r\nURL=second", "second"},
      {"url=a\r\n URL=b\r\nBASEURL=c\r\n", std::nullopt},
      {"[X]\nURL=lf\nIconFile=x\n", "lf"},
      {"[X]\rURL=cr\rIconFile=x\r", "cr"},
      {"", std::nullopt},
      {"\0\xff\x01\r\nURL=a\0b\x80\r\n\xfe"s, "a\0b\x80"s},
      {"URL=early\r\n" + std::string(16 << 20, 'x') + "\r\nURL=late\r\n", "late"},
  };
  TempFolder folder;
  for (const auto& [bytes, expected] : cases) {
    folder.WriteFile("link.url", bytes);
    EXPECT_EQ(ReadShortcutAddress(folder.Path("link.url")), expected) << bytes.substr(0, 40);
  }
  folder.MakeFolder("Folder.url");
  EXPECT_EQ(ReadShortcutAddress(folder.Path("Folder.url")), std::nullopt);
}

TEST(BuildLinkGridTest, FillsEachPageColumnFromTheTop) {
  TempFolder favorites;
  favorites.WriteFile("(A01) Two/Example.url", "[InternetShortcut]\r\nURL=http://a/\r\n");
  favorites.WriteFile("(A01) Two/notes.txt", "no address\r\n");
  favorites.WriteFile("(A01) Two/Nested/Deep.url", "URL=http://deep/\r\n");
  favorites.MakeFolder("(A02) None");
  favorites.WriteFile("(B01) One/news.URL", "URL=http://b/\r\n");

  ColumnLists columns;  // "(C01) Gone" no longer exists when its links are read
  columns.lists = {{{"(A01) Two", "(A02) None"}, {"(B01) One"}, {"(C01) Gone"}}};
  LinkGrid grid;
  std::string field = favorites.path();
  field.pop_back();  // the separator is added when missing
  BuildLinkGrid(columns, field, grid);

  const std::vector<LinkGrid::Row> expected = {
      {";Two", ";One", ";Gone", "", "", ""}, {"Example", "news", "", "http://a/", "http://b/", ""},
      {"notes.txt", "", "", "", "", ""},     {"", "", "", "", "", ""},
      {";None", "", "", "", "", ""},         {"", "", "", "", "", ""},
  };
  EXPECT_EQ(grid.rows(), expected);
}

}  // namespace
}  // namespace qv
