// Firefox's places.sqlite as tests make it, and what they look at of the
// profile folder around it.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "generator/text_encoding.h"
#include "import/bookmarks.h"
#include "support/system_files.h"
#include "support/temp_folder.h"

namespace qv::import {

// A places.sqlite with the tables and columns the reader uses, as Firefox
// lays them out.
class PlacesFile {
 public:
  explicit PlacesFile(const std::string& path, const char* journal_mode = "DELETE") {
    EXPECT_EQ(sqlite3_open(path.c_str(), &db_), SQLITE_OK);
    Run(std::string("PRAGMA journal_mode = ") + journal_mode);
    Run("PRAGMA synchronous = OFF");
    Run("PRAGMA wal_autocheckpoint = 0");
    Run("CREATE TABLE moz_places (id INTEGER PRIMARY KEY, url LONGVARCHAR, title LONGVARCHAR,"
        " guid TEXT)");
    Run("CREATE TABLE moz_bookmarks (id INTEGER PRIMARY KEY, type INTEGER, fk INTEGER DEFAULT"
        " NULL, parent INTEGER, position INTEGER, title LONGVARCHAR, keyword_id INTEGER,"
        " dateAdded INTEGER, lastModified INTEGER, guid TEXT)");
  }
  ~PlacesFile() { sqlite3_close(db_); }

  // Closing then leaves the log as a browser that is killed does.
  void KeepLogOnClose() {
    EXPECT_EQ(sqlite3_db_config(db_, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr), SQLITE_OK);
  }

  void Run(const std::string& sql) {
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << sql << ": " << (error != nullptr ? error : "");
    sqlite3_free(error);
  }

  void Folder(int id, int parent, int position, const std::string& title,
              const std::string& guid = "") {
    Entry(id, 2, "NULL", parent, position, title, guid);
  }
  void Link(int id, int parent, int position, const std::string& title, const std::string& url) {
    Run("INSERT INTO moz_places (id, url) VALUES (" + std::to_string(id) + ", " + Quote(url) + ")");
    Entry(id, 1, std::to_string(id), parent, position, title, "");
  }
  void Separator(int id, int parent, int position) {
    Entry(id, 3, "NULL", parent, position, "", "");
  }

  // The folders every profile has, under their internal names; the toolbar's
  // is empty and the other folder's is the user's own.
  void Roots() {
    Folder(1, 0, 0, "", "root________");
    Folder(2, 1, 0, "menu", "menu________");
    Folder(3, 1, 1, "", "toolbar_____");
    Folder(4, 1, 2, "tags", "tags________");
    Folder(5, 1, 3, "Andere Lesezeichen", "unfiled_____");
    Folder(6, 1, 4, "mobile", "mobile______");
  }

 private:
  static std::string Quote(const std::string& text) {
    // A blob cast to text keeps bytes that are not valid UTF-8.
    std::string hex;
    for (const unsigned char c : text) {
      hex += "0123456789ABCDEF"[c >> 4];
      hex += "0123456789ABCDEF"[c & 15];
    }
    return "CAST(X'" + hex + "' AS TEXT)";
  }
  void Entry(int id, int type, const std::string& fk, int parent, int position,
             const std::string& title, const std::string& guid) {
    Run("INSERT INTO moz_bookmarks (id, type, fk, parent, position, title, guid) VALUES (" +
        std::to_string(id) + ", " + std::to_string(type) + ", " + fk + ", " +
        std::to_string(parent) + ", " + std::to_string(position) + ", " + Quote(title) + ", " +
        (guid.empty() ? "NULL" : Quote(guid)) + ")");
  }

  sqlite3* db_ = nullptr;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(NativePath(path), std::ios::binary) << bytes;
}

// Every entry of a folder with its bytes and the time it was last written.
using FolderState = std::map<std::string, std::pair<std::string, std::filesystem::file_time_type>>;

inline FolderState StateOf(const std::string& folder) {
  namespace fs = std::filesystem;
  FolderState state;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(NativePath(folder), error)) {
    std::ifstream in(entry.path(), std::ios::binary);
    state[PathText(entry.path().filename())] = {std::string(std::istreambuf_iterator<char>(in), {}),
                                                fs::last_write_time(entry, error)};
  }
  return state;
}

inline std::vector<std::string> NamesIn(const FolderState& state) {
  std::vector<std::string> names;
  for (const auto& [name, contents] : state) names.push_back(name);
  return names;
}

inline const SourceBookmarks kSaved = {
    {"Bookmarks Toolbar", {}, "Saved", "https://saved.example/"}};

// The ways a browser leaves its database when it closes.
struct ClosedDatabase {
  const char* name;
  const char* journal_mode;
  bool log_left;        // closed without moving its log into the database
  bool through_a_link;  // the path read is a link to the database
};
inline constexpr ClosedDatabase kClosedDatabases[] = {
    {"log mode", "WAL", false, false},
    {"log mode, log left", "WAL", true, false},
    {"journal mode", "DELETE", false, false},
    {"a link to it, log left", "WAL", true, true}};

// The database `closed` in the folder "profile" of `folder`, holding kSaved;
// the path to read it by.
inline std::string MakeClosedDatabase(const testing::TempFolder& folder,
                                      const ClosedDatabase& closed) {
  folder.MakeFolder("profile");
  const std::string path = folder.Path("profile/places.sqlite");
  {
    PlacesFile browser(path, closed.journal_mode);
    browser.Roots();
    browser.Link(10, 3, 0, "Saved", "https://saved.example/");
    if (closed.log_left) browser.KeepLogOnClose();
  }
  EXPECT_EQ(folder.Exists("profile/places.sqlite-wal"), closed.log_left);
  if (!closed.through_a_link) return path;
  EXPECT_TRUE(testing::MakeSymbolicLink(path, folder.Path("link.sqlite")));
  return folder.Path("link.sqlite");
}

}  // namespace qv::import
