// vorlindo-import --watch: importing again whenever the browser's bookmarks
// change on disk.
#pragma once

#include <chrono>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "generator/folder_watcher.h"
#include "import/import_command.h"

namespace qv::import {

// A folder where a bookmark store changes, and the names there that count.
struct StoreFolder {
  std::string folder;  // ending in the separator
  std::vector<std::string> names;

  bool operator==(const StoreFolder&) const = default;
};

// Where a bookmark store changes. Browsers replace a Bookmarks file by
// renaming a new one over it, and Firefox writes places.sqlite through its
// write-ahead log, so a store's folder is watched for the store's own name
// and that name followed by "-wal". A store reached through symbolic links
// changes where each link lies as much as where the file lies that they lead
// to: each of those folders counts, for the name there.
struct StoreFiles {
  std::vector<StoreFolder> folders;  // the store's path first, then each link's target
};

StoreFiles StoreFilesOf(const std::string& store_path);

// The folders to watch for `store`: each of its folders that exists, and for
// one that does not (a profile folder removed), the nearest folder above it
// that does, in which it will appear again.
std::vector<WatchedFolder> StoreFoldersToWatch(const StoreFiles& store);

// True when `change` is a change of one of the store's files, or of one of
// its folders or a folder on the way to one: made, removed or replaced.
bool StoreChanged(const EntryChange& change, const StoreFiles& store);

// A browser writes its store in bursts: Firefox writes places.sqlite-wal for
// every page visited and, while it starts, again and again for some seconds,
// with pauses well under a second; Chromium writes its Bookmarks file a few
// seconds after a change, at once. The store is read again once it has been
// quiet for two seconds, longer than those pauses and short enough for a new
// bookmark to reach the page soon; a browser that never pauses for that long
// (pages visited back to back) has its store read every half minute.
inline constexpr SettleTimes kQuietStore{std::chrono::seconds(2), std::chrono::seconds(30)};

// Imports `request` (which names a source) and reports it, then reads the
// source again after every settled burst of changes to the store, until
// `stopped` holds after a wake of `watcher`. Such a reading that finds the
// bookmarks of the last import, or a Favorites folder in step with them,
// writes nothing and reports nothing; one that differs is imported and
// reported. A failed import is reported and the watch goes on; a store that
// is not there (yet) is waited for. Returns the exit status: 0 once stopped,
// 1 when its folders cannot be watched.
int WatchAndImport(const ImportRequest& request, ImportCommandSurroundings& surroundings,
                   FolderWatcher& watcher, const std::function<bool()>& stopped, std::ostream& out,
                   std::ostream& err, SettleTimes times = kQuietStore);

}  // namespace qv::import
