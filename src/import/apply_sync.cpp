// Making the changes of a sync plan. Every change happens through the
// Favorites folder held open and through the category folder it concerns,
// opened from it without following a link; what is to be changed or removed
// is checked to be the importer's once more right before.
#include <cstddef>
#include <optional>
#include <string>

#include "generator/file_replacement.h"
#include "generator/open_folder.h"
#include "import/favorites_sync.h"
#include "import/owned_shortcut.h"

namespace qv::import {
namespace {

// Category folders whose new files are written before they are all flushed
// and put in place at once: each stays open until then, and a process has
// only so many descriptors.
constexpr std::size_t kFoldersPerCommit = 256;

bool WritesFile(const FolderChange& change) {
  return change.kind == ChangeKind::kAdd || change.kind == ChangeKind::kChange;
}

class SyncApplier {
 public:
  SyncApplier(const SyncPlan& sync, const OpenFolder& favorites, const SyncStepHook& before_step)
      : sync_(sync), favorites_(favorites), before_step_(before_step) {}

  Status Apply() {
    if (sync_.changes.empty()) {
      if (sync_.manifest_after == sync_.manifest_before) return Status::Ok();
      return WriteManifest(sync_.manifest_after);
    }
    ImportManifest after = sync_.manifest_after;
    Status status = WriteManifest(sync_.manifest_during);
    if (status.ok()) status = MakeFolders();
    if (status.ok()) status = WriteFiles();
    if (status.ok()) status = RemoveFiles();
    if (!status.ok()) return status;
    RemoveFolders(after);
    return WriteManifest(after);
  }

 private:
  void Step() const {
    if (before_step_) before_step_();
  }

  Status WriteManifest(const ImportManifest& manifest) const {
    Step();
    return ReplaceFileAtomically(favorites_, kManifestFileName, FormatManifest(manifest));
  }

  // A folder that someone else made meanwhile under the same name serves as
  // well, as long as it is a real folder.
  Status MakeFolders() const {
    for (const FolderChange& change : sync_.changes) {
      if (change.kind != ChangeKind::kAddFolder) continue;
      Step();
      const Status made = favorites_.MakeSubfolder(change.path);
      if (!made.ok() && !favorites_.OpenSubfolder(change.path).ok()) return made;
    }
    return Status::Ok();
  }

  // The category folder `name`, held in `open` (which keeps the one it holds
  // when that is the same folder).
  Status Enter(const std::string& name, std::optional<OpenFolder>& open,
               std::string& open_name) const {
    if (open && open_name == name) return Status::Ok();
    Step();
    open.reset();  // on some systems a folder held open cannot be removed
    Result<OpenFolder> entered = favorites_.OpenSubfolder(name);
    if (!entered.ok()) {
      return Status::Error("cannot change the category " + name + ": " + entered.status().reason());
    }
    open = std::move(*entered);
    open_name = name;
    return Status::Ok();
  }

  // True when the file at `path` is still one of the importer's shortcuts,
  // with the contents the import list gives for it.
  bool StillOwned(const OpenFolder& folder, const ChangePath& path) const {
    const auto listed = sync_.manifest_before.files.find(path.folder + "/" + path.name);
    if (listed == sync_.manifest_before.files.end()) return false;
    return OwnedShortcut(folder, path.name, listed->second).has_value();
  }

  // New files are written aside and put in place in batches: a new name
  // never replaces a file that took it meanwhile, and a changed one only a
  // file still as the importer left it.
  Status WriteFiles() const {
    FileReplacements batch;
    std::optional<OpenFolder> folder;
    std::string folder_name;
    std::size_t folders_in_batch = 0;
    for (const FolderChange& change : sync_.changes) {
      if (!WritesFile(change)) continue;
      ChangePath path = SplitChangePath(change.path);
      if (!folder || folder_name != path.folder) {
        if (folders_in_batch == kFoldersPerCommit) {
          Step();
          if (Status committed = batch.Commit(); !committed.ok()) return committed;
          folders_in_batch = 0;
        }
        if (Status entered = Enter(path.folder, folder, folder_name); !entered.ok()) return entered;
        ++folders_in_batch;
      }
      Step();
      const Status staged =
          change.kind == ChangeKind::kAdd
              ? batch.Stage(*folder, path.name, change.contents, ReplacementFile::Existing::kKeep)
              : batch.Stage(*folder, path.name, change.contents,
                            ReplacementFile::Existing::kReplace,
                            [this, open = *folder, path] { return StillOwned(open, path); });
      if (!staged.ok()) return staged;
    }
    Step();
    return batch.Commit();
  }

  Status RemoveFiles() const {
    std::optional<OpenFolder> folder;
    std::string folder_name;
    for (const FolderChange& change : sync_.changes) {
      if (change.kind != ChangeKind::kRemove) continue;
      const ChangePath path = SplitChangePath(change.path);
      if (Status entered = Enter(path.folder, folder, folder_name); !entered.ok()) return entered;
      Step();
      if (!StillOwned(*folder, path)) continue;  // the user's now: it stays
      if (Status removed = folder->RemoveFile(path.name); !removed.ok()) return removed;
    }
    return Status::Ok();
  }

  // Something put in a folder meanwhile keeps it, and it stays listed.
  void RemoveFolders(ImportManifest& after) const {
    for (const FolderChange& change : sync_.changes) {
      if (change.kind != ChangeKind::kRemoveFolder) continue;
      Step();
      if (!favorites_.RemoveEmptySubfolder(change.path).ok()) after.folders.insert(change.path);
    }
  }

  const SyncPlan& sync_;
  const OpenFolder& favorites_;
  const SyncStepHook& before_step_;
};

}  // namespace

Status ApplySync(const SyncPlan& sync, const OpenFolder& favorites,
                 const SyncStepHook& before_step) {
  return SyncApplier(sync, favorites, before_step).Apply();
}

}  // namespace qv::import
