#include "generator/folder_scan.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace qv {
namespace {

using Weights = std::array<long long, kPageColumnCount>;

TEST(ChooseColumnTest, PinsByPrefixElseLightestColumn) {
  const std::tuple<std::string, Weights, PageColumn> cases[] = {
      {"News", {0, 0, 0}, PageColumn::A},        {"News", {5, 2, 2}, PageColumn::C},
      {"News", {5, 2, 3}, PageColumn::B},        {"News", {2, 2, 2}, PageColumn::A},
      {"(B12) Music", {0, 9, 0}, PageColumn::B}, {"(b12) Music", {5, 2, 2}, PageColumn::C},
      {"(Art)", {9, 0, 0}, PageColumn::A},       {" (A01) News", {1, 0, 1}, PageColumn::B},
  };
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

}  // namespace
}  // namespace qv
