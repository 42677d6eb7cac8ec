// One import of bookmarks into the Favorites folder: the step that the
// command, the settings window and a watch loop all repeat.
#pragma once

#include <string>
#include <vector>

#include "generator/status.h"
#include "import/bookmarks.h"
#include "import/favorites_plan.h"
#include "import/favorites_sync.h"

namespace qv::import {

struct ImportOptions {
  // Work out the changes and report them, but make none.
  bool dry_run = false;
};

struct ImportSummary {
  int added = 0;
  int changed = 0;
  int removed = 0;
  int unchanged = 0;
  SkipCounts skipped;
  // Every change, made or (in a dry run) to be made; contents left out.
  std::vector<FolderChange> changes;
  // Lines of the import list that were left out as not understood.
  std::size_t manifest_lines_left_out = 0;

  // True when the folder holds what the source holds (after a dry run: held
  // it already).
  bool InStep() const { return changes.empty(); }
};

// Brings `favorites_folder` in step with `source`, or with a dry run only
// says what that would change. On failure the reason names what failed; the
// files changed until then stay the importer's own for the next import.
Result<ImportSummary> ImportBookmarks(const SourceBookmarks& source,
                                      const std::string& favorites_folder,
                                      const ImportOptions& options);

// "12 added, 3 changed, 2 removed, 140 unchanged; 12 skipped: 9 javascript:,
// 3 place:" (for a dry run "to add", "to change", "to remove").
std::string SummaryLine(const ImportSummary& summary, bool dry_run);

// One line per change: "add     News/Example.url", "remove folder  Old".
std::vector<std::string> ChangeLines(const ImportSummary& summary);

}  // namespace qv::import
