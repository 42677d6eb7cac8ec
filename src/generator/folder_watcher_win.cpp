// Folder watching on Windows with ReadDirectoryChangesW, through the wide
// forms of the calls (paths arrive in the system code page). One overlapped
// read per watched folder; a folder with sub-folders is watched as a tree and
// changes deeper than its first-level sub-folders are left out. A wake sets
// an event of its own.
#include "generator/windows_api.h"

#include <algorithm>
#include <memory>
#include <string>

#include "generator/file_system.h"
#include "generator/folder_watcher.h"

namespace qv {
namespace {

constexpr DWORD kNotifyFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE |
                                FILE_NOTIFY_CHANGE_ATTRIBUTES;
constexpr DWORD kBufferSize = 64 * 1024;  // the most a network folder accepts

std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int size =
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
  return wide;
}

std::string Narrow(const wchar_t* text, std::size_t length) {
  if (length == 0) return std::string();
  const int count = static_cast<int>(length);
  const int size = WideCharToMultiByte(CP_ACP, 0, text, count, nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, count, narrow.data(), size, nullptr, nullptr);
  return narrow;
}

std::string Failure(const std::string& what, DWORD error) {
  return what + ": error " + std::to_string(error);
}

// One watched folder and its outstanding read.
struct Watch {
  WatchedFolder folder;
  HANDLE directory = INVALID_HANDLE_VALUE;
  HANDLE done = nullptr;
  OVERLAPPED overlapped{};
  bool reading = false;
  alignas(DWORD) char buffer[kBufferSize];

  ~Watch() {
    if (reading) {
      // The system writes into the buffer until the cancelled read is over.
      CancelIoEx(directory, &overlapped);
      DWORD ignored = 0;
      GetOverlappedResult(directory, &overlapped, &ignored, TRUE);
    }
    if (directory != INVALID_HANDLE_VALUE) CloseHandle(directory);
    if (done != nullptr) CloseHandle(done);
  }

  bool StartRead() {
    ResetEvent(done);
    overlapped = OVERLAPPED{};
    overlapped.hEvent = done;
    reading = ReadDirectoryChangesW(directory, buffer, kBufferSize, folder.with_subfolders,
                                    kNotifyFilter, nullptr, &overlapped, nullptr) != 0;
    return reading;
  }
};

bool IsFolder(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsHidden(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES &&
         (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

// The change a notification reports, if it lies in what `folder` watches.
bool ChangeOf(const WatchedFolder& folder, const FILE_NOTIFY_INFORMATION& info,
              EntryChange& change) {
  const std::string relative = Narrow(info.FileName, info.FileNameLength / sizeof(wchar_t));
  const std::size_t separator = relative.find('\\');
  const bool gone =
      info.Action == FILE_ACTION_REMOVED || info.Action == FILE_ACTION_RENAMED_OLD_NAME;
  if (separator == std::string::npos) {
    change = {folder.path, relative, gone || IsFolder(folder.path + relative)};
    return true;
  }
  if (relative.find('\\', separator + 1) != std::string::npos) return false;  // too deep
  const std::string subfolder = folder.path + relative.substr(0, separator + 1);
  if (IsHidden(subfolder)) return false;
  const std::string name = relative.substr(separator + 1);
  change = {subfolder, name, gone || IsFolder(subfolder + name)};
  return true;
}

class DirectoryChangesWatcher : public FolderWatcher {
 public:
  explicit DirectoryChangesWatcher(HANDLE wake) : wake_(wake) {}
  ~DirectoryChangesWatcher() override {
    watches_.clear();
    CloseHandle(wake_);
  }

  Status WatchFolders(const std::vector<WatchedFolder>& folders) override {
    std::vector<WatchedFolder> now;
    for (const auto& watch : watches_) now.push_back(watch->folder);
    if (now == folders) return Status::Ok();
    watches_.clear();
    for (const WatchedFolder& folder : folders) {
      auto watch = std::make_unique<Watch>();
      watch->folder = folder;
      watch->directory =
          CreateFileW(Wide(folder.path).c_str(), FILE_LIST_DIRECTORY,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
      if (watch->directory == INVALID_HANDLE_VALUE) {
        return Status::Error(Failure("cannot watch " + folder.path, GetLastError()));
      }
      watch->done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
      if (watch->done == nullptr || !watch->StartRead()) {
        return Status::Error(Failure("cannot watch " + folder.path, GetLastError()));
      }
      watches_.push_back(std::move(watch));
    }
    return Status::Ok();
  }

  Result<std::vector<EntryChange>> Wait(std::optional<std::chrono::milliseconds> timeout) override {
    std::vector<HANDLE> handles = {wake_};
    for (const auto& watch : watches_) handles.push_back(watch->done);
    const DWORD limit =
        timeout ? static_cast<DWORD>(std::clamp<long long>(timeout->count(), 0, INFINITE - 1))
                : INFINITE;
    const DWORD ready =
        WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, limit);
    std::vector<EntryChange> changes;
    if (ready == WAIT_FAILED) {
      return Status::Error(Failure("cannot wait for changes", GetLastError()));
    }
    if (ready == WAIT_TIMEOUT || ready == WAIT_OBJECT_0) return changes;
    for (const auto& watch : watches_) {
      if (WaitForSingleObject(watch->done, 0) != WAIT_OBJECT_0) continue;
      Status read = Collect(*watch, changes);
      if (!read.ok()) return read;
    }
    return changes;
  }

  void Wake() override { SetEvent(wake_); }

 private:
  static Status Collect(Watch& watch, std::vector<EntryChange>& changes) {
    DWORD size = 0;
    watch.reading = false;
    if (!GetOverlappedResult(watch.directory, &watch.overlapped, &size, FALSE)) {
      // The folder went, or its read failed: anything in it may have changed.
      changes.push_back({watch.folder.path, "", true});
    } else if (size == 0) {
      // More changed than the buffer holds.
      changes.push_back({watch.folder.path, "", true});
    } else {
      for (DWORD offset = 0;;) {
        const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(watch.buffer + offset);
        EntryChange change;
        if (ChangeOf(watch.folder, *info, change)) changes.push_back(std::move(change));
        if (info->NextEntryOffset == 0) break;
        offset += info->NextEntryOffset;
      }
    }
    if (!watch.StartRead()) {
      return Status::Error(Failure("cannot watch " + watch.folder.path, GetLastError()));
    }
    return Status::Ok();
  }

  HANDLE wake_;
  std::vector<std::unique_ptr<Watch>> watches_;
};

}  // namespace

Result<std::unique_ptr<FolderWatcher>> FolderWatcher::Open() {
  const HANDLE wake = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (wake == nullptr) return Status::Error(Failure("cannot watch folders", GetLastError()));
  return std::unique_ptr<FolderWatcher>(new DirectoryChangesWatcher(wake));
}

}  // namespace qv
