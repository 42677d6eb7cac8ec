#include "import/import_watch.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <system_error>

#include "generator/file_system.h"
#include "generator/text_encoding.h"
#include "import/file_look.h"

namespace qv::import {
namespace {

namespace fs = std::filesystem;

// Links followed from a store at most, as the system follows them.
constexpr int kMostLinks = 40;

void AddStoreFile(StoreFiles& store, const fs::path& path) {
  const std::string folder = PathText(path.parent_path());
  const std::string name = PathText(path.filename());
  StoreFolder place{WithTrailingSeparator(folder.empty() ? std::string(".") : folder),
                    {name, name + "-wal"}};
  const auto same = [&place](const StoreFolder& known) { return known.folder == place.folder; };
  const auto known = std::find_if(store.folders.begin(), store.folders.end(), same);
  if (known == store.folders.end()) {
    store.folders.push_back(std::move(place));
    return;
  }
  for (std::string& name_there : place.names) {
    if (std::find(known->names.begin(), known->names.end(), name_there) == known->names.end()) {
      known->names.push_back(std::move(name_there));
    }
  }
}

// The store's files as they look now: enough to tell that none was written
// or replaced since they were read. A reader may open them for writing and
// write nothing (SQLite opens the log so), which the watch hears of as a
// change.
std::vector<FileLook> LookAt(const StoreFiles& store) {
  std::vector<FileLook> looks;
  for (const StoreFolder& place : store.folders) {
    for (const std::string& name : place.names) looks.push_back(LookAtFile(place.folder + name));
  }
  return looks;
}

// Reads the store again when it changed, and imports what changed.
class StoreImport {
 public:
  StoreImport(const ImportRequest& request, const ResolvedSource& source,
              ImportCommandSurroundings& surroundings, std::ostream& out, std::ostream& err)
      : request_(request), source_(source), surroundings_(surroundings), out_(out), err_(err) {}

  // Reads the store, whose files are `store`, and imports it. Once an import
  // has been reported, a store none of whose files was written since it was
  // read well is not read again, and a reading that would change nothing
  // leaves the Favorites folder alone and says nothing.
  void Again(const StoreFiles& store) {
    std::vector<FileLook> look = LookAt(store);
    if (last_ && look == last_look_) return;
    last_look_ = std::move(look);
    Result<ImportInput> input = ReadImportInput(source_.path, surroundings_, request_.dry_run);
    if (!input.ok()) return Failed(input.status());
    if (reported_ && last_ == *input) return;
    if (reported_ && !request_.dry_run) {
      const Result<ImportSummary> plan = ImportBookmarks(input->bookmarks, input->folder, {true});
      if (plan.ok() && plan->InStep()) {
        last_ = std::move(*input);
        return;
      }
    }
    const Result<ImportSummary> summary =
        ImportAndReport(*input, source_, request_.dry_run, out_, err_);
    if (!summary.ok()) return Failed(summary.status());
    reported_ = true;
    last_ = std::move(*input);
  }

 private:
  void Failed(const Status& status) {
    err_ << "vorlindo-import: " << status.reason() << "\n";
    // Whatever the folder holds now, the next reading looks at it again.
    last_.reset();
  }

  const ImportRequest& request_;
  const ResolvedSource& source_;
  ImportCommandSurroundings& surroundings_;
  std::ostream& out_;
  std::ostream& err_;
  // What the last import brought the Favorites folder in step with (or a dry
  // run reported on).
  std::optional<ImportInput> last_;
  // The store's files as they looked before they were last read.
  std::vector<FileLook> last_look_;
  bool reported_ = false;
};

}  // namespace

StoreFiles StoreFilesOf(const std::string& store_path) {
  StoreFiles store;
  fs::path hop = NativePath(store_path);
  for (int links = 0;; ++links) {
    AddStoreFile(store, hop);
    std::error_code error;
    if (links == kMostLinks || !fs::is_symlink(fs::symlink_status(hop, error))) break;
    const fs::path target = fs::read_symlink(hop, error);
    if (error) break;
    hop = (target.is_absolute() ? target : hop.parent_path() / target).lexically_normal();
  }
  return store;
}

std::vector<WatchedFolder> StoreFoldersToWatch(const StoreFiles& store) {
  std::vector<WatchedFolder> folders;
  for (const StoreFolder& place : store.folders) {
    const WatchedFolder folder{FolderToWatchFor(place.folder), false};
    if (!folder.path.empty() &&
        std::find(folders.begin(), folders.end(), folder) == folders.end()) {
      folders.push_back(folder);
    }
  }
  return folders;
}

bool StoreChanged(const EntryChange& change, const StoreFiles& store) {
  for (const StoreFolder& place : store.folders) {
    // The folder itself replaced, or more changes than were kept: look again.
    if (change.folder == place.folder &&
        (change.name.empty() ||
         std::find(place.names.begin(), place.names.end(), change.name) != place.names.end())) {
      return true;
    }
    if (OnTheWayTo(change, place.folder)) return true;
  }
  return false;
}

int WatchAndImport(const ImportRequest& request, ImportCommandSurroundings& surroundings,
                   FolderWatcher& watcher, const std::function<bool()>& stopped, std::ostream& out,
                   std::ostream& err, SettleTimes times) {
  const auto fail = [&err](const std::string& reason) {
    err << "vorlindo-import: " << reason << "\n";
    return 1;
  };
  if (!request.source) return fail("no source to watch");
  const auto source = ResolveSource(*request.source, surroundings);
  if (!source.ok()) return fail(source.status().reason());
  StoreImport import(request, *source, surroundings, out, err);
  for (;;) {
    // Watched before it is read, so that no change while it is read goes
    // unseen; looked up anew each time, for links that lead elsewhere now.
    const StoreFiles store = StoreFilesOf(source->path);
    const Status watching =
        WatchFoldersAsTheyAre(watcher, [&store] { return StoreFoldersToWatch(store); });
    if (!watching.ok()) return fail(watching.reason());
    import.Again(store);
    out.flush();
    err.flush();
    const auto changed = [&store](const EntryChange& change) {
      return StoreChanged(change, store);
    };
    const Result<bool> settled = WaitForSettledChanges(watcher, changed, stopped, times);
    if (!settled.ok()) return fail(settled.status().reason());
    if (!*settled) return 0;
  }
}

}  // namespace qv::import
