// Watching folders for changes, one implementation per platform
// (folder_watcher_posix.cpp with inotify, folder_watcher_win.cpp with
// ReadDirectoryChangesW), and settling a burst of changes into one.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "generator/status.h"

namespace qv {

// A folder to watch: the entries directly inside it and, with
// `with_subfolders`, the entries inside each of its visible first-level
// sub-folders, including sub-folders that appear, are renamed or go while it
// is watched. Deeper levels are not watched.
struct WatchedFolder {
  std::string path;  // ending in the separator
  bool with_subfolders = false;

  bool operator==(const WatchedFolder&) const = default;
};

// One change an entry went through: created, written, removed, renamed from
// or to, or its attributes changed.
struct EntryChange {
  // The folder the entry is in, ending in the separator: a watched folder or
  // one of its first-level sub-folders (as that folder's path followed by the
  // sub-folder's name).
  std::string folder;
  // The entry's name; empty when the watcher cannot say what changed (the
  // watched folder itself went, or more changed than it could record), which
  // is to be taken as "anything in `folder` may have changed".
  std::string name;
  // False only when the entry is known to be no folder.
  bool maybe_folder = true;

  bool operator==(const EntryChange&) const = default;
};

class FolderWatcher {
 public:
  static Result<std::unique_ptr<FolderWatcher>> Open();
  virtual ~FolderWatcher() = default;

  // Replaces what is watched by `folders`. A watched folder is followed by
  // its path, not held as the folder it was: the folder above it is watched
  // for its name, so that when the path comes to name another folder or none
  // (the folder renamed away, replaced, removed or made again, or a link of
  // that name pointed elsewhere), the change {path, "", true} is reported and
  // from then on the folder the path names now, if any, is watched. Called
  // again with the folders it watches, it looks whether each path still names
  // the folder watched, for what no watch sees (a folder further up renamed),
  // and watches anew where not. A folder that does not exist, or cannot be
  // watched, fails the call; the folders before it stay watched.
  virtual Status WatchFolders(const std::vector<WatchedFolder>& folders) = 0;

  // Blocks until changes arrive, Wake is called, or `timeout` (none: no limit)
  // has passed; then returns the changes seen so far, none after a wake or a
  // timeout. Never spins.
  virtual Result<std::vector<EntryChange>> Wait(
      std::optional<std::chrono::milliseconds> timeout) = 0;

  // Makes the current or the next Wait return at once. Safe from any thread
  // and from a signal handler.
  virtual void Wake() = 0;
};

// The folder that holds `folder` (both ending in the separator); empty at the
// top. Always shorter than `folder`, so a walk upwards ends.
std::string FolderAbove(const std::string& folder);

// True when `path` names a folder, also through a symbolic link.
bool IsExistingFolder(const std::string& path);

// The folder to watch for `folder`, which may not exist (yet): the folder
// itself when it exists, otherwise the nearest folder above it that does, in
// which it, or a folder on the way to it, will appear; empty when there is
// none.
std::string FolderToWatchFor(const std::string& folder);

// True when `change` may have made, removed or replaced `folder` or a folder
// on the way to it. Names are compared without regard to ASCII case: on
// Windows a folder may be made in another case than it is named in, and
// elsewhere such a name costs no more than one needless look.
bool OnTheWayTo(const EntryChange& change, const std::string& folder);

// Watches the folders that `folders_now` gives, and asks it again once they
// are watched, watching anew while the answer changes: a folder replaced,
// removed or made between the look and the watch (which is then to be
// waited for as a missing one, or no longer) is thus never missed. A failed
// watch is tried again a few times; fails when the folders cannot be watched
// as they are.
Status WatchFoldersAsTheyAre(FolderWatcher& watcher,
                             const std::function<std::vector<WatchedFolder>()>& folders_now);

// One rebuild for a burst of changes: the burst has settled when no change
// came for `quiet`, or when `longest` has passed since its first change, so
// that changes that never stop still get their rebuild.
struct SettleTimes {
  std::chrono::milliseconds quiet{300};
  std::chrono::milliseconds longest{2000};
};

// The clock of a burst: fed the moments of changes, it says when the burst
// has settled. Pure, so that it is tested without waiting.
class ChangeBurst {
 public:
  using Clock = std::chrono::steady_clock;

  explicit ChangeBurst(SettleTimes times) : times_(times) {}

  void Changed(Clock::time_point when);
  bool Started() const { return started_; }
  // When the burst settles if nothing more comes; only once Started.
  Clock::time_point SettlesAt() const;

 private:
  SettleTimes times_;
  bool started_ = false;
  Clock::time_point first_, last_;
};

// Waits for changes for which `matters` holds and returns once their burst
// has settled: true then, false when `stopped` holds after a wake (checked
// before every wait). Changes that do not matter neither start nor lengthen a
// burst.
Result<bool> WaitForSettledChanges(FolderWatcher& watcher,
                                   const std::function<bool(const EntryChange&)>& matters,
                                   const std::function<bool()>& stopped, SettleTimes times = {});

}  // namespace qv
