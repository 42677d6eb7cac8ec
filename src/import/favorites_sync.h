// Bringing the Favorites folder in step with a plan, touching only what the
// importer made: the files and folders its import list names, as long as
// they are still as it left them. Everything else in the folder is the
// user's; a name the user holds makes the importer pick a numbered one.
// Nothing is written outside the folder: symbolic links are never followed
// into, written through or taken for the importer's own entries.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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

// What bringing `favorites_folder` in step with `plan` takes. Reads the
// folder and changes nothing. A folder that does not exist yet is empty.
Result<SyncPlan> PlanSync(const FavoritesPlan& plan, const std::string& favorites_folder);

// Makes the changes of `sync`, each file replaced in one step, and then
// writes the import list. Stops at the first failure and says why.
Status ApplySync(const SyncPlan& sync, const std::string& favorites_folder);

}  // namespace qv::import
