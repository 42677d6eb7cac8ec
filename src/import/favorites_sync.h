// Bringing the Favorites folder in step with a plan, touching only what the
// importer made: the folders its import list names, and the files it names
// that are still as the importer left them (owned_shortcut.h). Everything
// else in the folder is the user's; a name the user holds makes the importer
// pick a numbered one. The folder and each category folder are held open
// while they are worked in, so nothing is ever written or removed outside
// them: a folder swapped for a symbolic link meanwhile is not followed into,
// and links are never taken for the importer's own entries.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "generator/open_folder.h"
#include "generator/status.h"
#include "import/favorites_plan.h"
#include "import/import_manifest.h"

namespace qv::import {

enum class ChangeKind { kAddFolder, kAdd, kChange, kRemove, kRemoveFolder };

struct FolderChange {
  ChangeKind kind;
  // Inside the Favorites folder, names joined by "/": "News" for a folder,
  // "News/Example.url" for a file.
  std::string path;
  // The new contents of a file added or changed.
  std::string contents;

  bool operator==(const FolderChange&) const = default;
};

// The category folder and the file name of a path "News/Example.url"; the
// name is empty for a folder's path.
struct ChangePath {
  std::string folder;
  std::string name;
};
ChangePath SplitChangePath(const std::string& path);

struct SyncPlan {
  // In the order they are made: folders added, files added or changed,
  // files removed, folders removed (those the importer made that nothing is
  // left in).
  std::vector<FolderChange> changes;
  int unchanged = 0;
  // The import list as it was read, as it stands while the changes are being
  // made (old and new files both named, so that an import cut short leaves
  // nothing the next one takes for the user's), and as it stands afterwards.
  ImportManifest manifest_before;
  ImportManifest manifest_during;
  ImportManifest manifest_after;
  // Lines of the import list that were left out as not understood.
  std::size_t manifest_lines_left_out = 0;
};

// What bringing the folder `favorites` in step with `plan` takes; without a
// folder (one that does not exist yet), everything is to be added. Reads the
// folder and changes nothing.
Result<SyncPlan> PlanSync(const FavoritesPlan& plan, const OpenFolder* favorites);

// Called before each step of ApplySync that opens a folder or writes,
// renames or removes an entry; tests change the folder there.
using SyncStepHook = std::function<void()>;

// Makes the changes of `sync` in `favorites`, each file replaced in one step,
// and then writes the import list. A file to be changed or removed is looked
// at once more right before: one that is no longer the importer's stays as it
// is. Stops at the first failure and says why.
Status ApplySync(const SyncPlan& sync, const OpenFolder& favorites,
                 const SyncStepHook& before_step = {});

}  // namespace qv::import
