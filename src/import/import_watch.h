// vorlindo-import --watch: importing again whenever the browser's bookmarks
// change on disk.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "generator/folder_watcher.h"
#include "import/import_command.h"

namespace qv::import {

// Where a bookmark store changes. Browsers replace a Bookmarks file by
// renaming a new one over it, and Firefox writes places.sqlite through its
// write-ahead log, so the store's folder is watched for the store's own name
// and that name followed by "-wal".
struct StoreFiles {
  std::string folder;  // ending in the separator
  std::vector<std::string> names;
};

StoreFiles StoreFilesOf(const std::string& store_path);

// True when `change` is a change of one of the store's files.
bool StoreChanged(const EntryChange& change, const StoreFiles& store);

// Imports `request` (which names a source), then again after every settled
// burst of changes to the store, until `stopped` holds after a wake of
// `watcher`. A failed import is reported and the watch goes on. Returns the
// exit status: 0 once stopped, 1 when the source or its folder cannot be
// watched.
int WatchAndImport(const ImportRequest& request, ImportCommandSurroundings& surroundings,
                   FolderWatcher& watcher, const std::function<bool()>& stopped, std::ostream& out,
                   std::ostream& err);

}  // namespace qv::import
