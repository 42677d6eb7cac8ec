#include "generator/folder_watcher.h"

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <utility>

#include "generator/file_system.h"
#include "generator/text.h"
#include "generator/text_encoding.h"

namespace qv {

std::string FolderAbove(const std::string& folder) {
  if (folder.size() < 2) return {};
  const std::size_t separator = folder.rfind(kPathSeparator, folder.size() - 2);
  return separator == std::string::npos ? std::string() : folder.substr(0, separator + 1);
}

bool IsExistingFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(NativePath(path), error);
}

std::string FolderToWatchFor(const std::string& folder) {
  std::string nearest = folder;
  while (!nearest.empty() && !IsExistingFolder(nearest)) nearest = FolderAbove(nearest);
  return nearest;
}

bool OnTheWayTo(const EntryChange& change, const std::string& folder) {
  if (folder.empty() || !change.maybe_folder || !folder.starts_with(change.folder)) return false;
  if (change.name.empty()) return true;
  const std::string_view rest = std::string_view(folder).substr(change.folder.size());
  const std::size_t end = rest.find(kPathSeparator);
  return end != std::string_view::npos &&
         AsciiLowerCase(rest.substr(0, end)) == AsciiLowerCase(change.name);
}

Status WatchFoldersAsTheyAre(FolderWatcher& watcher,
                             const std::function<std::vector<WatchedFolder>()>& folders_now) {
  // Bounded, for folders replaced again and again, and for those that
  // cannot be watched at all.
  constexpr int kLooks = 5;
  std::vector<WatchedFolder> folders = folders_now();
  for (int look = 1;; ++look) {
    const Status watching = watcher.WatchFolders(folders);
    // What changed before the watch shows now; what changes after it, the
    // watch sees. A failure may be a folder that went and came back between
    // the looks.
    std::vector<WatchedFolder> again = folders_now();
    if ((watching.ok() && again == folders) || look == kLooks) return watching;
    folders = std::move(again);
  }
}

void ChangeBurst::Changed(Clock::time_point when) {
  if (!started_) first_ = when;
  started_ = true;
  last_ = when;
}

ChangeBurst::Clock::time_point ChangeBurst::SettlesAt() const {
  return std::min(last_ + times_.quiet, first_ + times_.longest);
}

Result<bool> WaitForSettledChanges(FolderWatcher& watcher,
                                   const std::function<bool(const EntryChange&)>& matters,
                                   const std::function<bool()>& stopped, SettleTimes times) {
  using std::chrono::ceil;
  using std::chrono::milliseconds;
  ChangeBurst burst(times);
  for (;;) {
    if (stopped()) return false;
    std::optional<milliseconds> timeout;
    if (burst.Started()) {
      const ChangeBurst::Clock::time_point now = ChangeBurst::Clock::now();
      if (now >= burst.SettlesAt()) return true;
      timeout = ceil<milliseconds>(burst.SettlesAt() - now);
    }
    Result<std::vector<EntryChange>> changes = watcher.Wait(timeout);
    if (!changes.ok()) return changes.status();
    if (std::any_of(changes->begin(), changes->end(), matters)) {
      burst.Changed(ChangeBurst::Clock::now());
    }
  }
}

}  // namespace qv
