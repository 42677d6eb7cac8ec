// Firefox's places.sqlite, read with SQLite's own library from a snapshot in
// memory. The browser's files are only ever read as plain files; SQLite never
// opens them. So no "-wal" or "-shm" file is made beside them, no lock is
// taken that could stand in the browser's way, a read-only profile folder
// does as well as any, and a read that is killed leaves nothing anywhere.
//
// The snapshot holds the database together with its write-ahead log and its
// rollback journal, as the browser left them at one moment (ReadSnapshot).
// SQLite works on these copies as it would on the files: it applies the
// committed part of the log, drops a change that was still being written,
// and rolls back what a journal says was cut short. The import therefore sees
// exactly what the browser has saved, also while the browser runs and holds
// the database locked.
#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <unordered_map>
#include <utility>
#include <vector>

#include "generator/file_system.h"
#include "import/bookmark_readers.h"
#include "import/source_file.h"

namespace qv::import {
namespace {

namespace fs = std::filesystem;

// The snapshot is held in memory whole. Firefox keeps places.sqlite far
// smaller by expiring history; the cap also keeps every read below the bytes
// at 1 GiB that SQLite locks, which Windows lets no one else read while they
// are locked.
constexpr std::size_t kMaxSnapshotFileBytes = std::size_t{512} << 20;

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

// A file SQLite reads beside the database.
struct SideFile {
  bool present = false;
  std::string bytes;
};

// The browser's database files as they were at one moment.
struct PlacesSnapshot {
  std::string database;
  SideFile wal;      // "-wal": committed changes not yet copied into the database
  SideFile journal;  // "-journal": the old contents of pages a change was writing
};

constexpr std::string_view kWalSuffix = "-wal";
constexpr std::string_view kJournalSuffix = "-journal";

// SQLite keeps the log and the journal beside the file a link leads to.
std::string SideFileStem(const std::string& path) {
  std::error_code error;
  if (!fs::is_symlink(path, error)) return path;
  const fs::path target = fs::canonical(path, error);
  return error ? path : target.string();
}

// The bytes of the file at `path`, read a megabyte at a time into memory
// taken at the file's size, so that a database of tens of megabytes is copied
// once rather than again at each growth; a file that grows meanwhile is read
// on.
Result<std::string> ReadFileBytes(const std::string& path) {
  const std::size_t cap = kMaxSnapshotFileBytes;
  const auto too_large = [&] {
    return Status::Error(path + " is larger than " + std::to_string(cap >> 20) +
                         " MiB, the most an import reads");
  };
  const Result<std::unique_ptr<ReadableFile>> opened = ReadableFile::Open(path);
  if (!opened.ok()) return opened.status();
  ReadableFile& file = **opened;
  std::error_code error;
  const std::uintmax_t size = fs::file_size(path, error);
  if (!error && size > cap) return too_large();
  // A byte more, so that the read which finds the end has room to try.
  std::string bytes(error ? 1 : static_cast<std::size_t>(size) + 1, '\0');
  std::size_t filled = 0;
  for (;;) {
    constexpr std::size_t kPiece = std::size_t{1} << 20;
    const std::size_t count =
        file.Read(bytes.data() + filled, std::min(bytes.size() - filled, kPiece));
    if (count == 0) break;
    filled += count;
    if (filled > cap) return too_large();
    if (filled == bytes.size()) bytes.resize(std::min(2 * filled, cap + 1));
  }
  if (!file.read_status().ok()) {
    return Status::Error("cannot read " + path + ": " + file.read_status().reason());
  }
  bytes.resize(filled);
  return bytes;
}

Result<SideFile> ReadSideFile(const std::string& path) {
  std::error_code error;
  if (!fs::exists(path, error)) return SideFile{};
  Result<std::string> bytes = ReadFileBytes(path);
  if (bytes.ok()) return SideFile{true, std::move(*bytes)};
  // Gone meanwhile: the browser was done with it, which is a moment as good.
  if (!fs::exists(path, error) && !error) return SideFile{};
  return bytes.status();
}

// Reads the database, then the files beside it.
Result<PlacesSnapshot> ReadOnce(const std::string& path, const std::string& side_stem) {
  Result<std::string> database = ReadFileBytes(path);
  if (!database.ok()) return database.status();
  Result<SideFile> wal = ReadSideFile(side_stem + std::string(kWalSuffix));
  if (!wal.ok()) return wal.status();
  Result<SideFile> journal = ReadSideFile(side_stem + std::string(kJournalSuffix));
  if (!journal.ok()) return journal.status();
  return PlacesSnapshot{std::move(*database), std::move(*wal), std::move(*journal)};
}

// True when the file at `path` still holds `bytes`: exactly, or followed by
// more when `growth_allowed`. A file that cannot be read counts as changed.
bool StillHolds(const std::string& path, std::string_view bytes, bool growth_allowed) {
  const Result<std::unique_ptr<ReadableFile>> opened = ReadableFile::Open(path);
  if (!opened.ok()) return false;
  ReadableFile& file = **opened;
  std::string chunk(std::size_t{1} << 16, '\0');
  std::size_t compared = 0;
  for (;;) {
    const std::size_t left = bytes.size() - compared;
    if (growth_allowed && left == 0) return true;
    const std::size_t count =
        file.Read(chunk.data(), growth_allowed ? std::min(chunk.size(), left) : chunk.size());
    if (count == 0) return left == 0 && file.read_status().ok();
    if (count > left || bytes.substr(compared, count) != std::string_view(chunk.data(), count)) {
      return false;
    }
    compared += count;
  }
}

// True when the snapshot is one moment of the browser's files: read again,
// the database is as it was, and the log and the journal still begin with
// what was read of them (the browser may have added to them since).
//
// The browser writes into the database file only to copy committed changes
// out of the log (a checkpoint) or, without a log, to write a change whose
// old pages the journal holds already; it starts the log anew, or cuts it
// short, only once all of it is copied. So with the database unchanged from
// its first read to its second, and no byte read of the log or the journal
// overwritten or cut off by then, the copies belong together: what the
// browser appended meanwhile is just not in the snapshot yet, and SQLite
// drops a change whose end it does not find.
bool StillSteady(const std::string& path, const std::string& side_stem,
                 const PlacesSnapshot& snapshot) {
  if (!StillHolds(path, snapshot.database, false)) return false;
  const auto side_holds = [&](const SideFile& side, std::string_view suffix) {
    return !side.present || StillHolds(side_stem + std::string(suffix), side.bytes, true);
  };
  return side_holds(snapshot.wal, kWalSuffix) && side_holds(snapshot.journal, kJournalSuffix);
}

// A browser saves in short bursts; a few pauses of growing length see one out.
constexpr int kSnapshotTries = 10;
constexpr std::chrono::milliseconds kSnapshotPause{20};

Result<PlacesSnapshot> ReadSnapshot(const std::string& path) {
  const std::string side_stem = SideFileStem(path);
  for (int tries = 1;; ++tries) {
    Result<PlacesSnapshot> snapshot = ReadOnce(path, side_stem);
    if (!snapshot.ok() || StillSteady(path, side_stem, *snapshot)) return snapshot;
    if (tries == kSnapshotTries) {
      return Status::Error(path + " changed each of the " + std::to_string(kSnapshotTries) +
                           " times it was read; the browser is saving: try again in a moment");
    }
    std::this_thread::sleep_for(kSnapshotPause * tries);
  }
}

// A file as SQLite sees it, kept in memory: one of the snapshot's files, or
// a scratch file of SQLite's own (a temporary table, a statement journal).
struct MemoryFile {
  sqlite3_file base;  // first: SQLite hands out pointers to it
  std::string* bytes;
  bool scratch;  // `bytes` belong to this file alone
};

MemoryFile& Memory(sqlite3_file* file) {
  return *reinterpret_cast<MemoryFile*>(file);
}

int CloseMemory(sqlite3_file* file) {
  if (Memory(file).scratch) delete Memory(file).bytes;
  return SQLITE_OK;
}

int ReadMemory(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
  const std::string& bytes = *Memory(file).bytes;
  const auto wanted = static_cast<std::size_t>(amount);
  const auto start = static_cast<std::size_t>(offset);
  const std::size_t found = start < bytes.size() ? std::min(wanted, bytes.size() - start) : 0;
  if (found > 0) std::memcpy(buffer, bytes.data() + start, found);
  if (found == wanted) return SQLITE_OK;
  // SQLite takes a short read for the end of the file, given zeros after it.
  std::memset(static_cast<char*>(buffer) + found, 0, wanted - found);
  return SQLITE_IOERR_SHORT_READ;
}

// Writes come from SQLite's own repairs (a journal rolled back) and scratch
// files; a journal that names pages far beyond the database gets no memory.
int WriteMemory(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
  std::string& bytes = *Memory(file).bytes;
  const auto start = static_cast<std::uint64_t>(offset);
  const auto size = static_cast<std::size_t>(amount);
  if (start + size > kMaxSnapshotFileBytes) return SQLITE_FULL;
  try {
    if (bytes.size() < start + size) bytes.resize(static_cast<std::size_t>(start) + size);
  } catch (const std::bad_alloc&) {
    return SQLITE_IOERR_NOMEM;
  }
  std::memcpy(bytes.data() + start, data, size);
  return SQLITE_OK;
}

int TruncateMemory(sqlite3_file* file, sqlite3_int64 size) {
  std::string& bytes = *Memory(file).bytes;
  if (static_cast<std::size_t>(size) < bytes.size()) bytes.resize(static_cast<std::size_t>(size));
  return SQLITE_OK;
}

int MemorySize(sqlite3_file* file, sqlite3_int64* size) {
  *size = static_cast<sqlite3_int64>(Memory(file).bytes->size());
  return SQLITE_OK;
}

// The snapshot is this read's alone: every lock is granted, none is held by
// anyone else, and nothing needs to reach a disk. Version 1 has no shared
// memory, which an exclusive connection does without.
constexpr sqlite3_io_methods kMemoryFileMethods = {
    1,
    CloseMemory,
    ReadMemory,
    WriteMemory,
    TruncateMemory,
    [](sqlite3_file*, int) { return SQLITE_OK; },  // sync
    MemorySize,
    [](sqlite3_file*, int) { return SQLITE_OK; },  // lock
    [](sqlite3_file*, int) { return SQLITE_OK; },  // unlock
    [](sqlite3_file*, int* reserved) {
      *reserved = 0;
      return SQLITE_OK;
    },
    [](sqlite3_file*, int, void*) { return SQLITE_NOTFOUND; },  // file control
    [](sqlite3_file*) { return 4096; },                         // sector size
    [](sqlite3_file*) { return 0; },                            // device characteristics
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
    nullptr,
};

// The snapshot as files that SQLite opens, through a file system of SQLite's
// that lives as long as this object: registered under a name of its own, so
// that reads at the same time never meet, and withdrawn before the snapshot
// goes. Names are "places.sqlite" and what SQLite adds to it; time, sleep and
// randomness come from the system's own file system.
class SnapshotFiles {
 public:
  static constexpr const char* kDatabaseName = "places.sqlite";

  explicit SnapshotFiles(PlacesSnapshot& snapshot)
      : snapshot_(snapshot),
        name_("vorlindo-places-" + std::to_string(reinterpret_cast<std::uintptr_t>(this))),
        system_(sqlite3_vfs_find(nullptr)) {
    vfs_.iVersion = 2;
    vfs_.szOsFile = sizeof(MemoryFile);
    vfs_.mxPathname = 512;
    vfs_.zName = name_.c_str();
    vfs_.pAppData = this;
    vfs_.xOpen = Open;
    vfs_.xDelete = Delete;
    vfs_.xAccess = Access;
    vfs_.xFullPathname = [](sqlite3_vfs*, const char* name, int size, char* out) {
      sqlite3_snprintf(size, out, "%s", name);
      return SQLITE_OK;
    };
    vfs_.xRandomness = [](sqlite3_vfs* vfs, int size, char* out) {
      return System(vfs)->xRandomness(System(vfs), size, out);
    };
    vfs_.xSleep = [](sqlite3_vfs* vfs, int microseconds) {
      return System(vfs)->xSleep(System(vfs), microseconds);
    };
    vfs_.xCurrentTime = [](sqlite3_vfs* vfs, double* now) {
      return System(vfs)->xCurrentTime(System(vfs), now);
    };
    vfs_.xGetLastError = [](sqlite3_vfs*, int, char*) { return 0; };
    vfs_.xCurrentTimeInt64 = [](sqlite3_vfs* vfs, sqlite3_int64* now) {
      sqlite3_vfs* system = System(vfs);
      if (system->iVersion >= 2 && system->xCurrentTimeInt64 != nullptr) {
        return system->xCurrentTimeInt64(system, now);
      }
      double days = 0;
      const int code = system->xCurrentTime(system, &days);
      *now = static_cast<sqlite3_int64>(days * 86400000.0);
      return code;
    };
    if (system_ != nullptr) sqlite3_vfs_register(&vfs_, 0);
  }
  ~SnapshotFiles() { sqlite3_vfs_unregister(&vfs_); }
  SnapshotFiles(const SnapshotFiles&) = delete;
  SnapshotFiles& operator=(const SnapshotFiles&) = delete;

  const char* vfs_name() const { return name_.c_str(); }

 private:
  static SnapshotFiles& Self(sqlite3_vfs* vfs) {
    return *static_cast<SnapshotFiles*>(vfs->pAppData);
  }
  static sqlite3_vfs* System(sqlite3_vfs* vfs) { return Self(vfs).system_; }

  // The log or journal that SQLite names `name`, or nullptr.
  SideFile* SideFileNamed(const char* name) {
    const std::string_view wanted(name != nullptr ? name : "");
    const std::string_view database(kDatabaseName);
    if (wanted.substr(0, database.size()) != database) return nullptr;
    const std::string_view suffix = wanted.substr(database.size());
    if (suffix == kWalSuffix) return &snapshot_.wal;
    if (suffix == kJournalSuffix) return &snapshot_.journal;
    return nullptr;
  }

  static int Open(sqlite3_vfs* vfs, sqlite3_filename, sqlite3_file* file, int flags,
                  int* out_flags) {
    PlacesSnapshot& snapshot = Self(vfs).snapshot_;
    std::string* bytes = nullptr;
    if ((flags & SQLITE_OPEN_MAIN_DB) != 0) {
      bytes = &snapshot.database;
    } else if ((flags & (SQLITE_OPEN_WAL | SQLITE_OPEN_MAIN_JOURNAL)) != 0) {
      SideFile& side = (flags & SQLITE_OPEN_WAL) != 0 ? snapshot.wal : snapshot.journal;
      if (!side.present) {
        if ((flags & SQLITE_OPEN_CREATE) == 0) return SQLITE_CANTOPEN;
        side = SideFile{true, {}};
      }
      bytes = &side.bytes;
    }
    const bool scratch = bytes == nullptr;
    if (scratch) bytes = new (std::nothrow) std::string;
    if (bytes == nullptr) return SQLITE_NOMEM;
    new (file) MemoryFile{{&kMemoryFileMethods}, bytes, scratch};
    if (out_flags != nullptr) *out_flags = flags;
    return SQLITE_OK;
  }

  static int Delete(sqlite3_vfs* vfs, const char* name, int) {
    if (SideFile* side = Self(vfs).SideFileNamed(name)) {
      side->present = false;
      side->bytes.clear();
    }
    return SQLITE_OK;
  }

  static int Access(sqlite3_vfs* vfs, const char* name, int, int* result) {
    const SideFile* side = Self(vfs).SideFileNamed(name);
    *result = side != nullptr ? side->present : std::string_view(name) == kDatabaseName;
    return SQLITE_OK;
  }

  PlacesSnapshot& snapshot_;
  std::string name_;
  sqlite3_vfs* system_;
  sqlite3_vfs vfs_{};
};

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
