// Firefox's database files as they were at one moment, copied into memory as
// plain files: the database, its write-ahead log and its rollback journal.
// The browser's files are only ever read, so nothing is made or changed
// beside them and a read-only profile folder does as well as any.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "generator/status.h"

namespace qv::import {

// Each file is held in memory whole. Firefox keeps places.sqlite far smaller
// by expiring history; the cap also keeps every read below the bytes at 1 GiB
// that SQLite locks, which Windows lets no one else read while they are
// locked.
inline constexpr std::size_t kMaxSnapshotFileBytes = std::size_t{512} << 20;

inline constexpr std::string_view kWalSuffix = "-wal";
inline constexpr std::string_view kJournalSuffix = "-journal";

// A file SQLite reads beside the database.
struct SideFile {
  bool present = false;
  std::string bytes;
};

struct PlacesSnapshot {
  std::string database;
  SideFile wal;      // "-wal": committed changes not yet copied into the database
  SideFile journal;  // "-journal": the old contents of pages a change was writing
};

// The files of the database at `path` at one moment: read until a second read
// finds the database as it was and the log and journal still beginning with
// what was read of them, so that a save during the read never gives a mix of
// two moments. Refused with a reason when they change at every one of ten
// tries in about a second, or when a file is larger than the cap.
Result<PlacesSnapshot> ReadSnapshot(const std::string& path);

}  // namespace qv::import
