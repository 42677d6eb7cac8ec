// Importing into a real folder, and what the page then shows of it.
#include "import/favorites_import.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>

#include "generator/folder_scan.h"
#include "generator/link_collection.h"
#include "generator/shortcut_file.h"
#include "import/import_into.h"
#include "import/import_manifest.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;
using testing::TreeOf;

// The links the page shows: the category's display name, the link's caption
// in page column C and the address the program reads from its file.
using PageLink = std::tuple<std::string, std::string, std::string>;

std::vector<PageLink> PageLinks(const TempFolder& folder) {
  ColumnLists columns;
  ScanFolders(folder.path(), columns);
  std::vector<PageLink> links;
  for (const auto& list : columns.lists) {
    for (const std::string& category : list) {
      const CategoryFiles& files = columns.category_files.at(category);
      for (std::size_t i = 0; i < files.size(); ++i) {
        const std::string file(files.Name(i));
        const auto address = ReadShortcutAddress(folder.Path(category + "/" + file));
        links.emplace_back(DisplayName(category), LinkCaption(file, PageColumn::C),
                           address.value_or("(none)"));
      }
    }
  }
  std::sort(links.begin(), links.end());
  return links;
}

const SourceBookmarks kFirstSource = {
    {"Bookmarks bar", {}, "Example", "http://example.org/"},
    {"Bookmarks bar", {"News"}, "Daily", "http://daily.example/"},
    {"Bookmarks bar", {"News"}, "Daily", "http://daily.example/evening"},
    {"Bookmarks bar",
     {"News", "Local"},
     "",
     "https://b\xc3\xbc"
     "cher.example/"},
    {"Bookmarks bar", {"Media"}, "Tube", "http://tube.example/"},
    {"Other bookmarks", {"(Archived) Old"}, "Gone soon", "http://old.example/"},
    {"Bookmarks bar", {}, "Bookmarklet", "javascript:alert(1)"},
    {"Bookmarks Menu", {}, "Recent", "place:sort=8"},
};

TEST(ImportBookmarks, EveryKeptLinkShowsOnThePageWithItsAddress) {
  TempFolder folder;
  const ImportSummary summary = Import(kFirstSource, folder);
  EXPECT_EQ(SummaryLine(summary, false),
            "6 added, 0 changed, 0 removed, 0 unchanged; 2 skipped: 1 javascript:, 1 place:");
  EXPECT_EQ(PageLinks(folder), (std::vector<PageLink>{
                                   {"(Archived) Old", "Gone soon", "http://old.example/"},
                                   {"Bookmarks bar", "Example", "http://example.org/"},
                                   {"Media (2)", "Tube", "http://tube.example/"},
                                   {"News", "Daily", "http://daily.example/"},
                                   {"News", "Daily (2)", "http://daily.example/evening"},
                                   {"News - Local",
                                    "b\xc3\xbc"
                                    "cher.example",
                                    "https://b\xc3\xbc"
                                    "cher.example/"},
                               }));
  EXPECT_EQ(folder.ReadFile("Bookmarks bar/Example.url"), Shortcut("http://example.org/"));
  EXPECT_TRUE(folder.Exists(".vorlindo-import"));

  // Nothing changed in the source: nothing to do, nothing rewritten.
  const auto before = TreeOf(folder.path());
  const ImportSummary again = Import(kFirstSource, folder);
  EXPECT_TRUE(again.InStep());
  EXPECT_EQ(again.unchanged, 6);
  EXPECT_EQ(TreeOf(folder.path()), before);
}

TEST(ImportBookmarks, ReimportChangesOnlyWhatItWroteAndKeepsTheUsersFiles) {
  TempFolder folder;
  Import(kFirstSource, folder);
  // The user's own things: a file in an imported folder, a file at a name the
  // next import wants, an imported file edited by hand, a folder of their own
  // under a category's name, and a file in a folder that is about to go.
  folder.WriteFile("News/Mine.url", Shortcut("http://mine.example/"));
  folder.WriteFile("Bookmarks bar/Fresh.url", Shortcut("http://users.example/"));
  folder.WriteFile("News/Daily (2).url", Shortcut("http://edited.example/"));
  folder.WriteFile("Tools/Own.url", Shortcut("http://own.example/"));
  folder.WriteFile("(---) (Archived) Old/desktop.ini", "kept");

  const SourceBookmarks second = {
      {"Bookmarks bar", {}, "Example", "http://example.org/changed"},
      {"Bookmarks bar", {}, "Fresh", "http://fresh.example/"},
      {"Bookmarks bar", {"News"}, "Daily", "http://daily.example/"},
      {"Bookmarks bar", {"News"}, "Daily", "http://daily.example/evening"},
      {"Bookmarks bar", {"Tools"}, "Hammer", "http://hammer.example/"},
  };
  const auto planned = Import(second, folder, /*dry_run=*/true);
  const auto unchanged = TreeOf(folder.path());
  const ImportSummary summary = Import(second, folder);
  EXPECT_EQ(SummaryLine(planned, true), "3 to add, 1 to change, 3 to remove, 1 unchanged");
  EXPECT_EQ(ChangeLines(planned), ChangeLines(summary));
  EXPECT_NE(TreeOf(folder.path()), unchanged);

  EXPECT_EQ(ChangeLines(summary), (std::vector<std::string>{
                                      "change         Bookmarks bar/Example.url",
                                      "add            Bookmarks bar/Fresh (2).url",
                                      "add            News/Daily (3).url",
                                      "add            Tools/Hammer.url",
                                      "remove         (---) (Archived) Old/Gone soon.url",
                                      "remove         Media (2)/Tube.url",
                                      "remove         News - Local/b\xc3\xbc"
                                      "cher.example.url",
                                      "remove folder  Media (2)",
                                      "remove folder  News - Local",
                                  }));
  EXPECT_EQ(folder.ReadFile("News/Mine.url"), Shortcut("http://mine.example/"));
  EXPECT_EQ(folder.ReadFile("Bookmarks bar/Fresh.url"), Shortcut("http://users.example/"));
  EXPECT_EQ(folder.ReadFile("News/Daily (2).url"), Shortcut("http://edited.example/"));
  EXPECT_EQ(folder.ReadFile("(---) (Archived) Old/desktop.ini"), "kept");
  EXPECT_TRUE(folder.Exists("Tools/Own.url"));

  // An empty source takes back everything the importer wrote and nothing else;
  // folders it made stay while the user's files are in them.
  const ImportSummary third = Import({}, folder);
  EXPECT_EQ(SummaryLine(third, false), "0 added, 0 changed, 5 removed, 0 unchanged");
  EXPECT_EQ(TreeOf(folder.path()),
            (std::map<std::string, std::string>{
                {".vorlindo-import", folder.ReadFile(".vorlindo-import")},
                {"(---) (Archived) Old", "/"},
                {"(---) (Archived) Old/desktop.ini", "kept"},
                {"Bookmarks bar", "/"},
                {"Bookmarks bar/Fresh.url", Shortcut("http://users.example/")},
                {"News", "/"},
                {"News/Daily (2).url", Shortcut("http://edited.example/")},
                {"News/Mine.url", Shortcut("http://mine.example/")},
                {"Tools", "/"},
                {"Tools/Own.url", Shortcut("http://own.example/")},
            }));
}

TEST(ImportBookmarks, ALinkAddedInBetweenDoesNotRenumberTheOthers) {
  TempFolder folder;
  Import({{"Bar", {}, "Docs", "http://b.example/"}, {"Bar", {}, "Docs", "http://c.example/"}},
         folder);
  const ImportSummary summary = Import({{"Bar", {}, "Docs", "http://a.example/"},
                                        {"Bar", {}, "Docs", "http://b.example/"},
                                        {"Bar", {}, "Docs", "http://c.example/"}},
                                       folder);
  EXPECT_EQ(ChangeLines(summary), std::vector<std::string>{"add            Bar/Docs (3).url"});
  EXPECT_EQ(folder.ReadFile("Bar/Docs.url"), Shortcut("http://b.example/"));
}

TEST(ImportBookmarks, NeverWritesThroughOrRemovesWhatLinksElsewhere) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  TempFolder outside, folder;
  outside.WriteFile("Example.url", Shortcut("http://example.org/"));
  const auto outside_before = TreeOf(outside.path());
  ASSERT_TRUE(testing::MakeSymbolicLink(outside.path(), folder.Path("Bookmarks bar")));
  folder.MakeFolder("News");
  ASSERT_TRUE(
      testing::MakeSymbolicLink(outside.Path("Example.url"), folder.Path("News/Daily.url")));
  // A hand-made list claiming the links' targets and paths outside.
  ImportManifest claims;
  claims.folders = {"Bookmarks bar", "News"};
  const std::uint64_t fingerprint = ContentFingerprint(Shortcut("http://example.org/"));
  claims.files = {{"Bookmarks bar/Example.url", {fingerprint}}, {"News/Daily.url", {fingerprint}}};
  folder.WriteFile(".vorlindo-import",
                   FormatManifest(claims) + "file\t0123456789abcdef\t../Example.url\n");

  const ImportSummary summary = Import({{"Bookmarks bar", {}, "Example", "http://new.example/"},
                                        {"Bookmarks bar", {"News"}, "Daily", "http://d.example/"}},
                                       folder);
  EXPECT_EQ(TreeOf(outside.path()), outside_before);
  EXPECT_EQ(summary.manifest_lines_left_out, 1u);
  EXPECT_EQ(ChangeLines(summary), (std::vector<std::string>{
                                      "add folder     Bookmarks bar (2)",
                                      "add            Bookmarks bar (2)/Example.url",
                                      "add            News/Daily (2).url",
                                  }));
  EXPECT_TRUE(fs::is_symlink(folder.Path("News/Daily.url")));
}

TEST(ImportBookmarks, ADamagedListTakesNothingForTheImportersOwn) {
  TempFolder folder;
  Import(kFirstSource, folder);
  folder.WriteFile(".vorlindo-import", std::string("\x00\xff garbage\n\x01\x02", 13));
  const ImportSummary summary = Import(kFirstSource, folder);
  EXPECT_EQ(summary.removed, 0);
  EXPECT_EQ(summary.added, 6);
  EXPECT_EQ(summary.manifest_lines_left_out, 2u);
  EXPECT_TRUE(folder.Exists("News/Daily (3).url"));
}

TEST(ImportBookmarks, FailsWithAReasonAndADryRunChangesNothing) {
  TempFolder folder;
  folder.WriteFile("file", "x");
  const auto not_a_folder = ImportBookmarks(kFirstSource, folder.Path("file"), {});
  ASSERT_FALSE(not_a_folder.ok());
  EXPECT_NE(not_a_folder.status().reason().find(folder.Path("file")), std::string::npos);

  const auto before = TreeOf(folder.path());
  const ImportSummary planned = Import(kFirstSource, folder, /*dry_run=*/true);
  EXPECT_FALSE(planned.InStep());
  EXPECT_EQ(TreeOf(folder.path()), before);

  // Cut short after the files are in place: they are still the importer's.
  const FavoritesPlan plan = PlanFavorites({{"Bar", {}, "Fresh", "http://fresh.example/"}});
  const auto open = OpenFolder::Open(folder.path());
  ASSERT_TRUE(open.ok());
  const auto sync = PlanSync(plan, &*open);
  ASSERT_TRUE(sync.ok());
  struct Killed {};
  EXPECT_THROW(ApplySync(*sync, *open,
                         [&] {
                           if (folder.Exists("Bar/Fresh.url")) throw Killed{};
                         }),
               Killed);
  ASSERT_TRUE(folder.Exists("Bar/Fresh.url"));
  const ImportSummary finished = Import({{"Bar", {}, "Fresh", "http://fresh.example/"}}, folder);
  EXPECT_EQ(SummaryLine(finished, false), "0 added, 0 changed, 0 removed, 1 unchanged");
}

TEST(ImportBookmarks, AFileThatCannotBeWrittenPutsNoFileOfTheSourceInPlace) {
  if (const std::string why = testing::WithoutPosixFiles(); !why.empty()) GTEST_SKIP() << why;
  TempFolder folder;
  // The reason is told, and the page never shows half an import.
  const SourceBookmarks source = {{"Bar", {}, "Short", "http://example.org/"},
                                  {"Bar", {"Long"}, "Long", "http://x/" + std::string(2000, 'a')}};
  const auto failed = [&] {
    testing::FileSizeLimit limit(1000);
    return ImportBookmarks(source, folder.path(), {});
  }();
  ASSERT_FALSE(failed.ok());
  EXPECT_NE(failed.status().reason().find("Long.url"), std::string::npos);
  EXPECT_EQ(failed.status().reason().find('\n'), std::string::npos);
  EXPECT_FALSE(folder.Exists("Bar/Short.url"));
  EXPECT_EQ(Import(source, folder).added, 2);
}

}  // namespace
}  // namespace qv::import
