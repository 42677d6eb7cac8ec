#include "generator/folder_watcher.h"

#include <algorithm>

#include "generator/file_system.h"

namespace qv {

std::string FolderAbove(const std::string& folder) {
  if (folder.size() < 2) return {};
  const std::size_t separator = folder.rfind(kPathSeparator, folder.size() - 2);
  return separator == std::string::npos ? std::string() : folder.substr(0, separator + 1);
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
