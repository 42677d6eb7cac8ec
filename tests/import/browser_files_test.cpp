// Stores and exports that Firefox 153 ESR and Chromium 156 wrote themselves
// (data/): a folder "Misc" under every root, links at the top of each root, a
// folder named as a root, an empty folder, titles in other scripts, a title
// with a right-to-left override, and a bookmarklet. Firefox made them through
// its own bookmarks service and wrote bookmarks.html with the exporter of its
// Library (places.sqlite then compacted by SQLite, nothing else changed);
// Chromium through its bookmark manager, whose Export wrote bookmarks.html.
// Its "Mobile bookmarks" were put in its Bookmarks file before it started; it
// read them and wrote the file again itself. The "-de" ones are a few links
// at the top of each root, written by both browsers run in German.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <tuple>

#include "import/bookmark_printer.h"
#include "import/bookmark_readers.h"
#include "import/favorites_plan.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

void SortRecords(SourceBookmarks& records) {
  std::sort(records.begin(), records.end(), [](const SourceBookmark& a, const SourceBookmark& b) {
    return std::tie(a.root, a.folders, a.title, a.address) <
           std::tie(b.root, b.folders, b.title, b.address);
  });
}

// The records of the data file `relative`, read from a copy of it, sorted.
SourceBookmarks ReadSorted(const std::string& relative) {
  std::ifstream in(std::string(VORLINDO_IMPORT_TEST_DATA) + "/" + relative, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  testing::TempFolder folder;
  folder.WriteFile("store", bytes.str());
  Result<SourceBookmarks> read = ReadBookmarkSource(folder.Path("store"));
  EXPECT_TRUE(read.ok()) << relative << ": " << read.status().reason();
  SourceBookmarks sorted = read.ok() ? *read : SourceBookmarks{};
  SortRecords(sorted);
  return sorted;
}

const struct {
  std::string profile, export_file;
  std::string mobile_root;
  std::string mobile_root_in_export;  // empty: the export leaves them out
} kBrowsers[] = {
    {"firefox/places.sqlite", "firefox/bookmarks.html", "Mobile Bookmarks", ""},
    {"chromium/Bookmarks", "chromium/bookmarks.html", "Mobile bookmarks", "Other bookmarks"},
    // Run in German: the exports name the roots in German, the stores not
    // all of them.
    {"firefox-de/places.sqlite", "firefox-de/bookmarks.html", "", ""},
    {"chromium-de/Bookmarks", "chromium-de/bookmarks.html", "", ""},
};

// Switching between a profile and its browser's own export moves nothing the
// export holds.
TEST(BrowserFiles, EachProfileAndItsBrowsersOwnExportHoldTheSameRecords) {
  for (const auto& browser : kBrowsers) {
    SourceBookmarks expected;
    for (SourceBookmark bookmark : ReadSorted(browser.profile)) {
      if (bookmark.root == browser.mobile_root) {
        if (browser.mobile_root_in_export.empty()) continue;
        bookmark.root = browser.mobile_root_in_export;
      }
      expected.push_back(std::move(bookmark));
    }
    SortRecords(expected);
    EXPECT_EQ(ReadSorted(browser.export_file), expected) << browser.export_file;
  }
}

using Categories = std::map<std::string, std::vector<std::string>>;

Categories PlannedStems(const std::string& relative) {
  Categories stems;
  for (const PlannedCategory& category : PlanFavorites(ReadSorted(relative)).categories) {
    for (const PlannedLink& link : category.links) stems[category.name].push_back(link.stem);
  }
  return stems;
}

TEST(BrowserFiles, EveryFolderWithLinksIsACategoryOfItsOwn) {
  EXPECT_EQ(PlannedStems("firefox/places.sqlite"),
            (Categories{
                {"Bookmarks Menu", {"Menu top", "gnp.exe"}},
                {"Bookmarks Menu - Bookmarks Toolbar", {"Not the toolbar"}},
                {"Bookmarks Menu - Misc", {"Menu misc"}},
                {"Bookmarks Toolbar", {"Toolbar top"}},
                {"Bookmarks Toolbar - Misc", {"Toolbar misc"}},
                {"Mobile Bookmarks", {"Mobile top"}},
                {"Mobile Bookmarks - Misc", {"Mobile misc"}},
                {"Nachrichten – Überblick", {"Zeitung für Bücher"}},
                {"Other Bookmarks", {"Other top"}},
                {"Other Bookmarks - Misc", {"Other misc"}},
                {"Reisen - 日本", {"東京"}},
            }));
}

}  // namespace
}  // namespace qv::import
