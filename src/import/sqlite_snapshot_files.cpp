#include "import/sqlite_snapshot_files.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string_view>

namespace qv::import {
namespace {

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

}  // namespace

SnapshotFiles::SnapshotFiles(PlacesSnapshot& snapshot)
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

SnapshotFiles::~SnapshotFiles() {
  sqlite3_vfs_unregister(&vfs_);
}

SnapshotFiles& SnapshotFiles::Self(sqlite3_vfs* vfs) {
  return *static_cast<SnapshotFiles*>(vfs->pAppData);
}
sqlite3_vfs* SnapshotFiles::System(sqlite3_vfs* vfs) {
  return Self(vfs).system_;
}

// The log or journal that SQLite names `name`, or nullptr.
SideFile* SnapshotFiles::SideFileNamed(const char* name) {
  const std::string_view wanted(name != nullptr ? name : "");
  const std::string_view database(kDatabaseName);
  if (wanted.substr(0, database.size()) != database) return nullptr;
  const std::string_view suffix = wanted.substr(database.size());
  if (suffix == kWalSuffix) return &snapshot_.wal;
  if (suffix == kJournalSuffix) return &snapshot_.journal;
  return nullptr;
}

int SnapshotFiles::Open(sqlite3_vfs* vfs, sqlite3_filename, sqlite3_file* file, int flags,
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

int SnapshotFiles::Delete(sqlite3_vfs* vfs, const char* name, int) {
  if (SideFile* side = Self(vfs).SideFileNamed(name)) {
    side->present = false;
    side->bytes.clear();
  }
  return SQLITE_OK;
}

int SnapshotFiles::Access(sqlite3_vfs* vfs, const char* name, int, int* result) {
  const SideFile* side = Self(vfs).SideFileNamed(name);
  *result = side != nullptr ? side->present : std::string_view(name) == kDatabaseName;
  return SQLITE_OK;
}

}  // namespace qv::import
