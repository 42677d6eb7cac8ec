// Firefox's places.sqlite, read with SQLite's own library from a snapshot in
// memory. The browser's files are only ever read as plain files; SQLite never
// opens them. So no "-wal" or "-shm" file is made beside them, no lock is
// taken that could stand in the browser's way, a read-only profile folder
// does as well as any, and a read that is killed leaves nothing anywhere.
//
// The snapshot holds the database together with its write-ahead log and its
// rollback journal, as the browser left them at one moment
// (places_snapshot.h), and SQLite opens the copies through a file system of
// its own that keeps them in memory (sqlite_snapshot_files.h). It works on
// them as it would on the files: it applies the committed part of the log,
// drops a change that was still being written, and rolls back what a journal
// says was cut short. The import therefore sees exactly what the browser has
// saved, also while the browser runs and holds the database locked.
#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "import/bookmark_readers.h"
#include "import/places_snapshot.h"
#include "import/source_file.h"
#include "import/sqlite_snapshot_files.h"

namespace qv::import {
namespace {

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

Status SqliteFailure(const std::string& path, sqlite3* db, int code) {
  const char* message = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  return Status::Error("cannot read " + path + ": " + message);
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

// Opens the snapshot. The log's index is kept in the connection's own memory
// (an exclusive connection needs no "-shm" file), and closing leaves the
// copies as they are rather than first moving the log into the database.
int OpenSnapshot(const SnapshotFiles& files, Connection& db) {
  int code = sqlite3_open_v2(SnapshotFiles::kDatabaseName, db.out(), SQLITE_OPEN_READWRITE,
                             files.vfs_name());
  if (code == SQLITE_OK)
    code = sqlite3_db_config(db.get(), SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
  if (code == SQLITE_OK) {
    code = sqlite3_exec(db.get(), "PRAGMA locking_mode = EXCLUSIVE", nullptr, nullptr, nullptr);
  }
  return code;
}

// Reads every bookmark entry of the snapshot, naming `path` in messages.
Result<std::vector<PlacesEntry>> ReadEntries(const std::string& path, PlacesSnapshot& snapshot) {
  const SnapshotFiles files(snapshot);
  Connection db;
  int code = OpenSnapshot(files, db);
  if (code != SQLITE_OK) return SqliteFailure(path, db.get(), code);
  if (!HasBookmarkTables(db.get(), &code)) {
    if (code != SQLITE_OK) return SqliteFailure(path, db.get(), code);
    return Status::Error(path + " is not a Firefox bookmarks database: it has no bookmark tables");
  }
  Statement query;
  code = sqlite3_prepare_v2(db.get(),
                            "SELECT b.id, b.type, b.parent, b.position, b.title, b.guid, p.url "
                            "FROM moz_bookmarks b LEFT JOIN moz_places p ON p.id = b.fk",
                            -1, query.out(), nullptr);
  if (code == SQLITE_ERROR) {  // tables of another layout
    return Status::Error(path + " is not a Firefox bookmarks database this program can read: " +
                         sqlite3_errmsg(db.get()));
  }
  if (code != SQLITE_OK) return SqliteFailure(path, db.get(), code);
  std::vector<PlacesEntry> entries;
  while ((code = sqlite3_step(query.get())) == SQLITE_ROW) {
    if (entries.size() == kMaxSourceEntries) {
      return Status::Error(path + " holds more than " + std::to_string(kMaxSourceEntries) +
                           " bookmarks, folders and separators, more than an import takes");
    }
    entries.push_back(EntryAt(query.get()));
  }
  if (code != SQLITE_DONE) return SqliteFailure(path, db.get(), code);
  return entries;
}

// The title a root folder shows under. Newer versions store an internal name
// or nothing, and the browser shows its own words instead.
std::string RootTitle(const PlacesEntry& root) {
  static constexpr struct {
    std::string_view guid, internal_name, title;
  } kKnownRoots[] = {{"menu________", "menu", kFirefoxBookmarksMenu},
                     {"toolbar_____", "toolbar", kFirefoxBookmarksToolbar},
                     {"unfiled_____", "unfiled", kFirefoxOtherBookmarks},
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
  Result<PlacesSnapshot> snapshot = ReadSnapshot(path);
  if (!snapshot.ok()) return snapshot.status();
  Result<std::vector<PlacesEntry>> entries = ReadEntries(path, *snapshot);
  if (!entries.ok()) return entries.status();
  return PlacesTree(path, std::move(*entries)).Links();
}

}  // namespace qv::import
