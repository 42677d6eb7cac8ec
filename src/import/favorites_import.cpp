#include "import/favorites_import.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <system_error>
#include <utility>

#include "generator/folder_lock.h"
#include "generator/open_folder.h"
#include "generator/text_encoding.h"
#include "import/import_leftovers.h"

namespace qv::import {
namespace {

// How long an import waits for another one into the same folder. An import
// of even a huge store takes seconds; one that takes longer is stuck.
constexpr std::chrono::seconds kLockWait{30};

std::string LockFailure(const std::string& folder) {
  return "another import into " + folder + " is still under way; gave up waiting after " +
         std::to_string(kLockWait.count()) + " s";
}

bool FolderIsMissing(const std::string& folder) {
  std::error_code error;
  return !std::filesystem::exists(NativePath(folder), error) && !error;
}

ImportSummary Summarise(const FavoritesPlan& plan, SyncPlan& sync) {
  ImportSummary summary;
  summary.unchanged = sync.unchanged;
  summary.skipped = plan.skipped;
  summary.manifest_lines_left_out = sync.manifest_lines_left_out;
  for (FolderChange& change : sync.changes) {
    if (change.kind == ChangeKind::kAdd) ++summary.added;
    if (change.kind == ChangeKind::kChange) ++summary.changed;
    if (change.kind == ChangeKind::kRemove) ++summary.removed;
    summary.changes.push_back({change.kind, std::move(change.path), ""});
  }
  return summary;
}

// "12 skipped: 9 javascript:, 3 place:", the most frequent reason first.
std::string SkippedText(const SkipCounts& skipped) {
  std::vector<std::pair<std::string, int>> reasons(skipped.begin(), skipped.end());
  std::stable_sort(reasons.begin(), reasons.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  int total = 0;
  std::string details;
  for (const auto& [reason, count] : reasons) {
    total += count;
    details += (details.empty() ? "" : ", ") + std::to_string(count) + " " + reason;
  }
  return std::to_string(total) + " skipped" + (details.empty() ? "" : ": " + details);
}

}  // namespace

Result<ImportSummary> ImportBookmarks(const SourceBookmarks& source,
                                      const std::string& favorites_folder,
                                      const ImportOptions& options) {
  const FavoritesPlan plan = PlanFavorites(source);
  // One import at a time per folder: two at once would each take the other's
  // new files for the user's.
  const auto lock = FolderLock::Acquire(favorites_folder, kLockWait);
  if (!lock.ok()) return Status::Error(LockFailure(favorites_folder));
  std::optional<OpenFolder> folder;
  if (auto opened = OpenFolder::Open(favorites_folder); opened.ok()) {
    folder = std::move(*opened);
  } else if (!options.dry_run || !FolderIsMissing(favorites_folder)) {
    return opened.status();  // a dry run may look at a folder still to be made
  }
  if (!options.dry_run && (*lock)->held()) RemoveImportLeftovers(*folder);
  auto sync = PlanSync(plan, folder ? &*folder : nullptr);
  if (!sync.ok()) return sync.status();
  if (!options.dry_run) {
    const Status applied = ApplySync(*sync, *folder);
    if (!applied.ok()) return applied;
  }
  return Summarise(plan, *sync);
}

std::string SummaryLine(const ImportSummary& summary, bool dry_run) {
  auto count = [](int n, const char* done, const char* to_do, bool dry) {
    return std::to_string(n) + " " + (dry ? to_do : done);
  };
  std::string line = count(summary.added, "added", "to add", dry_run) + ", " +
                     count(summary.changed, "changed", "to change", dry_run) + ", " +
                     count(summary.removed, "removed", "to remove", dry_run) + ", " +
                     std::to_string(summary.unchanged) + " unchanged";
  if (!summary.skipped.empty()) line += "; " + SkippedText(summary.skipped);
  return line;
}

std::vector<std::string> ChangeLines(const ImportSummary& summary) {
  std::vector<std::string> lines;
  for (const FolderChange& change : summary.changes) {
    const char* verb = "";
    switch (change.kind) {
      case ChangeKind::kAddFolder:
        verb = "add folder     ";
        break;
      case ChangeKind::kAdd:
        verb = "add            ";
        break;
      case ChangeKind::kChange:
        verb = "change         ";
        break;
      case ChangeKind::kRemove:
        verb = "remove         ";
        break;
      case ChangeKind::kRemoveFolder:
        verb = "remove folder  ";
        break;
    }
    lines.push_back(verb + change.path);
  }
  return lines;
}

}  // namespace qv::import
