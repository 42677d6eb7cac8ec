#include "import/favorites_plan.h"

#include <gtest/gtest.h>

#include "import/shortcut_contents.h"

namespace qv::import {
namespace {

PlannedLink Link(std::string stem, std::string_view address) {
  return {std::move(stem), *ShortcutContents(address)};
}

TEST(PlanFavorites, FoldersBecomeCategoriesAndUnopenableLinksAreCounted) {
  const SourceBookmarks source = {
      {"Bookmarks bar", {}, "Example", "http://example.org/"},
      {"Bookmarks bar", {"News"}, "Daily", "http://daily.example/"},
      {"Bookmarks bar", {"News", "Local"}, "Town", "http://town.example/"},
      {"Other bookmarks",
       {"NEWS"},
       "",
       "https://b\xc3\xbc"
       "cher.example/"},
      {"Bookmarks bar", {}, "Bookmarklet", "javascript:alert(1)"},
      {"Bookmarks Menu", {}, "Recent", "place:sort=8"},
      {"Bookmarks Menu", {}, "Recent", " PLACE:sort=8"},
      {"Bookmarks Menu", {"Pictures only"}, "pic", "data:image/png;base64,AAAA"},
      {"", {}, "Flat", " http://flat.example/\n"},
      {"", {}, "Nothing", " \t "},
      // Too long for the shortcut reader once percent-encoded.
      {"Bookmarks bar", {}, "Huge", "http://x/" + std::string(1 << 20, '\xe9')},
  };
  const FavoritesPlan plan = PlanFavorites(source);
  const std::vector<PlannedCategory> expected = {
      {"Bookmarks bar", {Link("Example", "http://example.org/")}},
      {"News",
       {Link("Daily", "http://daily.example/"), Link("b\xc3\xbc"
                                                     "cher.example",
                                                     "https://b\xc3\xbc"
                                                     "cher.example/")}},
      {"News - Local", {Link("Town", "http://town.example/")}},
      {"Bookmarks", {Link("Flat", "http://flat.example/")}},
  };
  EXPECT_EQ(plan.categories, expected);
  EXPECT_EQ(plan.skipped, (SkipCounts{{"javascript:", 1},
                                      {"place:", 2},
                                      {"data:", 1},
                                      {"no address", 1},
                                      {"address too long", 1}}));
}

}  // namespace
}  // namespace qv::import
