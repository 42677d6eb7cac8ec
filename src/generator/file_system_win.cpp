// The file system on Windows, through the 8-bit (code page) forms of the
// Win32 calls. Hidden and system entries never show.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>

#include "generator/file_system.h"
#include "generator/text.h"

namespace qv {

const char kPathSeparator = '\\';
// A file name holding one of these would name something outside its folder.
const std::string_view kNonNameCharacters("/\\:\0", 4);

namespace {

constexpr DWORD kInvisible = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// WriteFile and ReadFile take a 32-bit count; larger data goes in pieces.
constexpr std::size_t kMaxChunk = 1u << 30;

// The system's one-line description of `error`, without its trailing
// line break and full stop.
std::string ErrorText(DWORD error) {
  char* message = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<char*>(&message), 0, nullptr);
  std::string text = length > 0 && message != nullptr ? std::string(message, length)
                                                      : "error " + std::to_string(error);
  if (message != nullptr) LocalFree(message);
  while (!text.empty() &&
         (text.back() == '\r' || text.back() == '\n' || text.back() == '.' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

std::string Failure(const char* what, const std::string& path, DWORD error) {
  return std::string(what) + " " + path + ": " + ErrorText(error);
}

bool Matches(const WIN32_FIND_DATAA& data, EntryKind kind) {
  if ((data.dwFileAttributes & kInvisible) != 0) return false;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) return false;
  const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return folder == (kind == EntryKind::kFolder);
}

bool IsDotEntry(const char* name) {
  return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

Status WriteAll(HANDLE file, std::string_view data, const std::string& path) {
  while (!data.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min(data.size(), kMaxChunk));
    DWORD written = 0;
    if (!WriteFile(file, data.data(), chunk, &written, nullptr)) {
      return Status::Error(Failure("cannot write", path, GetLastError()));
    }
    if (written == 0) return Status::Error(Failure("cannot write", path, ERROR_WRITE_FAULT));
    data.remove_prefix(written);
  }
  return Status::Ok();
}

// A new, exclusive temporary file beside `path`; INVALID_HANDLE_VALUE with
// the last error set on failure. It is hidden, so that a folder scan running
// meanwhile never lists the half-written file.
HANDLE CreateTemporary(const std::string& path, std::string& temporary) {
  static std::atomic<unsigned long> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const unsigned long long stamp =
        GetTickCount64() ^ (static_cast<unsigned long long>(GetCurrentProcessId()) << 16);
    temporary = path + "." + std::to_string((stamp + counter.fetch_add(1)) % 1000000);
    const HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

// Only files on disk: a device or pipe opened by name could block.
bool IsDiskFile(HANDLE file) {
  return GetFileType(file) == FILE_TYPE_DISK;
}

class WinReadableFile : public ReadableFile {
 public:
  explicit WinReadableFile(HANDLE file) : file_(file) {}
  ~WinReadableFile() override { CloseHandle(file_); }

  std::size_t Read(char* buffer, std::size_t size) override {
    DWORD count = 0;
    const DWORD wanted = static_cast<DWORD>(std::min(size, kMaxChunk));
    if (!ReadFile(file_, buffer, wanted, &count, nullptr)) return 0;
    return count;
  }

 private:
  HANDLE file_;
};

class WinWritableFile : public WritableFile {
 public:
  WinWritableFile(HANDLE file, std::string path) : file_(file), path_(std::move(path)) {}
  ~WinWritableFile() override { Close(); }

  Status Append(std::string_view data) override {
    if (file_ == INVALID_HANDLE_VALUE) {
      return Status::Error(Failure("cannot write", path_, ERROR_INVALID_HANDLE));
    }
    return WriteAll(file_, data, path_);
  }

  Status Close() override {
    if (file_ == INVALID_HANDLE_VALUE) return Status::Ok();
    const BOOL closed = CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    return closed ? Status::Ok() : Status::Error(Failure("cannot write", path_, GetLastError()));
  }

 private:
  HANDLE file_;
  std::string path_;
};

Result<HANDLE> OpenDiskFile(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  const HANDLE file = CreateFileA(path.c_str(), access, share, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return Status::Error(Failure("cannot open", path, GetLastError()));
  if (!IsDiskFile(file)) {
    CloseHandle(file);
    return Status::Error("cannot open " + path + ": not a regular file");
  }
  return file;
}

}  // namespace

std::vector<std::string> ListFolder(const std::string& folder, EntryKind kind) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA data;
  const HANDLE search = FindFirstFileA((WithTrailingSeparator(folder) + "*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!IsDotEntry(data.cFileName) && Matches(data, kind)) names.emplace_back(data.cFileName);
  } while (FindNextFileA(search, &data));
  FindClose(search);
  std::sort(names.begin(), names.end(), NameLess);
  return names;
}

bool VisibleFileExists(const std::string& folder, const std::string& name) {
  if (!IsPlainFileName(name)) return false;
  const DWORD attributes = GetFileAttributesA(JoinPath(folder, name).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (kInvisible | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

Status RemoveFile(const std::string& path) {
  if (DeleteFileA(path.c_str())) return Status::Ok();
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Status::Ok();
  return Status::Error(Failure("cannot delete", path, error));
}

Status ReplaceFileAtomically(const std::string& path, std::string_view contents) {
  std::string temporary;
  const HANDLE file = CreateTemporary(path, temporary);
  if (file == INVALID_HANDLE_VALUE)
    return Status::Error(Failure("cannot write", path, GetLastError()));
  Status status = WriteAll(file, contents, path);
  if (status.ok() && !FlushFileBuffers(file)) {
    status = Status::Error(Failure("cannot write", path, GetLastError()));
  }
  if (!CloseHandle(file) && status.ok()) {
    status = Status::Error(Failure("cannot write", path, GetLastError()));
  }
  if (status.ok() && !MoveFileExA(temporary.c_str(), path.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    status = Status::Error(Failure("cannot replace", path, GetLastError()));
  }
  if (!status.ok()) {
    DeleteFileA(temporary.c_str());
    return status;
  }
  // The renamed file carries the temporary's hidden attribute.
  if (!SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL)) {
    return Status::Error(Failure("cannot replace", path, GetLastError()));
  }
  return status;
}

FileReplacements::~FileReplacements() {
  for (const Staged& staged : staged_) DeleteFileA(staged.temporary.c_str());
}

// Each file is flushed as it is written; Windows has no one flush for many.
Status FileReplacements::Stage(const std::string& path, std::string_view contents) {
  std::string temporary;
  const HANDLE file = CreateTemporary(path, temporary);
  if (file == INVALID_HANDLE_VALUE)
    return Status::Error(Failure("cannot write", path, GetLastError()));
  Status status = WriteAll(file, contents, path);
  if (status.ok() && !FlushFileBuffers(file)) {
    status = Status::Error(Failure("cannot write", path, GetLastError()));
  }
  if (!CloseHandle(file) && status.ok()) {
    status = Status::Error(Failure("cannot write", path, GetLastError()));
  }
  if (!status.ok()) {
    DeleteFileA(temporary.c_str());
    return status;
  }
  staged_.push_back({std::move(temporary), path});
  return status;
}

Status FileReplacements::Commit() {
  Status status = Status::Ok();
  std::size_t done = 0;
  for (; done < staged_.size(); ++done) {
    const Staged& staged = staged_[done];
    if (!MoveFileExA(staged.temporary.c_str(), staged.path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      status = Status::Error(Failure("cannot replace", staged.path, GetLastError()));
      break;
    }
    // The renamed file carries the temporary's hidden attribute.
    if (!SetFileAttributesA(staged.path.c_str(), FILE_ATTRIBUTE_NORMAL)) {
      status = Status::Error(Failure("cannot replace", staged.path, GetLastError()));
      ++done;
      break;
    }
  }
  staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(done));
  return status;
}

Result<std::unique_ptr<ReadableFile>> ReadableFile::Open(const std::string& path) {
  const Result<HANDLE> file = OpenDiskFile(
      path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  if (!file.ok()) return file.status();
  return std::unique_ptr<ReadableFile>(std::make_unique<WinReadableFile>(*file));
}

Result<std::unique_ptr<WritableFile>> WritableFile::Open(const std::string& path) {
  const Result<HANDLE> file = OpenDiskFile(path, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
  if (!file.ok()) return file.status();
  return std::unique_ptr<WritableFile>(std::make_unique<WinWritableFile>(*file, path));
}

}  // namespace qv
