// Folder watching on Windows with ReadDirectoryChangesW. Each watched folder
// holds a read for itself, one for every visible first-level sub-folder when
// those count, brought up to date whenever a folder entry in it changes, as
// on Linux (a read of a whole tree would report every deeper change too, and
// not every system that runs Windows programs reports a tree's changes), and
// one of the folder above it. An open folder follows its folder wherever it
// is renamed to, so the read above sees the watched folder's name go and
// come, when the folder is renamed away, replaced, removed or made again, and
// the watch moves to whatever the path names then. All reads end in one
// completion port, which also carries the wakes, so any number of folders is
// waited on at once.
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

using Clock = std::chrono::steady_clock;

constexpr DWORD kNotifyFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE |
                                FILE_NOTIFY_CHANGE_ATTRIBUTES;
// Above a watched folder only names count.
constexpr DWORD kAboveFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;
constexpr DWORD kBufferSize = 64 * 1024;  // the most a network folder accepts
constexpr ULONG_PTR kWakeKey = 0;         // reads are keyed from 1 on
constexpr ULONG_PTR kNoRead = 0;          // a folder that is not read

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WideText(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Names as Windows compares them: without regard to case.
bool SameName(const std::wstring& a, const std::string& b) {
  const std::wstring wide = WideText(b);
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), wide.data(),
                              static_cast<int>(wide.size()), TRUE) == CSTR_EQUAL;
}

// What a read looks at for a watched folder: the folder itself, one of its
// first-level sub-folders, or the folder above it.
enum class Role { kFolder, kSubfolder, kAbove };

// Which folder on disk a handle holds, whatever it is named now.
struct FolderId {
  DWORD volume = 0, high = 0, low = 0;
  bool operator==(const FolderId&) const = default;
};

// One folder read for changes.
struct Watch {
  std::size_t root = 0;
  Role role = Role::kFolder;
  std::string subfolder;  // for kSubfolder
  std::string path;       // ending in the separator
  FolderId id;
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
    reading = ReadDirectoryChangesW(directory, buffer, kBufferSize, FALSE,
                                    role == Role::kAbove ? kAboveFilter : kNotifyFilter, nullptr,
                                    &overlapped, nullptr) != 0;
    return reading;
  }
};

// A watched folder and the reads that follow its path; kNoRead while the
// path (or the folder above) names no folder that can be read.
struct Root {
  WatchedFolder folder;
  std::string above;  // empty at the top
  std::string name;   // the folder's name in `above`
  ULONG_PTR key = kNoRead;
  ULONG_PTR above_key = kNoRead;
};

Root RootOf(const WatchedFolder& folder) {
  Root root{folder, FolderAbove(folder.path), "", kNoRead, kNoRead};
  if (!root.above.empty()) {
    root.name = folder.path.substr(root.above.size(), folder.path.size() - root.above.size() - 1);
  }
  return root;
}

class DirectoryChangesWatcher : public FolderWatcher {
 public:
  explicit DirectoryChangesWatcher(HANDLE port) : port_(port) {}
  ~DirectoryChangesWatcher() override {
    watches_.clear();
    CloseHandle(port_);
  }

  Status WatchFolders(const std::vector<WatchedFolder>& folders) override {
    if (!Watches(folders)) {
      ForgetFrom(0);
      for (const WatchedFolder& folder : folders) roots_.push_back(RootOf(folder));
    }
    for (std::size_t root = 0; root < roots_.size(); ++root) {
      DWORD error = ERROR_SUCCESS;
      const bool moved = Follow(root, error);
      if (roots_[root].key == kNoRead) {
        const Status failed =
            Status::Error(Failure("cannot watch", roots_[root].folder.path, error));
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
      DWORD limit = INFINITE;
      if (timeout) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        limit = static_cast<DWORD>(std::clamp<long long>(left.count(), 0, INFINITE - 1));
      }
      bool ended = false;
      Result<std::vector<EntryChange>> changes = Collect(limit, ended);
      // Reads above a watched folder that were not about its name bring no
      // changes: wait on for the rest of the time.
      if (!changes.ok() || !changes->empty() || ended) return changes;
    }
  }

  void Wake() override { PostQueuedCompletionStatus(port_, 0, kWakeKey, nullptr); }

 private:
  bool Watches(const std::vector<WatchedFolder>& folders) const {
    return std::equal(
        folders.begin(), folders.end(), roots_.begin(), roots_.end(),
        [](const WatchedFolder& folder, const Root& root) { return folder == root.folder; });
  }

  // Waits up to `limit` for the first completion and takes along those that
  // came with it, so that a burst comes out as one list. `ended` tells a
  // wake or the end of the time.
  Result<std::vector<EntryChange>> Collect(DWORD limit, bool& ended) {
    std::vector<EntryChange> changes;
    std::set<std::size_t> roots_to_follow, subfolders_to_follow;
    bool woken = false;
    for (bool first = true;; first = false) {
      DWORD size = 0;
      ULONG_PTR key = kWakeKey;
      OVERLAPPED* overlapped = nullptr;
      const bool done =
          GetQueuedCompletionStatus(port_, &size, &key, &overlapped, first ? limit : 0) != 0;
      if (overlapped == nullptr && !done) {
        const DWORD error = GetLastError();
        if (error != WAIT_TIMEOUT) {
          return Status::Error(Failure("cannot wait for changes in", "watched folders", error));
        }
        ended = first;
        break;  // nothing (more) came
      }
      if (key == kWakeKey) {
        if (first) {
          ended = true;
          return changes;  // a wake ends a wait with nothing
        }
        woken = true;
        continue;
      }
      ReadEnded(key, done ? size : 0, changes, roots_to_follow, subfolders_to_follow);
    }
    for (const std::size_t root : roots_to_follow) {
      DWORD error = ERROR_SUCCESS;
      Follow(root, error);
      // Whatever the path names now, anything in it may be new.
      changes.push_back({roots_[root].folder.path, "", true});
      if (roots_[root].folder.with_subfolders) subfolders_to_follow.insert(root);
    }
    for (const std::size_t root : subfolders_to_follow) FollowSubfolders(root);
    // A wake taken along with changes is for the next wait.
    if (woken) Wake();
    return changes;
  }

  // Takes the changes of the read keyed `key` that gave `size` bytes (none:
  // it failed, or more changed than it could hold), and reads on.
  void ReadEnded(ULONG_PTR key, DWORD size, std::vector<EntryChange>& changes,
                 std::set<std::size_t>& roots_to_follow,
                 std::set<std::size_t>& subfolders_to_follow) {
    const auto found = watches_.find(key);
    if (found == watches_.end()) return;  // a read given up on before it ended
    Watch& watch = *found->second;
    watch.reading = false;
    if (watch.role == Role::kAbove) {
      if (size == 0 || NamesRoot(watch, size)) roots_to_follow.insert(watch.root);
    } else if (Take(watch, size, changes, subfolders_to_follow) && watch.role == Role::kSubfolder) {
      // The sub-folder itself may be going, which an open handle holds
      // back: its read is given up, and taken up again while it stays.
      subfolders_to_follow.insert(watch.root);
      watches_.erase(found);
      return;
    }
    if (!watch.StartRead()) {
      // The folder went: its watched folder is looked up anew by its path.
      if (watch.role == Role::kSubfolder) {
        changes.push_back({watch.path, "", true});
      } else {
        roots_to_follow.insert(watch.root);
      }
      Forget(key);
    }
  }

  // True when the `size` bytes a read above a watched folder gave name that
  // folder.
  bool NamesRoot(const Watch& watch, DWORD size) const {
    for (DWORD offset = 0; offset < size;) {
      const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(watch.buffer + offset);
      const std::wstring name(info->FileName, info->FileNameLength / sizeof(wchar_t));
      if (SameName(name, roots_[watch.root].name)) return true;
      if (info->NextEntryOffset == 0) break;
      offset += info->NextEntryOffset;
    }
    return false;
  }

  // Watches what the path of watched folder `root` names now (its sub-folders
  // left to the caller), the folder above it first, so that a folder put in
  // place between the two is seen coming. True when that is another folder
  // than before, whose sub-folders are then no longer read; the root's key is
  // kNoRead, and `error` says why, when its path names no folder that can be
  // read.
  bool Follow(std::size_t root, DWORD& error) {
    if (!roots_[root].above.empty()) {
      DWORD ignored = ERROR_SUCCESS;
      roots_[root].above_key =
          Rewatch(roots_[root].above_key, root, Role::kAbove, roots_[root].above, ignored);
    }
    const ULONG_PTR before = roots_[root].key;
    roots_[root].key = Rewatch(before, root, Role::kFolder, roots_[root].folder.path, error);
    if (roots_[root].key == before) return false;
    std::erase_if(watches_, [root](const auto& entry) {
      return entry.second->root == root && entry.second->role == Role::kSubfolder;
    });
    return true;
  }

  // Reads `path` for watched folder `root` in place of the read keyed `old`
  // (kNoRead: none), which stays when it reads the same folder; the key of
  // the read now, or kNoRead with `error` set.
  ULONG_PTR Rewatch(ULONG_PTR old, std::size_t root, Role role, const std::string& path,
                    DWORD& error) {
    auto watch = Open(root, role, "", path, error);
    const auto found = watches_.find(old);
    if (watch != nullptr && found != watches_.end() && found->second->id == watch->id) return old;
    Forget(old);
    return watch == nullptr ? kNoRead : Start(std::move(watch), error);
  }

  void Forget(ULONG_PTR key) {
    watches_.erase(key);
    for (Root& root : roots_) {
      if (root.key == key) root.key = kNoRead;
      if (root.above_key == key) root.above_key = kNoRead;
    }
  }

  // Forgets watched folders `first` and those after it.
  void ForgetFrom(std::size_t first) {
    std::erase_if(watches_, [first](const auto& entry) { return entry.second->root >= first; });
    roots_.resize(std::min(first, roots_.size()));
  }

  // Opens the folder at `path` for reading its changes; nullptr, with `error`
  // set, when it cannot be.
  std::unique_ptr<Watch> Open(std::size_t root, Role role, const std::string& subfolder,
                              const std::string& path, DWORD& error) {
    auto watch = std::make_unique<Watch>();
    watch->root = root;
    watch->role = role;
    watch->subfolder = subfolder;
    watch->path = path;
    watch->directory =
        CreateFileW(WideText(path).c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    BY_HANDLE_FILE_INFORMATION info;
    if (watch->directory == INVALID_HANDLE_VALUE ||
        !GetFileInformationByHandle(watch->directory, &info)) {
      error = GetLastError();
      return nullptr;
    }
    watch->id = {info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
    return watch;
  }

  // Starts reading the changes of `watch`; its key, or kNoRead with `error`
  // set.
  ULONG_PTR Start(std::unique_ptr<Watch> watch, DWORD& error) {
    const ULONG_PTR key = next_key_++;
    if (CreateIoCompletionPort(watch->directory, port_, key, 0) == nullptr || !watch->StartRead()) {
      error = GetLastError();
      return kNoRead;
    }
    watches_.emplace(key, std::move(watch));
    return key;
  }

  // Turns the `size` bytes a read gave into changes (none: it failed, or more
  // changed than it could hold), and notes the watched folders whose
  // sub-folder reads must be brought up to date. True when something went.
  bool Take(const Watch& watch, DWORD size, std::vector<EntryChange>& changes,
            std::set<std::size_t>& subfolders_to_follow) {
    const bool follows = watch.role == Role::kFolder && roots_[watch.root].folder.with_subfolders;
    if (size == 0) {
      changes.push_back({watch.path, "", true});
      if (follows) subfolders_to_follow.insert(watch.root);
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
      if (follows && maybe_folder) subfolders_to_follow.insert(watch.root);
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
    if (roots_[root].key != kNoRead) {
      for (std::string& name : ListFolder(roots_[root].folder.path, EntryKind::kFolder)) {
        now.insert(std::move(name));
      }
    }
    std::set<std::string> watched;
    std::erase_if(watches_, [&](const auto& entry) {
      const Watch& watch = *entry.second;
      if (watch.root != root || watch.role != Role::kSubfolder) return false;
      if (!now.contains(watch.subfolder)) return true;
      watched.insert(watch.subfolder);
      return false;
    });
    for (const std::string& name : now) {
      if (watched.contains(name)) continue;
      // A folder that went in the meantime, or cannot be read, has nothing
      // for the page either.
      DWORD error = ERROR_SUCCESS;
      auto watch = Open(root, Role::kSubfolder, name,
                        roots_[root].folder.path + name + kPathSeparator, error);
      if (watch != nullptr) Start(std::move(watch), error);
    }
  }

  const HANDLE port_;
  std::vector<Root> roots_;
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
