// Folder watching with Linux inotify. inotify watches one folder at a time, so
// each watched folder with sub-folders holds a watch for itself and one for
// every visible first-level sub-folder, brought up to date whenever a folder
// entry in it changes. A wake is a byte written to a pipe, which a signal
// handler may do.
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

constexpr uint32_t kEntryEvents = IN_CREATE | IN_DELETE | IN_MODIFY | IN_CLOSE_WRITE |
                                  IN_MOVED_FROM | IN_MOVED_TO | IN_ATTRIB | IN_ONLYDIR;
constexpr uint32_t kRootEvents = kEntryEvents | IN_DELETE_SELF | IN_MOVE_SELF;

std::string Failure(const std::string& what, int error) {
  return what + ": " + std::generic_category().message(error);
}

// Where a watch descriptor looks: a watched folder (`subfolder` empty) or one
// of its first-level sub-folders. One descriptor may serve several places
// when they are the same folder on disk.
struct Place {
  std::size_t root = 0;
  std::string subfolder;
  bool operator==(const Place&) const = default;
};

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
    if (folders == roots_) return Status::Ok();
    for (const auto& [descriptor, places] : places_) inotify_rm_watch(inotify_, descriptor);
    places_.clear();
    roots_.clear();
    for (const WatchedFolder& folder : folders) {
      const int descriptor = inotify_add_watch(inotify_, folder.path.c_str(), kRootEvents);
      if (descriptor < 0) return Status::Error(Failure("cannot watch " + folder.path, errno));
      roots_.push_back(folder);
      places_[descriptor].push_back({roots_.size() - 1, ""});
      if (folder.with_subfolders) FollowSubfolders(roots_.size() - 1);
    }
    return Status::Ok();
  }

  Result<std::vector<EntryChange>> Wait(std::optional<std::chrono::milliseconds> timeout) override {
    pollfd waiting[2] = {{inotify_, POLLIN, 0}, {wake_read_, POLLIN, 0}};
    const int limit = timeout ? static_cast<int>(std::max<long long>(0, timeout->count())) : -1;
    const int ready = poll(waiting, 2, limit);
    std::vector<EntryChange> changes;
    if (ready < 0 && errno != EINTR)
      return Status::Error(Failure("cannot wait for changes", errno));
    if (ready <= 0) return changes;  // timed out, or a signal came: the caller looks why
    if (waiting[1].revents != 0) {
      DrainWakes();
      return changes;
    }
    return ReadChanges();
  }

  void Wake() override {
    const char byte = 1;
    // A full pipe already holds a wake; nothing more to do then.
    [[maybe_unused]] const ssize_t written = write(wake_write_, &byte, 1);
  }

 private:
  void DrainWakes() {
    char bytes[64];
    while (read(wake_read_, bytes, sizeof bytes) > 0) {
    }
  }

  Result<std::vector<EntryChange>> ReadChanges() {
    std::vector<EntryChange> changes;
    std::set<std::size_t> roots_to_follow;
    alignas(inotify_event) char buffer[64 * 1024];
    for (;;) {
      const ssize_t size = read(inotify_, buffer, sizeof buffer);
      if (size < 0 && errno == EINTR) continue;
      if (size < 0 && errno == EAGAIN) break;
      if (size <= 0) return Status::Error(Failure("cannot read changes", size < 0 ? errno : EIO));
      for (ssize_t offset = 0; offset < size;) {
        const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
        Take(*event, changes, roots_to_follow);
        offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    for (const std::size_t root : roots_to_follow) FollowSubfolders(root);
    return changes;
  }

  // Turns one event into changes, and notes the watched folders whose
  // sub-folder watches must be brought up to date.
  void Take(const inotify_event& event, std::vector<EntryChange>& changes,
            std::set<std::size_t>& roots_to_follow) {
    if ((event.mask & IN_Q_OVERFLOW) != 0) {
      for (std::size_t root = 0; root < roots_.size(); ++root) {
        changes.push_back({roots_[root].path, "", true});
        if (roots_[root].with_subfolders) roots_to_follow.insert(root);
      }
      return;
    }
    const auto found = places_.find(event.wd);
    if (found == places_.end()) return;  // a watch given up on before its events were read
    if ((event.mask & IN_IGNORED) != 0) {
      places_.erase(found);
      return;
    }
    const std::string name = event.len > 0 ? std::string(event.name) : std::string();
    const bool folder = (event.mask & IN_ISDIR) != 0;
    for (const Place& place : found->second) {
      const WatchedFolder& root = roots_[place.root];
      if (place.subfolder.empty()) {
        changes.push_back({root.path, name, name.empty() || folder});
        if (root.with_subfolders && folder) roots_to_follow.insert(place.root);
      } else {
        changes.push_back({root.path + place.subfolder + kPathSeparator, name, folder});
      }
    }
  }

  // Watches exactly the visible first-level sub-folders of watched folder
  // `root` as they are now. inotify hands out one descriptor per folder on
  // disk, so a renamed sub-folder keeps its descriptor under its new name.
  void FollowSubfolders(std::size_t root) {
    const std::string& path = roots_[root].path;
    std::set<std::pair<int, std::string>> now;
    for (const std::string& name : ListFolder(path, EntryKind::kFolder)) {
      const int descriptor = inotify_add_watch(inotify_, (path + name).c_str(), kEntryEvents);
      // A folder that went in the meantime, or cannot be read, has nothing
      // for the page either.
      if (descriptor >= 0) now.emplace(descriptor, name);
    }
    // Places first, removals second: a descriptor whose folder was renamed
    // serves on under its new name.
    for (const auto& [descriptor, name] : now) {
      std::vector<Place>& places = places_[descriptor];
      const Place place{root, name};
      if (std::find(places.begin(), places.end(), place) == places.end()) places.push_back(place);
    }
    for (auto entry = places_.begin(); entry != places_.end();) {
      std::vector<Place>& places = entry->second;
      std::erase_if(places, [&](const Place& place) {
        return place.root == root && !place.subfolder.empty() &&
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
  std::vector<WatchedFolder> roots_;
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
