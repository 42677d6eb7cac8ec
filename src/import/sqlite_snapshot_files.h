// A places snapshot as the files SQLite opens: a file system of SQLite's own
// that keeps every file in memory. SQLite works on the copies as on the
// files they were read from: it applies the committed part of the log, drops
// a change that was still being written, and rolls back what a journal says
// was cut short, all without a byte reaching a disk.
#pragma once

#include <sqlite3.h>

#include <string>

#include "import/places_snapshot.h"

namespace qv::import {

// Registered under a name of its own while the object lives, so that reads
// at the same time never meet, and withdrawn before the snapshot goes. The
// database is named kDatabaseName; its log and journal are that name and
// their suffixes; time, sleep and randomness come from the system's own file
// system.
class SnapshotFiles {
 public:
  static constexpr const char* kDatabaseName = "places.sqlite";

  explicit SnapshotFiles(PlacesSnapshot& snapshot);
  ~SnapshotFiles();
  SnapshotFiles(const SnapshotFiles&) = delete;
  SnapshotFiles& operator=(const SnapshotFiles&) = delete;

  // The name to open kDatabaseName with (sqlite3_open_v2).
  const char* vfs_name() const { return name_.c_str(); }

 private:
  static SnapshotFiles& Self(sqlite3_vfs* vfs);
  static sqlite3_vfs* System(sqlite3_vfs* vfs);
  SideFile* SideFileNamed(const char* name);
  static int Open(sqlite3_vfs* vfs, sqlite3_filename, sqlite3_file* file, int flags,
                  int* out_flags);
  static int Delete(sqlite3_vfs* vfs, const char* name, int);
  static int Access(sqlite3_vfs* vfs, const char* name, int, int* result);

  PlacesSnapshot& snapshot_;
  std::string name_;
  sqlite3_vfs* system_;
  sqlite3_vfs vfs_{};
};

}  // namespace qv::import
