// The catalogue: which folders become categories where, and their links.
#include "generator/link_collection.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "generator/folder_scan.h"
#include "support/temp_folder.h"

namespace qv {
namespace {

using enum PageColumn;
using Weights = std::array<long long, kPageColumnCount>;

TEST(ChooseColumnTest, PinsByPrefixElseLightestColumn) {
  const std::tuple<std::string, Weights, PageColumn> cases[] = {
      {"News", {0, 0, 0}, A},  {"News", {5, 2, 2}, C},        {"News", {5, 2, 3}, B},
      {"News", {2, 2, 2}, A},  {"(B12) Music", {0, 9, 0}, B}, {"(b12) Music", {5, 2, 2}, C},
      {"(Art)", {9, 0, 0}, A}, {" (A01) News", {1, 0, 1}, B}};
  for (const auto& [name, weights, expected] : cases) {
    ColumnLists columns;
    columns.weights = weights;
    EXPECT_EQ(ChooseColumn(name, columns), expected) << name;
  }
}

TEST(ScanFoldersTest, BalancesCategoriesByRowCount) {
  testing::TempFolder favorites;
  // Hidden files and nested folders do not count; the reserved, hidden and
  // loose entries are no categories.
  for (const char* file : {"News/a.url", "News/b.url", "News/c.url", "News/.d.url", "Sport/a.url",
                           "Koppelingen/a.url", "Media/a.url", ".Hidden/a.url", "Loose.url"}) {
    favorites.WriteFile(file, "URL=x\r\n");
  }
  favorites.MakeFolder("News/Nested");
  favorites.MakeFolder("Travel");

  ColumnLists columns;
  ScanFolders(favorites.path(), columns);

  using Lists = std::array<std::vector<std::string>, kPageColumnCount>;
  EXPECT_EQ(columns.lists, (Lists{{{"News"}, {"Travel"}, {"Sport"}}}));
  EXPECT_EQ(columns.weights, (Weights{4, 1, 2}));
}

TEST(ScanFoldersTest, KeepsTheCategoriesOfEachColumnInNameOrder) {
  testing::TempFolder favorites;
  // Created out of order; letters fold to one case before bytes decide.
  // Names that differ beyond letter case, so that Windows keeps them apart.
  for (const char* folder : {"(A03) Mike", "(C1)", "(A01) Zulu", "(a02) beta", "(A02) Alpha",
                             "(B9) last", "(B1) first"}) {
    favorites.WriteFile(std::string(folder) + "/link.url", "URL=x\r\n");
  }
  ColumnLists columns;
  ScanFolders(favorites.path(), columns);
  using Lists = std::array<std::vector<std::string>, kPageColumnCount>;
  // "(a02) beta" is pinned nowhere and goes to C, the lighter of B and C.
  EXPECT_EQ(columns.lists, (Lists{{{"(A01) Zulu", "(A02) Alpha", "(A03) Mike"},
                                   {"(B1) first", "(B9) last"},
                                   {"(a02) beta", "(C1)"}}}));
}

TEST(LinkCaptionTest, BlanksTheFirstUrlAndCutsPerColumn) {
  const std::string abc = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMN", a29(29, 'a'), a30(30, 'a');
  const std::tuple<std::string, PageColumn, std::string> cases[] = {
      {"news.URL", A, "news"},
      {"My.url.backup.url", A, "My    .backup.url"},
      {".url", A, ""},
      {".url" + a30 + "b", A, a30},
      {abc, A, abc.substr(0, 30)},
      {abc, B, abc.substr(0, 31)},
      {abc, C, abc.substr(0, 34)},
      {a29 + " b.url", A, a29},
      {a29 + "éé.url", A, a29 + "é"}};
  for (const auto& [file, column, caption] : cases) {
    EXPECT_EQ(LinkCaption(file, column), caption) << file << " " << static_cast<int>(column);
  }
}

TEST(BuildLinkGridTest, FillsEachPageColumnFromTheTop) {
  testing::TempFolder favorites;
  favorites.WriteFile("(é01)  Two/Example.url", "[InternetShortcut]\r\nURL=http://a/\r\n");
  favorites.WriteFile("(é01)  Two/notes.txt", "no address\r\n");
  favorites.MakeFolder("(é01)  Two/Nested.url");
  favorites.MakeFolder("(A02)");
  favorites.WriteFile("(B1)One/news.URL", "URL=http://b/\r\n");
  // A name that begins with "(" loses five characters (not bytes) and its
  // blanks. " (C01) Gone" no longer exists when its links are read.
  ColumnLists columns;
  columns.lists = {{{"(é01)  Two", "(A02)"}, {"(B1)One"}, {" (C01) Gone"}}};
  LinkGrid grid;
  std::string field = favorites.path();
  field.pop_back();  // the separator is added when missing
  BuildLinkGrid(columns, field, grid);
  const std::vector<LinkGrid::Row> rows = {{";Two", ";ne", "; (C01) Gone", "", "", ""},
                                           {"Example", "news", "", "http://a/", "http://b/", ""},
                                           {"notes.txt", "", "", "", "", ""},
                                           {"", "", "", "", "", ""},
                                           {";", "", "", "", "", ""},
                                           {"", "", "", "", "", ""}};
  EXPECT_EQ(grid.rows(), rows);
}

}  // namespace
}  // namespace qv
