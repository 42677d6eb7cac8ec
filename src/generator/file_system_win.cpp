// The file system on Windows, through the wide (UTF-16) forms of the Win32
// calls, so that every name is reached whatever the code page; paths and
// names are UTF-8 on this side of the seam. Hidden and system entries never
// show.
#include "generator/windows_api.h"

#include <algorithm>
#include <cwchar>
#include <string>

#include "generator/file_system.h"
#include "generator/file_system_win.h"
#include "generator/text.h"
#include "generator/windows_error.h"
#include "generator/windows_text.h"

namespace qv {

const char kPathSeparator = '\\';
// A file name holding one of these would name something outside its folder.
const std::string_view kNonNameCharacters("/\\:\0", 4);

namespace {

constexpr DWORD kInvisible = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// WriteFile and ReadFile take a 32-bit count; larger data goes in pieces.
constexpr std::size_t kMaxChunk = 1u << 30;

bool Matches(const WIN32_FIND_DATAW& data, EntryKind kind) {
  if ((data.dwFileAttributes & kInvisible) != 0) return false;
  if ((data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) return false;
  const bool folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return folder == (kind == EntryKind::kFolder);
}

bool IsDotEntry(const wchar_t* name) {
  return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
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
    if (!ReadFile(file_, buffer, wanted, &count, nullptr)) {
      ReadFailed(ErrorText(GetLastError()));
      return 0;
    }
    return count;
  }

 private:
  HANDLE file_;
};

Result<HANDLE> OpenDiskFile(const std::string& path, DWORD access, DWORD share, DWORD disposition) {
  const HANDLE file = CreateFileW(WideText(path).c_str(), access, share, nullptr, disposition,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FailureStatus("cannot open", path, GetLastError());
  if (!IsDiskFile(file)) {
    CloseHandle(file);
    return Status::Error("cannot open " + path + ": not a regular file");
  }
  return file;
}

}  // namespace

std::unique_ptr<ReadableFile> ReadableFileOf(HANDLE file) {
  return std::make_unique<WinReadableFile>(file);
}

std::vector<std::string> ListFolder(const std::string& folder, EntryKind kind) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW data;
  const HANDLE search =
      FindFirstFileW(WideText(WithTrailingSeparator(folder) + "*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if (!IsDotEntry(data.cFileName) && Matches(data, kind)) {
      names.push_back(Utf8Text(data.cFileName));
    }
  } while (FindNextFileW(search, &data));
  FindClose(search);
  std::sort(names.begin(), names.end(), NameLess);
  return names;
}

void VisitFiles(const std::string& folder, const FileVisitor& visit) {
  for (std::string& name : ListFolder(folder, EntryKind::kFile)) {
    Result<std::unique_ptr<ReadableFile>> file = ReadableFile::Open(JoinPath(folder, name));
    visit(std::move(name), file.ok() ? file->get() : nullptr);
  }
}

bool VisibleFileExists(const std::string& folder, const std::string& name) {
  if (!IsPlainFileName(name)) return false;
  const DWORD attributes = GetFileAttributesW(WideText(JoinPath(folder, name)).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (kInvisible | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
}

Status RemoveFile(const std::string& path) {
  if (DeleteFileW(WideText(path).c_str())) return Status::Ok();
  const DWORD error = GetLastError();
  if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Status::Ok();
  return FailureStatus("cannot delete", path, error);
}

Result<std::unique_ptr<ReadableFile>> ReadableFile::Open(const std::string& path) {
  const Result<HANDLE> file = OpenDiskFile(
      path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, OPEN_EXISTING);
  if (!file.ok()) return file.status();
  return std::unique_ptr<ReadableFile>(std::make_unique<WinReadableFile>(*file));
}

}  // namespace qv
