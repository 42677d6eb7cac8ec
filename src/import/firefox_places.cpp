// Firefox's places.sqlite, read with SQLite's own library. Firefox keeps the
// database open while it runs, in write-ahead-log mode and often with an
// exclusive lock; a reader then gets "database is locked". In that case a
// private copy of the database and its log is read instead: SQLite applies
// the committed part of the log to the copy, so the import sees what Firefox
// has saved. The database itself is never written.
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "generator/file_system.h"
#include "import/bookmark_readers.h"
#include "import/source_file.h"
#include "import/sqlite_file_name.h"

namespace qv::import {
namespace {

namespace fs = std::filesystem;

// One row of moz_bookmarks with the address of its place.
struct PlacesEntry {
  std::int64_t id = 0;
  int type = 0;  // 1 link, 2 folder, 3 separator
  std::int64_t parent = 0;
  std::int64_t position = 0;
  std::string title;
  std::string guid;
  std::optional<std::string> address;
};

constexpr int kLinkType = 1;
constexpr int kFolderType = 2;
constexpr std::string_view kRootGuid = "root________";
constexpr std::string_view kTagsGuid = "tags________";

// The outcome of reading the entries once: the entries, or why not, with
// SQLite's code so that a lock can be told from a broken file.
struct EntriesRead {
  std::vector<PlacesEntry> entries;
  Status status = Status::Ok();
  int sqlite_code = SQLITE_OK;
};

class Connection {
 public:
  Connection() = default;
  ~Connection() { sqlite3_close_v2(db_); }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  sqlite3** out() { return &db_; }
  sqlite3* get() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement() = default;
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  sqlite3_stmt** out() { return &statement_; }
  sqlite3_stmt* get() const { return statement_; }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

std::string ColumnText(sqlite3_stmt* statement, int column) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
  if (text == nullptr) return {};
  return RepairUtf8(
      std::string_view(text, static_cast<std::size_t>(sqlite3_column_bytes(statement, column))));
}

// The current row of the query in ReadEntries.
PlacesEntry EntryAt(sqlite3_stmt* row) {
  PlacesEntry entry;
  entry.id = sqlite3_column_int64(row, 0);
  entry.type = sqlite3_column_int(row, 1);
  entry.parent = sqlite3_column_int64(row, 2);
  entry.position = sqlite3_column_int64(row, 3);
  entry.title = ColumnText(row, 4);
  entry.guid = ColumnText(row, 5);
  if (sqlite3_column_type(row, 6) != SQLITE_NULL) entry.address = ColumnText(row, 6);
  return entry;
}

EntriesRead Failure(const std::string& reason, int code) {
  EntriesRead read;
  read.status = Status::Error(reason);
  read.sqlite_code = code;
  return read;
}

EntriesRead SqliteFailure(const std::string& path, sqlite3* db, int code) {
  const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  return Failure("cannot read " + path + ": " + message, code);
}

bool HasBookmarkTables(sqlite3* db, int* code) {
  Statement count;
  *code = sqlite3_prepare_v2(db,
                             "SELECT count(*) FROM sqlite_master WHERE type = 'table' "
                             "AND name IN ('moz_bookmarks', 'moz_places')",
                             -1, count.out(), nullptr);
  if (*code == SQLITE_OK) *code = sqlite3_step(count.get());
  if (*code != SQLITE_ROW) return false;
  *code = SQLITE_OK;
  return sqlite3_column_int(count.get(), 0) == 2;
}

// Reads every bookmark entry of the database `file_name` (SQLite's name for
// it), naming `path` in messages.
EntriesRead ReadEntries(const std::string& path, const std::string& file_name, int open_flags) {
  Connection db;
  int code = sqlite3_open_v2(file_name.c_str(), db.out(), open_flags, nullptr);
  if (code != SQLITE_OK) return SqliteFailure(path, db.get(), code);
  // A short wait lets a writer finish; a lock held for longer is met with a copy.
  sqlite3_busy_timeout(db.get(), 250);
  if (!HasBookmarkTables(db.get(), &code)) {
    if (code != SQLITE_OK) return SqliteFailure(path, db.get(), code);
    return Failure(path + " is not a Firefox bookmarks database: it has no bookmark tables",
                   SQLITE_OK);
  }
  Statement query;
  code = sqlite3_prepare_v2(db.get(),
                            "SELECT b.id, b.type, b.parent, b.position, b.title, b.guid, p.url "
                            "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk",
                            -1, query.out(), nullptr);
  if (code == SQLITE_ERROR) {  // tables of another layout
    return Failure(path + " is not a Firefox bookmarks database this program can read: " +
                       sqlite3_errmsg(db.get()),
                   SQLITE_OK);
  }
  if (code != SQLITE_OK) return SqliteFailure(path, db.get(), code);
  EntriesRead read;
  while ((code = sqlite3_step(query.get())) == SQLITE_ROW) {
    if (read.entries.size() == kMaxSourceEntries) {
      return Failure(path + " holds more than " + std::to_string(kMaxSourceEntries) +
                         " bookmarks, folders and separators, more than an import takes",
                     SQLITE_OK);
    }
    read.entries.push_back(EntryAt(query.get()));
  }
  if (code != SQLITE_DONE) return SqliteFailure(path, db.get(), code);
  return read;
}

bool HeldByAnotherConnection(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_BUSY || primary == SQLITE_LOCKED;
}

// A folder of its own in the temporary folder, removed with its contents.
class PrivateFolder {
 public:
  PrivateFolder() {
    std::error_code error;
    const fs::path temp = fs::temp_directory_path(error);
    if (error) return;
    std::random_device random;
    for (int attempt = 0; attempt < 20 && path_.empty(); ++attempt) {
      const fs::path candidate = temp / ("vorlindo-places-" + std::to_string(random()));
      if (fs::create_directory(candidate, error)) path_ = candidate;
    }
  }
  ~PrivateFolder() {
    std::error_code error;
    if (!path_.empty()) fs::remove_all(path_, error);
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// Reads a copy of the database and of its log and journal, for when the
// browser holds a lock on the original.
EntriesRead ReadCopy(const std::string& path, const EntriesRead& locked) {
  PrivateFolder folder;
  const auto fail = [&](const std::string& why) {
    return Failure(locked.status.reason() + "; " + why, locked.sqlite_code);
  };
  if (folder.path().empty()) return fail("no temporary folder for a copy of it");
  const fs::path copy = folder.path() / "places.sqlite";
  for (const char* suffix : {"", "-wal", "-journal"}) {
    const fs::path from = path + suffix;
    std::error_code error;
    if (*suffix != '\0' && !fs::exists(from, error)) continue;
    if (!fs::copy_file(from, copy.string() + suffix, error)) {
      return fail("cannot copy it: " + error.message());
    }
  }
  // The copy is the program's own: it may write the log's index beside it.
  EntriesRead read = ReadEntries(path, SqliteFileName(copy.string()), SQLITE_OPEN_READWRITE);
  if (!read.status.ok() && read.sqlite_code != SQLITE_OK) {
    return fail("a copy of it cannot be read either: " + read.status.reason());
  }
  return read;
}

// The title a root folder shows under. Newer versions store an internal name
// or nothing, and the browser shows its own words instead.
std::string RootTitle(const PlacesEntry& root) {
  static constexpr struct {
    std::string_view guid, internal_name, title;
  } kKnownRoots[] = {{"menu________", "menu", "Bookmarks Menu"},
                     {"toolbar_____", "toolbar", "Bookmarks Toolbar"},
                     {"unfiled_____", "unfiled", "Other Bookmarks"},
                     {"mobile______", "mobile", "Mobile Bookmarks"}};
  for (const auto& known : kKnownRoots) {
    if (root.guid == known.guid && (root.title.empty() || root.title == known.internal_name)) {
      return std::string(known.title);
    }
  }
  return root.title;
}

// The entries as folders of children in their order. Each entry is reached
// at most once, so a loop in the parent links cannot hold the walk.
class PlacesTree {
 public:
  PlacesTree(const std::string& path, std::vector<PlacesEntry> entries)
      : path_(path), entries_(std::move(entries)), reached_(entries_.size(), false) {
    for (std::size_t i = 0; i < entries_.size(); ++i) children_[entries_[i].parent].push_back(i);
    for (auto& [parent, children] : children_) {
      std::sort(children.begin(), children.end(), [&](std::size_t a, std::size_t b) {
        return std::pair(entries_[a].position, entries_[a].id) <
               std::pair(entries_[b].position, entries_[b].id);
      });
    }
  }

  Result<SourceBookmarks> Links() {
    const auto root = std::find_if(entries_.begin(), entries_.end(), [](const PlacesEntry& entry) {
      return entry.guid == kRootGuid;
    });
    if (root == entries_.end()) {
      return Status::Error(path_ + " is not a Firefox bookmarks database: it has no root folder");
    }
    reached_[static_cast<std::size_t>(root - entries_.begin())] = true;
    for (const std::size_t top : ChildrenOf(root->id)) {
      if (reached_[top] || entries_[top].guid == kTagsGuid) continue;
      reached_[top] = true;
      if (entries_[top].type == kFolderType) {
        if (Status walked = WalkRoot(entries_[top]); !walked.ok()) return walked;
      } else {
        AddLink(entries_[top], "", {});
      }
    }
    return std::move(links_);
  }

 private:
  const std::vector<std::size_t>& ChildrenOf(std::int64_t id) const {
    static const std::vector<std::size_t> kNone;
    const auto found = children_.find(id);
    return found == children_.end() ? kNone : found->second;
  }

  void AddLink(const PlacesEntry& entry, const std::string& root,
               const std::vector<std::string>& folders) {
    if (entry.type == kLinkType && entry.address.has_value()) {
      links_.push_back({root, folders, entry.title, *entry.address});
    }
  }

  // Depth first in the order of positions, without recursion.
  Status WalkRoot(const PlacesEntry& root) {
    const std::string root_title = RootTitle(root);
    struct Frame {
      const std::vector<std::size_t>* children;
      std::size_t next;
    };
    std::vector<Frame> stack = {{&ChildrenOf(root.id), 0}};
    std::vector<std::string> folders;
    while (!stack.empty()) {
      Frame& frame = stack.back();
      if (frame.next == frame.children->size()) {
        stack.pop_back();
        if (!folders.empty()) folders.pop_back();
        continue;
      }
      const std::size_t index = (*frame.children)[frame.next++];
      if (reached_[index]) continue;
      reached_[index] = true;
      const PlacesEntry& entry = entries_[index];
      if (entry.type != kFolderType) {
        AddLink(entry, root_title, folders);
        continue;
      }
      const std::vector<std::size_t>& children = ChildrenOf(entry.id);
      if (children.empty()) continue;
      if (folders.size() == kMaxFolderDepth) {
        return Status::Error(path_ + " has folders nested more than " +
                             std::to_string(kMaxFolderDepth) + " deep");
      }
      folders.push_back(entry.title);
      stack.push_back({&children, 0});
    }
    return Status::Ok();
  }

  const std::string& path_;
  std::vector<PlacesEntry> entries_;
  std::vector<bool> reached_;
  std::unordered_map<std::int64_t, std::vector<std::size_t>> children_;
  SourceBookmarks links_;
};

}  // namespace

Result<SourceBookmarks> ReadFirefoxPlaces(const std::string& path) {
  // SQLite would report a missing file only as "unable to open".
  if (const auto opened = ReadableFile::Open(path); !opened.ok()) return opened.status();
  EntriesRead read = ReadEntries(path, SqliteFileName(path), SQLITE_OPEN_READONLY);
  if (HeldByAnotherConnection(read.sqlite_code)) read = ReadCopy(path, read);
  if (!read.status.ok()) return read.status;
  return PlacesTree(path, std::move(read.entries)).Links();
}

}  // namespace qv::import
