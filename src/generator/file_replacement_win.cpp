// Replacement files on Windows, through the wide (UTF-16) calls with paths
// given in UTF-8: created with CREATE_NEW, flushed with FlushFileBuffers and
// put in place with MoveFileExW, which replaces a link itself.
#include "generator/windows_api.h"

#include <algorithm>
#include <string>

#include "generator/file_replacement.h"
#include "generator/windows_error.h"

namespace qv {
namespace {

// WriteFile takes a 32-bit count; larger data goes in pieces.
constexpr std::size_t kMaxChunk = 1u << 30;

class WinReplacementFile : public ReplacementFile {
 public:
  WinReplacementFile(HANDLE file, std::string temporary_path, std::string target)
      : ReplacementFile(std::move(temporary_path)), file_(file), target_(std::move(target)) {}

  ~WinReplacementFile() override {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    if (!placed_) DeleteFileW(WideText(temporary_path()).c_str());
  }

  Status Append(std::string_view data) override {
    if (file_ == INVALID_HANDLE_VALUE) {
      return Status::Error(Failure("cannot write", target_, ERROR_INVALID_HANDLE));
    }
    while (!data.empty()) {
      const DWORD chunk = static_cast<DWORD>(std::min(data.size(), kMaxChunk));
      DWORD written = 0;
      if (!WriteFile(file_, data.data(), chunk, &written, nullptr)) {
        return Status::Error(Failure("cannot write", target_, GetLastError()));
      }
      if (written == 0) return Status::Error(Failure("cannot write", target_, ERROR_WRITE_FAULT));
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
      return Status::Error(Failure("cannot write", target_, error));
    }
    const BOOL closed = CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    return closed ? Status::Ok() : Status::Error(Failure("cannot write", target_, GetLastError()));
  }

  Status PutInPlace(const std::string& final_path, Flush flush) override {
    if (Status closed = Close(); !closed.ok()) return closed;
    const DWORD options =
        MOVEFILE_REPLACE_EXISTING | (flush == Flush::kEach ? MOVEFILE_WRITE_THROUGH : 0);
    if (!MoveFileExW(WideText(temporary_path()).c_str(), WideText(final_path).c_str(), options)) {
      return Status::Error(Failure("cannot replace", final_path, GetLastError()));
    }
    placed_ = true;
    return Status::Ok();
  }

 private:
  HANDLE file_;
  std::string target_;
  bool placed_ = false;
};

}  // namespace

Result<std::unique_ptr<ReplacementFile>> ReplacementFile::Create(const std::string& folder,
                                                                 std::string_view prefix,
                                                                 std::string target) {
  DWORD error = ERROR_FILE_EXISTS;
  for (int attempt = 0; attempt < 100 && error == ERROR_FILE_EXISTS; ++attempt) {
    std::string path = folder + TemporaryFileName(prefix);
    // CREATE_NEW never opens what exists, a link included.
    const HANDLE file = CreateFileW(WideText(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      return std::unique_ptr<ReplacementFile>(
          std::make_unique<WinReplacementFile>(file, std::move(path), std::move(target)));
    }
    error = GetLastError();
  }
  return Status::Error(Failure("cannot write", target, error));
}

// Windows offers an ordinary user no flush of every file at once (only of a
// volume, which needs an administrator), so each file is flushed as it is
// closed instead.
void FlushAllFiles() {}

void RemoveLeftoverFiles(const std::string& folder, std::string_view prefix) {
  WIN32_FIND_DATAW data;
  const HANDLE search = FindFirstFileW(WideText(folder + std::string(prefix) + "*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
    const std::string name = Utf8Text(data.cFileName);
    if (IsTemporaryFileName(name, prefix)) DeleteFileW(WideText(folder + name).c_str());
  } while (FindNextFileW(search, &data));
  FindClose(search);
}

}  // namespace qv
