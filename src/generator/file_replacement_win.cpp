// Replacement files on Windows, through the wide (UTF-16) calls with paths
// given in UTF-8, in a folder held open (open_folder_win.cpp), which keeps
// the folder's path leading to it: created with CREATE_NEW, flushed with
// FlushFileBuffers and put in place with MoveFileExW, which replaces a link
// itself.
#include "generator/windows_api.h"

#include <algorithm>
#include <string>

#include "generator/file_replacement.h"
#include "generator/file_system_win.h"
#include "generator/windows_error.h"

namespace qv {
namespace {

// WriteFile takes a 32-bit count; larger data goes in pieces.
constexpr std::size_t kMaxChunk = 1u << 30;

class WinReplacementFile : public ReplacementFile {
 public:
  WinReplacementFile(HANDLE file, std::shared_ptr<const OpenFolder::Handle> folder,
                     std::string folder_path, std::string temporary_path, std::string target)
      : ReplacementFile(std::move(temporary_path)),
        file_(file),
        folder_(std::move(folder)),
        folder_path_(std::move(folder_path)),
        target_(std::move(target)) {}

  ~WinReplacementFile() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (!placed_) DeleteFileW(WideText(temporary_path()).c_str());
  }

  Status Append(std::string_view data) override {
    if (file_ == INVALID_HANDLE_VALUE) {
      return FailureStatus("cannot write", target_, ERROR_INVALID_HANDLE);
    }
    while (!data.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min(data.size(), kMaxChunk));
      DWORD written = 0;
      if (!WriteFile(file_, data.data(), chunk, &written, nullptr)) {
        return FailureStatus("cannot write", target_, GetLastError());
      }
      if (written == 0) return FailureStatus("cannot write", target_, ERROR_WRITE_FAULT);
      data.remove_prefix(written);
    }
    return Status::Ok();
  }

  // Closing flushes too: Windows has no flush of all files for a batch to
  // rely on (see FlushAllFiles).
  Status Close() override {
    if (file_ == INVALID_HANDLE_VALUE) return Status::Ok();
    if (!FlushFileBuffers(file_)) {
      const DWORD error = GetLastError();
      CloseHandle(file_);
      file_ = INVALID_HANDLE_VALUE;
      return FailureStatus("cannot write", target_, error);
    }
    const BOOL closed = CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    return closed ? Status::Ok() : FailureStatus("cannot write", target_, GetLastError());
  }

  Status PutInPlace(std::string_view final_name, Flush flush, Existing existing) override {
    if (Status closed = Close(); !closed.ok()) return closed;
    const DWORD options = (existing == Existing::kReplace ? MOVEFILE_REPLACE_EXISTING : 0) |
                          (flush == Flush::kEach ? MOVEFILE_WRITE_THROUGH : 0);
    const std::string final_path = folder_path_ + std::string(final_name);
    if (!MoveFileExW(WideText(temporary_path()).c_str(), WideText(final_path).c_str(), options)) {
      return FailureStatus("cannot replace", target_, GetLastError());
    }
    placed_ = true;
    return Status::Ok();
  }

 private:
  HANDLE file_;
  // Held while the file is: the folder's path cannot lead elsewhere meanwhile.
  std::shared_ptr<const OpenFolder::Handle> folder_;
  std::string folder_path_;
  std::string target_;
  bool placed_ = false;
};

}  // namespace

Result<std::unique_ptr<ReplacementFile>> ReplacementFile::Create(const OpenFolder& folder,
                                                                 std::string_view prefix,
                                                                 std::string target) {
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
    std::string path = folder.path() + TemporaryFileName(prefix);
    // CREATE_NEW never opens what exists, a link included.
    const HANDLE file = CreateFileW(WideText(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      return std::unique_ptr<ReplacementFile>(std::make_unique<WinReplacementFile>(
          file, folder.handle(), folder.path(), std::move(path), std::move(target)));
    }
    error = GetLastError();
  }
  return FailureStatus("cannot write", target, error);
}

// Windows offers an ordinary user no flush of every file at once (only of a
// volume, which needs an administrator), so each file is flushed as it is
// closed instead.
void FlushAllFiles() {}

}  // namespace qv
