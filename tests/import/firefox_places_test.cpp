// Reading places.sqlite: what it holds, while the browser holds it, and what
// is refused. The tests that stop, kill or restrict a reading process are in
// firefox_places_posix_test.cpp.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "import/bookmark_printer.h"
#include "import/bookmark_readers.h"
#include "import/places_file.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

namespace fs = std::filesystem;

TEST(ReadFirefoxPlacesTest, RootsFoldersAndLinksInPositionOrder) {
  testing::TempFolder folder;
  {
    PlacesFile places(folder.Path("places.sqlite"));
    places.Roots();
    places.Folder(10, 2, 2, "Work");
    places.Link(11, 10, 1, "B", "https://b.example/");
    places.Link(12, 10, 0, "A", "https://a.example/");
    places.Folder(13, 10, 3, "Deep");
    places.Link(14, 13, 0, "Deep link", "https://deep.example/");
    places.Folder(15, 10, 2, "Empty");
    places.Separator(16, 2, 1);
    places.Link(17, 2, 0, "Menu link", "https://menu.example/");
    places.Link(20, 3, 1, "Tool", "https://tool.example/");
    places.Link(21, 3, 0, "Most visited", "place:sort=8&maxResults=10");
    places.Run(
        "INSERT INTO moz_bookmarks (id, type, fk, parent, position, title)"
        " VALUES (22, 1, 999, 3, 2, 'Place gone')");
    places.Folder(30, 4, 0, "news");
    places.Link(31, 30, 0, "Tagged", "https://tagged.example/");
    places.Link(40, 5, 0, "Caf\xE9", "https://caf\xC3\xA9.example/\xFF\xED\xA0\x80");
    places.Link(41, 5, 1, "Bell\x07", "https://bell.example/");
    places.Link(42, 5, 2, "", "https://untitled.example/");
    places.Link(50, 6, 0, "Phone", "https://phone.example/");
    // Parent links that loop: out of reach of the root, or back to it.
    places.Folder(60, 61, 0, "Loop A");
    places.Folder(61, 60, 0, "Loop B");
    places.Link(62, 61, 1, "Lost", "https://lost.example/");
    places.Folder(63, 63, 0, "Own parent");
    places.Run("UPDATE moz_bookmarks SET parent = 10 WHERE id = 1");
  }
  const SourceBookmarks expected = {
      {"Bookmarks Menu", {}, "Menu link", "https://menu.example/"},
      {"Bookmarks Menu", {"Work"}, "A", "https://a.example/"},
      {"Bookmarks Menu", {"Work"}, "B", "https://b.example/"},
      {"Bookmarks Menu", {"Work", "Deep"}, "Deep link", "https://deep.example/"},
      {"Bookmarks Toolbar", {}, "Most visited", "place:sort=8&maxResults=10"},
      {"Bookmarks Toolbar", {}, "Tool", "https://tool.example/"},
      {"Andere Lesezeichen",
       {},
       "Caf\xEF\xBF\xBD",
       "https://café.example/\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
      {"Andere Lesezeichen", {}, "Bell\x07", "https://bell.example/"},
      {"Andere Lesezeichen", {}, "", "https://untitled.example/"},
      {"Mobile Bookmarks", {}, "Phone", "https://phone.example/"},
  };
  const Result<SourceBookmarks> read = ReadFirefoxPlaces(folder.Path("places.sqlite"));
  ASSERT_TRUE(read.ok()) << read.status().reason();
  EXPECT_EQ(*read, expected);
}

// A profile's places.sqlite with one saved link, and a change that the
// browser has begun but not saved: too large for its memory, it is partly
// written to the files already, the link's new title among it (into the log,
// or into the database with the old page in the journal).
void BeginUnsavedChange(PlacesFile& browser) {
  browser.Roots();
  browser.Link(10, 3, 0, "Saved", "https://saved.example/");
  browser.Run("PRAGMA cache_size = 10");
  browser.Run("BEGIN IMMEDIATE");
  browser.Run("UPDATE moz_bookmarks SET title = 'Not saved' WHERE id = 10");
  browser.Run(
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)"
      " INSERT INTO moz_places (id, url) SELECT 100 + i, 'https://visited.example/' || i ||"
      " printf('%.100c', 'x') FROM n");
}

TEST(ReadFirefoxPlacesTest, ReadsWhatIsSavedWhileTheBrowserHoldsTheDatabase) {
  const struct {
    const char* journal_mode;
    bool exclusive;
  } cases[] = {{"WAL", true}, {"WAL", false}, {"DELETE", true}, {"DELETE", false}};
  for (const auto& [journal_mode, exclusive] : cases) {
    SCOPED_TRACE(std::string(journal_mode) + (exclusive ? " exclusive" : " normal"));
    testing::TempFolder folder;
    folder.MakeFolder("temp");
    folder.MakeFolder("profile");
    folder.MakeFolder("killed");
    const std::string path = folder.Path("profile/places.sqlite");
    PlacesFile browser(path, journal_mode);
    // In exclusive mode the first write takes a lock that is never given back.
    if (exclusive) browser.Run("PRAGMA locking_mode = EXCLUSIVE");
    BeginUnsavedChange(browser);
    const FolderState held = StateOf(folder.Path("profile"));
    std::string files;
    for (const auto& [name, contents] : held) files += contents.first;
    ASSERT_NE(files.find("Not saved"), std::string::npos) << "the change is not written";
    if (std::string(journal_mode) == "WAL") {
      ASSERT_EQ(held.at("places.sqlite").first.find("//saved.example"), std::string::npos)
          << "the saved link is not only in the log";
    }
    // The same files as a browser killed at this moment leaves them.
    for (const auto& name : NamesIn(held)) {
      fs::copy_file(folder.Path("profile/" + name), folder.Path("killed/" + name));
    }
    const FolderState killed = StateOf(folder.Path("killed"));

    const testing::TemporaryFolderOverride temp(folder.Path("temp"));
    for (const char* profile : {"profile", "killed"}) {
      SCOPED_TRACE(profile);
      const Result<SourceBookmarks> read =
          ReadFirefoxPlaces(folder.Path(std::string(profile) + "/places.sqlite"));
      EXPECT_TRUE(read.ok()) << read.status().reason();
      if (read.ok()) {
        EXPECT_EQ(*read, kSaved);
      }
    }
    EXPECT_TRUE(StateOf(folder.Path("profile")) == held) << "the browser's files changed";
    EXPECT_TRUE(StateOf(folder.Path("killed")) == killed) << "the killed browser's files changed";
    EXPECT_TRUE(fs::is_empty(folder.Path("temp"))) << "a copy was left behind";
    browser.Run("COMMIT");
  }
}

TEST(ReadFirefoxPlacesTest, ReadsAClosedDatabaseWithoutWritingBesideIt) {
  for (const ClosedDatabase& closed : kClosedDatabases) {
    SCOPED_TRACE(closed.name);
    if (closed.through_a_link && !testing::WithoutPosixFiles().empty()) continue;
    testing::TempFolder folder;
    const std::string path = MakeClosedDatabase(folder, closed);
    const FolderState before = StateOf(folder.Path("profile"));
    const Result<SourceBookmarks> read = ReadFirefoxPlaces(path);
    ASSERT_TRUE(read.ok()) << read.status().reason();
    EXPECT_EQ(*read, kSaved);
    EXPECT_EQ(NamesIn(StateOf(folder.Path("profile"))), NamesIn(before));
    EXPECT_TRUE(StateOf(folder.Path("profile")) == before) << "a file changed";
  }
}

TEST(ReadFirefoxPlacesTest, ReadsTwoDatabasesAtOnce) {
  testing::TempFolder folder;
  const SourceBookmarks other_links = {
      {"Bookmarks Toolbar", {}, "Other", "https://other.example/"}};
  for (const auto& [name, links] : {std::pair("one.sqlite", kSaved), {"two.sqlite", other_links}}) {
    PlacesFile places(folder.Path(name));
    places.Roots();
    places.Link(10, 3, 0, links[0].title, links[0].address);
  }
  // Each read has files of its own, also while another read runs.
  const auto read_over_and_over = [&](const char* name, const SourceBookmarks& expected) {
    for (int read = 0; read < 300; ++read) {
      const Result<SourceBookmarks> links = ReadFirefoxPlaces(folder.Path(name));
      if (!links.ok() || *links != expected) {
        ADD_FAILURE() << name << ": "
                      << (links.ok() ? links->front().title : links.status().reason());
        return;
      }
    }
  };
  std::thread other([&] { read_over_and_over("two.sqlite", other_links); });
  read_over_and_over("one.sqlite", kSaved);
  other.join();
}

TEST(ReadFirefoxPlacesTest, RefusesWhatIsNoFirefoxBookmarksDatabase) {
  const struct {
    const char* name;
    void (*make)(const std::string& path);
    std::string reason;
  } cases[] = {
      {"missing", [](const std::string&) {}, "cannot open"},
      {"text", [](const std::string& path) { WriteBytes(path, "hello"); },
       "file is not a database"},
      {"larger than a read holds",
       [](const std::string& path) {
         WriteBytes(path, std::string("SQLite format 3\0", 16));
         fs::resize_file(NativePath(path), 513u << 20);  // sparse where the system allows
       },
       "is larger than 512 MiB"},
      {"broken",
       [](const std::string& path) {
         WriteBytes(path, std::string("SQLite format 3\0", 16) + std::string(4096, '\x55'));
       },
       "cannot read"},
      {"foreign",
       [](const std::string& path) {
         sqlite3* db = nullptr;
         sqlite3_open(path.c_str(), &db);
         sqlite3_exec(db, "CREATE TABLE notes (id INTEGER, text TEXT)", nullptr, nullptr, nullptr);
         sqlite3_close(db);
       },
       "is not a Firefox bookmarks database: it has no bookmark tables"},
      {"no root", [](const std::string& path) { PlacesFile places(path); },
       "is not a Firefox bookmarks database: it has no root folder"},
      {"older columns",
       [](const std::string& path) {
         PlacesFile places(path);
         places.Run("ALTER TABLE moz_bookmarks DROP COLUMN guid");
       },
       "is not a Firefox bookmarks database this program can read: no such column"},
      {"a link in 101 folders",
       [](const std::string& path) {
         PlacesFile places(path);
         places.Roots();
         places.Run("BEGIN");
         for (int level = 0; level <= 100; ++level)
           places.Folder(100 + level, level == 0 ? 2 : 99 + level, 0, "F");
         places.Link(5000, 200, 0, "Deep", "https://deep.example/");
         places.Run("COMMIT");
       },
       "has folders nested more than 100 deep"},
      {"too many entries",
       [](const std::string& path) {
         PlacesFile places(path);
         places.Roots();
         places.Run(
             "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 200000)"
             " INSERT INTO moz_bookmarks (id, type, parent, position) SELECT 100 + i, 3, 2, i FROM "
             "n");
       },
       "holds more than 200000 bookmarks, folders and separators"},
  };
  for (const auto& [name, make, reason] : cases) {
    testing::TempFolder folder;
    const std::string path = folder.Path("places.sqlite");
    make(path);
    const Result<SourceBookmarks> read = ReadFirefoxPlaces(path);
    ASSERT_FALSE(read.ok()) << name;
    EXPECT_NE(read.status().reason().find(reason), std::string::npos)
        << name << ": " << read.status().reason();
    EXPECT_EQ(read.status().reason().find('\n'), std::string::npos) << name;
  }
}

TEST(ReadFirefoxPlacesTest, FoldersNestedUpToTheLimit) {
  testing::TempFolder folder;
  {
    PlacesFile places(folder.Path("places.sqlite"));
    places.Roots();
    places.Run("BEGIN");
    for (int level = 1; level <= static_cast<int>(kMaxFolderDepth); ++level) {
      places.Folder(100 + level, level == 1 ? 2 : 99 + level, 0, "F" + std::to_string(level));
    }
    places.Link(5000, 100 + kMaxFolderDepth, 0, "Deep", "https://deep.example/");
    places.Run("COMMIT");
  }
  const Result<SourceBookmarks> read = ReadFirefoxPlaces(folder.Path("places.sqlite"));
  ASSERT_TRUE(read.ok()) << read.status().reason();
  ASSERT_EQ(read->size(), 1u);
  EXPECT_EQ((*read)[0].folders.size(), kMaxFolderDepth);
  EXPECT_EQ((*read)[0].folders.back(), "F" + std::to_string(kMaxFolderDepth));
}

}  // namespace
}  // namespace qv::import
