#include "import/import_watch.h"

#include <algorithm>
#include <filesystem>

#include "generator/file_system.h"

namespace qv::import {

StoreFiles StoreFilesOf(const std::string& store_path) {
  const std::filesystem::path path(store_path);
  const std::string folder = path.parent_path().string();
  const std::string name = path.filename().string();
  return {WithTrailingSeparator(folder.empty() ? std::string(".") : folder), {name, name + "-wal"}};
}

bool StoreChanged(const EntryChange& change, const StoreFiles& store) {
  // The folder itself gone or more changes than were kept: look again.
  if (change.name.empty()) return true;
  return std::find(store.names.begin(), store.names.end(), change.name) != store.names.end();
}

int WatchAndImport(const ImportRequest& request, ImportCommandSurroundings& surroundings,
                   FolderWatcher& watcher, const std::function<bool()>& stopped, std::ostream& out,
                   std::ostream& err) {
  const auto fail = [&err](const std::string& reason) {
    err << "vorlindo-import: " << reason << "\n";
    return 1;
  };
  if (!request.source) return fail("no source to watch");
  const auto source = ResolveSource(*request.source, surroundings);
  if (!source.ok()) return fail(source.status().reason());
  const StoreFiles store = StoreFilesOf(source->path);
  const Status watching = watcher.WatchFolders({{store.folder, false}});
  if (!watching.ok()) return fail(watching.reason());
  const auto changed = [&store](const EntryChange& change) { return StoreChanged(change, store); };
  for (;;) {
    ImportOnce(request, surroundings, out, err);
    out.flush();
    const Result<bool> settled = WaitForSettledChanges(watcher, changed, stopped);
    if (!settled.ok()) return fail(settled.status().reason());
    if (!*settled) return 0;
  }
}

}  // namespace qv::import
