#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "import/bookmark_printer.h"
#include "import/bookmark_readers.h"
#include "support/temp_folder.h"

namespace qv::import {
namespace {

TEST(ReadBookmarkSourceTest, TellsTheStoreByContentNotByName) {
  testing::TempFolder folder;
  const std::string places = folder.Path("bookmarks.html");
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(places.c_str(), &db), SQLITE_OK);
  sqlite3_exec(db,
               "CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url TEXT);"
               "CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER,"
               " parent INTEGER, position INTEGER, title TEXT, guid TEXT);"
               "INSERT INTO moz_places VALUES (10, 'https://places.example/');"
               "INSERT INTO moz_bookmarks VALUES (1, 2, NULL, 0, 0, '', 'root________'),"
               " (2, 2, NULL, 1, 0, 'toolbar', 'toolbar_____'), (10, 1, 10, 2, 0, 'P', 'x');",
               nullptr, nullptr, nullptr);
  sqlite3_close(db);
  folder.WriteFile("Bookmarks.json.html",
                   "\xEF\xBB\xBF \r\n {\"roots\": {\"other\": {\"name\": \"O\", \"children\": "
                   "[{\"type\": \"url\", \"name\": \"J\", \"url\": \"https://json.example/\"}]}}}");
  folder.WriteFile("Bookmarks",
                   "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n<H1>M</H1>\n<DL><p>\n"
                   "<DT><A HREF=\"https://html.example/\">H</A>\n</DL><p>\n");
  const struct {
    std::string path;
    SourceBookmark only;
  } cases[] = {
      {places, {"Bookmarks Toolbar", {}, "P", "https://places.example/"}},
      {folder.Path("Bookmarks.json.html"), {"Other bookmarks", {}, "J", "https://json.example/"}},
      {folder.Path("Bookmarks"), {"M", {}, "H", "https://html.example/"}},
  };
  for (const auto& [path, only] : cases) {
    const Result<SourceBookmarks> read = ReadBookmarkSource(path);
    ASSERT_TRUE(read.ok()) << read.status().reason();
    EXPECT_EQ(*read, SourceBookmarks{only});
  }
}

TEST(ReadBookmarkSourceTest, RefusesHugeAndMissingFilesWithTheirReason) {
  testing::TempFolder folder;
  // Sparse files: 100 MB on the size, hardly any on the disk.
  for (const char* start : {"{", "<!DOCTYPE NETSCAPE-Bookmark-file-1>"}) {
    folder.WriteFile("huge", start);
    std::filesystem::resize_file(folder.Path("huge"), 100'000'000);
    const Result<SourceBookmarks> read = ReadBookmarkSource(folder.Path("huge"));
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.status().reason(),
              folder.Path("huge") + " is larger than 64 MiB, the most an import reads");
  }
  folder.MakeFolder("profile");
  for (const char* name : {"missing", "profile"}) {
    const Result<SourceBookmarks> read = ReadBookmarkSource(folder.Path(name));
    ASSERT_FALSE(read.ok());
    EXPECT_EQ(read.status().reason().rfind("cannot open " + folder.Path(name), 0), 0u)
        << read.status().reason();
  }
}

}  // namespace
}  // namespace qv::import
