// Folder watching with Linux inotify. inotify watches a folder on disk, not a
// path, and one folder at a time. So each watched folder holds a watch for
// itself, one for every visible first-level sub-folder when those count, and
// one for the folder above it: there its name is seen to go and come, when
// the folder is renamed away, replaced, removed or made again, and the watch
// moves to whatever the path names then. inotify hands out one descriptor per
// folder on disk, which may thus serve several places at once. A wake is a
// byte written to a pipe, which a signal handler may do.
#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <set>
#include <string>
#include <system_error>
#include <unordered_map>
#include <utility>

#include "generator/file_system.h"
#include "generator/folder_watcher.h"

namespace qv {
namespace {

using Clock = std::chrono::steady_clock;

constexpr uint32_t kFolderEvents = IN_CREATE | IN_DELETE | IN_MODIFY | IN_CLOSE_WRITE |
                                   IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB | IN_DELETE_SELF |
                                   IN_MOVE_SELF | IN_ONLYDIR;
// Above a watched folder only names count. Added to what that folder may be
// watched for already as a watched folder itself, never narrowing it.
constexpr uint32_t kAboveEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO |
                                  IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_MASK_ADD;
// The folder itself went, or the watch ended with it.
constexpr uint32_t kSelfEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

std::string Failure(const std::string& what, int error) {
  return what + ": " + std::generic_category().message(error);
}

// What a watch descriptor looks at for a watched folder: the folder itself,
// one of its first-level sub-folders, or the folder above it.
enum class Role { kFolder, kSubfolder, kAbove };

struct Place {
  std::size_t root = 0;
  Role role = Role::kFolder;
  std::string subfolder;  // for kSubfolder
  bool operator==(const Place&) const = default;
};

// A watched folder and the descriptors that follow its path; -1 while the
// path (or the folder above) names no folder that can be watched.
struct Root {
  WatchedFolder folder;
  std::string above;  // empty at the top
  std::string name;   // the folder's name in `above`
  int descriptor = -1;
  int above_descriptor = -1;
};

Root RootOf(const WatchedFolder& folder) {
  Root root{folder, FolderAbove(folder.path), "", -1, -1};
  if (!root.above.empty()) {
    root.name = folder.path.substr(root.above.size(), folder.path.size() - root.above.size() - 1);
  }
  return root;
}

class InotifyWatcher : public FolderWatcher {
 public:
  InotifyWatcher(int inotify, int wake_read, int wake_write)
      : inotify_(inotify), wake_read_(wake_read), wake_write_(wake_write) {}

  ~InotifyWatcher() override {
    close(inotify_);
    close(wake_read_);
    close(wake_write_);
  }

  Status WatchFolders(const std::vector<WatchedFolder>& folders) override {
    if (!Watches(folders)) {
      ForgetFrom(0);
      for (const WatchedFolder& folder : folders) roots_.push_back(RootOf(folder));
    }
    for (std::size_t root = 0; root < roots_.size(); ++root) {
      int error = 0;
      const bool moved = Follow(root, error);
      if (roots_[root].descriptor < 0) {
        const Status failed =
            Status::Error(Failure("cannot watch " + roots_[root].folder.path, error));
        ForgetFrom(root);
        return failed;
      }
      if (moved && roots_[root].folder.with_subfolders) FollowSubfolders(root);
    }
    return Status::Ok();
  }

  Result<std::vector<EntryChange>> Wait(std::optional<std::chrono::milliseconds> timeout) override {
    const Clock::time_point deadline = timeout ? Clock::now() + *timeout : Clock::time_point::max();
    for (;;) {
      int limit = -1;
      if (timeout) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        limit = static_cast<int>(std::clamp<long long>(left.count(), 0, 1 << 30));
      }
      pollfd waiting[2] = {{inotify_, POLLIN, 0}, {wake_read_, POLLIN, 0}};
      const int ready = poll(waiting, 2, limit);
      if (ready < 0 && errno != EINTR) {
        return Status::Error(Failure("cannot wait for changes", errno));
      }
      // Timed out, or a signal came: the caller looks why.
      if (ready <= 0) return std::vector<EntryChange>();
      if (waiting[1].revents != 0) {
        DrainWakes();
        return std::vector<EntryChange>();
      }
      Result<std::vector<EntryChange>> changes = ReadChanges();
      // Events above a watched folder that were not about its name are no
      // changes: wait on for the rest of the time.
      if (!changes.ok() || !changes->empty()) return changes;
    }
  }

  void Wake() override {
    const char byte = 1;
    // A full pipe already holds a wake; nothing more to do then.
    [[maybe_unused]] const ssize_t written = write(wake_write_, &byte, 1);
  }

 private:
  bool Watches(const std::vector<WatchedFolder>& folders) const {
    return std::equal(
        folders.begin(), folders.end(), roots_.begin(), roots_.end(),
        [](const WatchedFolder& folder, const Root& root) { return folder == root.folder; });
  }

  void DrainWakes() {
    char bytes[64];
    while (read(wake_read_, bytes, sizeof bytes) > 0) {
    }
  }

  Result<std::vector<EntryChange>> ReadChanges() {
    std::vector<EntryChange> changes;
    std::set<std::size_t> roots_to_follow, subfolders_to_follow;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
      const ssize_t size = read(inotify_, buffer, sizeof buffer);
      if (size < 0 && errno == EINTR) continue;
      if (size < 0 && errno == EAGAIN) break;
      if (size <= 0) return Status::Error(Failure("cannot read changes", size < 0 ? errno : EIO));
      for (ssize_t offset = 0; offset < size;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
        Take(*event, changes, roots_to_follow, subfolders_to_follow);
        offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    for (const std::size_t root : roots_to_follow) {
      int error = 0;
      Follow(root, error);
      // Whatever the path names now, anything in it may be new.
      changes.push_back({roots_[root].folder.path, "", true});
      if (roots_[root].folder.with_subfolders) subfolders_to_follow.insert(root);
    }
    for (const std::size_t root : subfolders_to_follow) FollowSubfolders(root);
    return changes;
  }

  // Turns one event into changes, and notes the watched folders whose path
  // may name another folder now, and those whose sub-folder watches must be
  // brought up to date.
  void Take(const inotify_event& event, std::vector<EntryChange>& changes,
            std::set<std::size_t>& roots_to_follow, std::set<std::size_t>& subfolders_to_follow) {
    if ((event.mask & IN_Q_OVERFLOW) != 0) {
      for (std::size_t root = 0; root < roots_.size(); ++root) roots_to_follow.insert(root);
      return;
    }
    const auto found = places_.find(event.wd);
    if (found == places_.end()) return;  // a watch given up on before its events were read
    const std::string name = event.len > 0 ? std::string(event.name) : std::string();
    const bool folder = (event.mask & IN_ISDIR) != 0;
    const bool self = (event.mask & kSelfEvents) != 0;
    for (const Place& place : found->second) {
      const Root& root = roots_[place.root];
      switch (place.role) {
        case Role::kFolder:
          if (self) {
            roots_to_follow.insert(place.root);
          } else {
            changes.push_back({root.folder.path, name, name.empty() || folder});
            if (root.folder.with_subfolders && folder) subfolders_to_follow.insert(place.root);
          }
          break;
        case Role::kSubfolder:
          // A sub-folder that goes is seen in the watched folder too.
          if (!self) {
            changes.push_back({root.folder.path + place.subfolder + kPathSeparator, name, folder});
          }
          break;
        case Role::kAbove:
          if (self || name == root.name) roots_to_follow.insert(place.root);
          break;
      }
    }
    if ((event.mask & IN_IGNORED) != 0) {
      // The system ended the watch: its folder is gone.
      for (const Place& place : found->second) {
        if (place.role == Role::kFolder) roots_[place.root].descriptor = -1;
        if (place.role == Role::kAbove) roots_[place.root].above_descriptor = -1;
      }
      places_.erase(found);
    }
  }

  // Watches what the path of watched folder `root` names now (its sub-folders
  // left to the caller), the folder above it first, so that a folder put in
  // place between the two is seen coming. True when that is another folder
  // than before; the root's descriptor is -1, and `error` says why, when its
  // path names no folder that can be watched.
  bool Follow(std::size_t root, int& error) {
    Root& watched = roots_[root];
    if (!watched.above.empty()) {
      int ignored = 0;
      watched.above_descriptor = Rewatch(watched.above_descriptor, watched.above, kAboveEvents,
                                         {root, Role::kAbove, ""}, ignored);
    }
    const int before = watched.descriptor;
    watched.descriptor =
        Rewatch(before, watched.folder.path, kFolderEvents, {root, Role::kFolder, ""}, error);
    return watched.descriptor != before;
  }

  // Watches `path` for `place` in place of descriptor `old` (-1: none); the
  // descriptor that serves the place now, or -1 with `error` set.
  int Rewatch(int old, const std::string& path, uint32_t events, const Place& place, int& error) {
    const int descriptor = inotify_add_watch(inotify_, path.c_str(), events);
    if (descriptor < 0) error = errno;
    if (descriptor != old) {
      if (old >= 0) Unplace(old, place);
      if (descriptor >= 0) places_[descriptor].push_back(place);
    }
    return descriptor;
  }

  // Takes `place` off `descriptor`, and ends the watch once it serves none.
  void Unplace(int descriptor, const Place& place) {
    const auto found = places_.find(descriptor);
    if (found == places_.end()) return;
    std::erase(found->second, place);
    if (!found->second.empty()) return;
    inotify_rm_watch(inotify_, descriptor);
    places_.erase(found);
  }

  // Forgets watched folders `first` and those after it.
  void ForgetFrom(std::size_t first) {
    for (auto entry = places_.begin(); entry != places_.end();) {
      std::erase_if(entry->second, [first](const Place& place) { return place.root >= first; });
      if (entry->second.empty()) {
        inotify_rm_watch(inotify_, entry->first);
        entry = places_.erase(entry);
      } else {
        ++entry;
      }
    }
    roots_.resize(std::min(first, roots_.size()));
  }

  // Watches exactly the visible first-level sub-folders of watched folder
  // `root` as they are now. A renamed sub-folder keeps its descriptor under
  // its new name.
  void FollowSubfolders(std::size_t root) {
    const std::string& path = roots_[root].folder.path;
    std::set<std::pair<int, std::string>> now;
    if (roots_[root].descriptor >= 0) {
      for (const std::string& name : ListFolder(path, EntryKind::kFolder)) {
        const int descriptor = inotify_add_watch(inotify_, (path + name).c_str(), kFolderEvents);
        // A folder that went in the meantime, or cannot be read, has nothing
        // for the page either.
        if (descriptor >= 0) now.emplace(descriptor, name);
      }
    }
    // Places first, removals second: a descriptor whose folder was renamed
    // serves on under its new name.
    for (const auto& [descriptor, name] : now) {
      std::vector<Place>& places = places_[descriptor];
      const Place place{root, Role::kSubfolder, name};
      if (std::find(places.begin(), places.end(), place) == places.end()) places.push_back(place);
    }
    for (auto entry = places_.begin(); entry != places_.end();) {
      std::vector<Place>& places = entry->second;
      std::erase_if(places, [&](const Place& place) {
        return place.root == root && place.role == Role::kSubfolder &&
               !now.contains({entry->first, place.subfolder});
      });
      if (places.empty()) {
        inotify_rm_watch(inotify_, entry->first);
        entry = places_.erase(entry);
      } else {
        ++entry;
      }
    }
  }

  const int inotify_, wake_read_, wake_write_;
  std::vector<Root> roots_;
  std::unordered_map<int, std::vector<Place>> places_;  // by watch descriptor
};

}  // namespace

Result<std::unique_ptr<FolderWatcher>> FolderWatcher::Open() {
  const int inotify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (inotify < 0) return Status::Error(Failure("cannot watch folders", errno));
  int wake[2];
  if (pipe2(wake, O_NONBLOCK | O_CLOEXEC) != 0) {
    const int error = errno;
    close(inotify);
    return Status::Error(Failure("cannot watch folders", error));
  }
  return std::unique_ptr<FolderWatcher>(new InotifyWatcher(inotify, wake[0], wake[1]));
}

}  // namespace qv
