// Folder watching on Windows with ReadDirectoryChangesW. Each watched folder
// with sub-folders holds a read for itself and one for every visible
// first-level sub-folder, brought up to date whenever a folder entry in it
// changes, as on Linux: a read of a whole tree would report every deeper
// change too, and not every system that runs Windows programs reports a
// tree's changes. All reads end in one completion port, which also carries
// the wakes, so any number of folders is waited on at once.
#include "generator/windows_api.h"

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "generator/file_system.h"
#include "generator/folder_watcher.h"
#include "generator/windows_error.h"
#include "generator/windows_text.h"

namespace qv {
namespace {

constexpr DWORD kNotifyFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE |
                                FILE_NOTIFY_CHANGE_ATTRIBUTES;
constexpr DWORD kBufferSize = 64 * 1024;  // the most a network folder accepts
constexpr ULONG_PTR kWakeKey = 0;         // reads are keyed from 1 on

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideText(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// One folder read for changes: a watched folder (`subfolder` empty) or one of
// its first-level sub-folders.
struct Watch {
  std::size_t root = 0;
  std::string subfolder;
  std::string path;  // ending in the separator
  HANDLE directory = INVALID_HANDLE_VALUE;
  OVERLAPPED overlapped{};
  bool reading = false;
  alignas(DWORD) char buffer[kBufferSize];

  ~Watch() {
    if (reading) {
      // The system writes into the buffer until the cancelled read is over;
      // its completion still reaches the port, under a key no longer known.
      CancelIoEx(directory, &overlapped);
      DWORD ignored = 0;
      GetOverlappedResult(directory, &overlapped, &ignored, TRUE);
    }
    if (directory != INVALID_HANDLE_VALUE) CloseHandle(directory);
  }

  bool StartRead() {
    overlapped = OVERLAPPED{};
    reading = ReadDirectoryChangesW(directory, buffer, kBufferSize, FALSE, kNotifyFilter, nullptr,
                                    &overlapped, nullptr) != 0;
    return reading;
  }
};

class DirectoryChangesWatcher : public FolderWatcher {
 public:
  explicit DirectoryChangesWatcher(HANDLE port) : port_(port) {}
  ~DirectoryChangesWatcher() override {
    watches_.clear();
    CloseHandle(port_);
  }

  Status WatchFolders(const std::vector<WatchedFolder>& folders) override {
    if (folders == roots_) return Status::Ok();
    watches_.clear();
    roots_.clear();
    for (const WatchedFolder& folder : folders) {
      roots_.push_back(folder);
      if (Status watching = Add(roots_.size() - 1, ""); !watching.ok()) return watching;
      if (folder.with_subfolders) FollowSubfolders(roots_.size() - 1);
    }
    return Status::Ok();
  }

  Result<std::vector<EntryChange>> Wait(std::optional<std::chrono::milliseconds> timeout) override {
    const DWORD limit =
        timeout ? static_cast<DWORD>(std::clamp<long long>(timeout->count(), 0, INFINITE - 1))
                : INFINITE;
    std::vector<EntryChange> changes;
    std::set<std::size_t> roots_to_follow;
    bool woken = false;
    // The first completion is waited for; those that came with it are taken
    // along, so that a burst comes out as one list.
    for (bool first = true;; first = false) {
      const DWORD wait = first ? limit : 0;
      DWORD size = 0;
      ULONG_PTR key = kWakeKey;
      OVERLAPPED* overlapped = nullptr;
      const bool done = GetQueuedCompletionStatus(port_, &size, &key, &overlapped, wait) != 0;
      if (overlapped == nullptr && !done) {
        const DWORD error = GetLastError();
        if (error == WAIT_TIMEOUT) break;  // nothing (more) came
        return Status::Error(Failure("cannot wait for changes in", "watched folders", error));
      }
      if (key == kWakeKey) {
        if (first) return changes;  // a wake ends a wait with nothing
        woken = true;
        continue;
      }
      ReadEnded(key, done ? size : 0, changes, roots_to_follow);
    }
    for (const std::size_t root : roots_to_follow) FollowSubfolders(root);
    // A wake taken along with changes is for the next wait.
    if (woken) Wake();
    return changes;
  }

  void Wake() override { PostQueuedCompletionStatus(port_, 0, kWakeKey, nullptr); }

 private:
  // Takes the changes of the read keyed `key` that gave `size` bytes (none:
  // it failed, or more changed than it could hold), and reads on.
  void ReadEnded(ULONG_PTR key, DWORD size, std::vector<EntryChange>& changes,
                 std::set<std::size_t>& roots_to_follow) {
    const auto found = watches_.find(key);
    if (found == watches_.end()) return;  // a read given up on before it ended
    Watch& watch = *found->second;
    watch.reading = false;
    const bool removals = Take(watch, size, changes, roots_to_follow);
    if (removals && !watch.subfolder.empty()) {
      // The sub-folder itself may be going, which an open handle holds
      // back: its read is given up, and taken up again while it stays.
      roots_to_follow.insert(watch.root);
      watches_.erase(found);
    } else if (!watch.StartRead()) {
      // The folder went: anything in it may have changed, and the watch
      // ends with it.
      changes.push_back({watch.path, "", true});
      watches_.erase(found);
    }
  }

  // Opens the folder `subfolder` of watched folder `root` (empty: the
  // watched folder itself) and starts reading its changes.
  Status Add(std::size_t root, const std::string& subfolder) {
    auto watch = std::make_unique<Watch>();
    watch->root = root;
    watch->subfolder = subfolder;
    watch->path = roots_[root].path + (subfolder.empty() ? "" : subfolder + kPathSeparator);
    watch->directory =
        CreateFileW(WideText(watch->path).c_str(), FILE_LIST_DIRECTORY,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    const ULONG_PTR key = next_key_++;
    if (watch->directory == INVALID_HANDLE_VALUE ||
        CreateIoCompletionPort(watch->directory, port_, key, 0) == nullptr || !watch->StartRead()) {
      return Status::Error(Failure("cannot watch", watch->path, GetLastError()));
    }
    watches_.emplace(key, std::move(watch));
    return Status::Ok();
  }

  // Turns the `size` bytes a read gave into changes (none: it failed, or more
  // changed than it could hold), and notes the watched folders whose
  // sub-folder reads must be brought up to date. True when something went.
  bool Take(const Watch& watch, DWORD size, std::vector<EntryChange>& changes,
            std::set<std::size_t>& roots_to_follow) {
    const bool follows = watch.subfolder.empty() && roots_[watch.root].with_subfolders;
    if (size == 0) {
      changes.push_back({watch.path, "", true});
      if (follows) roots_to_follow.insert(watch.root);
      return true;
    }
    bool removals = false;
    for (DWORD offset = 0;;) {
      const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(watch.buffer + offset);
      const std::string name =
          Utf8Text(std::wstring_view(info->FileName, info->FileNameLength / sizeof(wchar_t)));
      const bool gone =
          info->Action == FILE_ACTION_REMOVED || info->Action == FILE_ACTION_RENAMED_OLD_NAME;
      // What went can no longer say whether it was a folder.
      const bool maybe_folder = gone || IsFolder(watch.path + name);
      changes.push_back({watch.path, name, maybe_folder});
      if (follows && maybe_folder) roots_to_follow.insert(watch.root);
      removals = removals || gone;
      if (info->NextEntryOffset == 0) break;
      offset += info->NextEntryOffset;
    }
    return removals;
  }

  // Reads exactly the visible first-level sub-folders of watched folder
  // `root` as they are now; a renamed sub-folder is read under its new name.
  void FollowSubfolders(std::size_t root) {
    std::set<std::string> now;
    for (std::string& name : ListFolder(roots_[root].path, EntryKind::kFolder)) {
      now.insert(std::move(name));
    }
    std::set<std::string> watched;
    std::erase_if(watches_, [&](const auto& entry) {
      const Watch& watch = *entry.second;
      if (watch.root != root || watch.subfolder.empty()) return false;
      if (!now.contains(watch.subfolder)) return true;
      watched.insert(watch.subfolder);
      return false;
    });
    for (const std::string& name : now) {
      // A folder that went in the meantime, or cannot be read, has nothing
      // for the page either.
      if (!watched.contains(name)) Add(root, name);
    }
  }

  const HANDLE port_;
  std::vector<WatchedFolder> roots_;
  std::map<ULONG_PTR, std::unique_ptr<Watch>> watches_;  // by completion key
  ULONG_PTR next_key_ = kWakeKey + 1;
};

}  // namespace

Result<std::unique_ptr<FolderWatcher>> FolderWatcher::Open() {
  const HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
  if (port == nullptr) {
    return Status::Error(Failure("cannot watch", "folders", GetLastError()));
  }
  return std::unique_ptr<FolderWatcher>(new DirectoryChangesWatcher(port));
}

}  // namespace qv
