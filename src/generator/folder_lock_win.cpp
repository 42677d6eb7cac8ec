// The folder lock on Windows: a named mutex of the user's session, named
// after the folder's final path (links resolved, letters folded to upper
// case, hashed to fit a mutex name), so no lock file is ever made. A mutex
// left by a process that died counts as free.
#include "generator/windows_api.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "generator/folder_lock.h"
#include "generator/windows_text.h"

namespace qv {
namespace {

// The folder as the file system names it, or as given when it cannot say.
std::wstring FinalPath(const std::wstring& folder) {
  const HANDLE handle =
      CreateFileW(folder.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return folder;
  std::vector<wchar_t> buffer(32768);
  const DWORD length =
      GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), 0);
  CloseHandle(handle);
  if (length == 0 || length >= buffer.size()) return folder;
  return std::wstring(buffer.data(), length);
}

std::wstring MutexName(const std::string& folder) {
  std::wstring path = FinalPath(WideText(folder));
  while (!path.empty() && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  if (!path.empty()) CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
  std::uint64_t hash = 14695981039346656037ULL;  // FNV-1a
  for (const wchar_t c : path) {
    hash = (hash ^ static_cast<std::uint16_t>(c)) * 1099511628211ULL;
  }
  wchar_t name[64];
  std::swprintf(name, 64, L"Local\\QelmoraVorlindo.Run.%016llx",
                static_cast<unsigned long long>(hash));
  return name;
}

class WinFolderLock : public FolderLock {
 public:
  explicit WinFolderLock(HANDLE mutex) : mutex_(mutex) {}
  ~WinFolderLock() override {
    if (mutex_ == nullptr) return;
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  bool held() const override { return mutex_ != nullptr; }

 private:
  HANDLE mutex_;
};

}  // namespace

Result<std::unique_ptr<FolderLock>> FolderLock::Acquire(const std::string& folder,
                                                        std::chrono::milliseconds wait) {
  const HANDLE mutex = CreateMutexW(nullptr, FALSE, MutexName(folder).c_str());
  if (mutex == nullptr)
    return std::unique_ptr<FolderLock>(std::make_unique<WinFolderLock>(nullptr));
  const DWORD result = WaitForSingleObject(mutex, static_cast<DWORD>(wait.count()));
  if (result == WAIT_OBJECT_0 || result == WAIT_ABANDONED) {
    return std::unique_ptr<FolderLock>(std::make_unique<WinFolderLock>(mutex));
  }
  CloseHandle(mutex);
  if (result == WAIT_TIMEOUT) return Status::Error(LockWaitFailure(folder, wait));
  return std::unique_ptr<FolderLock>(std::make_unique<WinFolderLock>(nullptr));
}

}  // namespace qv
