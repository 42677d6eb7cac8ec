#include "import/favorites_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "import/shortcut_contents.h"

namespace qv::import {

// Shows a category in test failures by its name and link stems.
inline void PrintTo(const PlannedCategory& category, std::ostream* out) {
  *out << "{\"" << category.name << "\":";
  for (const PlannedLink& link : category.links) *out << " \"" << link.stem << "\"";
  *out << "}";
}

namespace {

PlannedLink Link(std::string stem, std::string_view address) {
  return {std::move(stem), *ShortcutContents(address)};
}

TEST(PlanFavorites, FoldersBecomeCategoriesAndUnopenableLinksAreCounted) {
  const SourceBookmarks source = {
      {"Bookmarks bar", {}, "Example", "http://example.org/"},
      {"Bookmarks bar", {"News"}, "Daily", "http://daily.example/"},
      {"Bookmarks bar", {"News", "Local"}, "Town", "http://town.example/"},
      {"Bookmarks bar",
       {"NEWS"},
       "",
       "https://b\xc3\xbc"
       "cher.example/"},
      // Which addresses are left out, and why, is the address screen's to
      // say; here they are counted, and a folder of them alone is none.
      {"Bookmarks bar", {}, "Bookmarklet", "javascript:alert(1)"},
      {"Bookmarks Menu", {}, "Recent", "place:sort=8"},
      {"Bookmarks Menu", {}, "Recent", " PLACE:sort=8"},
      {"Bookmarks Menu", {"Share"}, "Share", "\\\\host\\share"},
      {"", {}, "Flat", " http://flat.example/\n"},
      {"", {}, "Nothing", " \t "},
      // Too long for the shortcut reader once percent-encoded.
      {"Bookmarks bar", {}, "Huge", "http://x/" + std::string(1 << 20, '\xe9')},
  };
  const FavoritesPlan plan = PlanFavorites(source);
  // "News" and "NEWS" are one folder on Windows: one category, under the
  // name that sorts first.
  const std::vector<PlannedCategory> expected = {
      {"Bookmarks bar", {Link("Example", "http://example.org/")}},
      {"NEWS",
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
                                      {"network path", 1},
                                      {"no address", 1},
                                      {"address too long", 1}}));
}

// The stems of each category's links, by category name.
std::map<std::string, std::vector<std::string>> StemsByCategory(const FavoritesPlan& plan) {
  std::map<std::string, std::vector<std::string>> stems;
  for (const PlannedCategory& category : plan.categories) {
    for (const PlannedLink& link : category.links) stems[category.name].push_back(link.stem);
    std::sort(stems[category.name].begin(), stems[category.name].end());
  }
  return stems;
}

TEST(PlanFavorites, FoldersOfOneNameUnderDifferentRootsStayApartWhateverTheOrder) {
  SourceBookmarks source = {
      {"Bookmarks Toolbar", {}, "T", "https://t.example/"},
      {"Bookmarks Toolbar", {"Misc"}, "T misc", "https://t-misc.example/"},
      {"Bookmarks Menu", {"misc"}, "M misc", "https://m-misc.example/"},
      {"Bookmarks Menu", {"Misc"}, "M Misc", "https://m-misc2.example/"},
      {"Bookmarks Menu", {"Bookmarks Toolbar"}, "Not T", "https://not-t.example/"},
      {"Bookmarks Menu", {"Travel", "Misc"}, "Trip", "https://trip.example/"},
      {"Other Bookmarks", {"Solo"}, "Solo", "https://solo.example/"},
      {"Mobile Bookmarks", {"MISC"}, "Phone", "https://phone.example/"},
      // Holds no link that is written: clashes with nothing.
      {"Other Bookmarks", {"Misc"}, "Script", "javascript:void(0)"},
  };
  const std::map<std::string, std::vector<std::string>> expected = {
      {"Bookmarks Toolbar", {"T"}},
      {"Bookmarks Toolbar - Misc", {"T misc"}},
      {"Bookmarks Menu - Misc", {"M Misc", "M misc"}},
      {"Bookmarks Menu - Bookmarks Toolbar", {"Not T"}},
      {"Travel - Misc", {"Trip"}},
      {"Solo", {"Solo"}},
      {"Mobile Bookmarks - MISC", {"Phone"}},
  };
  EXPECT_EQ(StemsByCategory(PlanFavorites(source)), expected);
  std::reverse(source.begin(), source.end());
  EXPECT_EQ(StemsByCategory(PlanFavorites(source)), expected);
}

}  // namespace
}  // namespace qv::import
