// Open folders on Windows. A folder is held by a handle opened without delete
// sharing, which keeps it from being renamed, removed or replaced while it is
// held; its entries are then reached by its path, and every entry that is
// opened, read or removed is opened without following a reparse point
// (a symbolic link or junction), so a link is only ever removed itself.
#include "generator/windows_api.h"

#include <string>

#include "generator/file_system_win.h"
#include "generator/open_folder.h"
#include "generator/windows_error.h"
#include "generator/windows_text.h"

namespace qv {
namespace {

constexpr DWORD kInvisible = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
// Others may read and write in the folder, but not move or remove it.
constexpr DWORD kHoldingShare = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kAnyShare = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

Status NotAName(const std::string& folder, std::string_view name) {
  return Status::Error("cannot use the name \"" + std::string(name) + "\" in " + folder);
}

bool IsLink(DWORD attributes) {
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

FolderEntry::Type TypeOfAttributes(DWORD attributes) {
  if (IsLink(attributes)) return FolderEntry::Type::kLink;
  if ((attributes & FILE_ATTRIBUTE_DEVICE) != 0) return FolderEntry::Type::kOther;
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return FolderEntry::Type::kFolder;
  return FolderEntry::Type::kFile;
}

// The attributes of the open handle, or INVALID_FILE_ATTRIBUTES.
DWORD AttributesOf(HANDLE handle) {
  BY_HANDLE_FILE_INFORMATION information;
  return GetFileInformationByHandle(handle, &information) ? information.dwFileAttributes
                                                          : INVALID_FILE_ATTRIBUTES;
}

// Opens the folder at `path` and holds it; with `follow_link` false a link
// there is opened itself, and refused.
Result<HANDLE> HoldFolder(const std::string& path, bool follow_link) {
  const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (follow_link ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
  const HANDLE folder = CreateFileW(WideText(path).c_str(), FILE_LIST_DIRECTORY | SYNCHRONIZE,
                                    kHoldingShare, nullptr, OPEN_EXISTING, flags, nullptr);
  if (folder == INVALID_HANDLE_VALUE) {
    return FailureStatus("cannot open the folder", path, GetLastError());
  }
  const DWORD attributes = AttributesOf(folder);
  if (attributes == INVALID_FILE_ATTRIBUTES || IsLink(attributes) ||
      (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    CloseHandle(folder);
    return FailureStatus("cannot open the folder", path, ERROR_DIRECTORY);
  }
  return folder;
}

// Opens the entry at `path` itself, a link included, with `access`.
HANDLE OpenEntry(const std::string& path, DWORD access) {
  return CreateFileW(WideText(path).c_str(), access, kAnyShare, nullptr, OPEN_EXISTING,
                     FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

OpenFolder::Handle::~Handle() {
  CloseHandle(folder);
}

Result<OpenFolder> OpenFolder::Open(const std::string& path) {
  const std::string folder = WithTrailingSeparator(path);
  const Result<HANDLE> held = HoldFolder(folder, true);
  if (!held.ok()) return held.status();
  return OpenFolder(std::make_shared<const Handle>(*held), folder);
}

Result<OpenFolder> OpenFolder::OpenSubfolder(std::string_view name) const {
  if (!IsPlainFileName(name)) return NotAName(path_, name);
  const std::string sub = path_ + std::string(name) + kPathSeparator;
  const Result<HANDLE> held = HoldFolder(sub, false);
  if (!held.ok()) return held.status();
  return OpenFolder(std::make_shared<const Handle>(*held), sub);
}

Result<std::vector<FolderEntry>> OpenFolder::Entries() const {
  WIN32_FIND_DATAW data;
  const HANDLE search = FindFirstFileW(WideText(path_ + "*").c_str(), &data);
  if (search == INVALID_HANDLE_VALUE) {
    return FailureStatus("cannot read the folder", path_, GetLastError());
  }
  std::vector<FolderEntry> entries;
  do {
    const std::wstring_view name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    entries.push_back({Utf8Text(name), TypeOfAttributes(data.dwFileAttributes)});
  } while (FindNextFileW(search, &data));
  const DWORD error = GetLastError();
  FindClose(search);
  if (error != ERROR_NO_MORE_FILES) {
    return FailureStatus("cannot read the folder", path_, error);
  }
  return entries;
}

bool OpenFolder::IsHidden(std::string_view name) const {
  if (!IsPlainFileName(name)) return false;
  const DWORD attributes = GetFileAttributesW(WideText(path_ + std::string(name)).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kInvisible) != 0;
}

Result<std::unique_ptr<ReadableFile>> OpenFolder::OpenFile(std::string_view name) const {
  if (!IsPlainFileName(name)) return NotAName(path_, name);
  const std::string path = path_ + std::string(name);
  const HANDLE file = CreateFileW(WideText(path).c_str(), GENERIC_READ, kAnyShare, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return FailureStatus("cannot open", path, GetLastError());
  if (TypeOfAttributes(AttributesOf(file)) != FolderEntry::Type::kFile ||
      GetFileType(file) != FILE_TYPE_DISK) {
    CloseHandle(file);
    return Status::Error("cannot open " + path + ": not a regular file");
  }
  return ReadableFileOf(file);
}

Status OpenFolder::MakeSubfolder(std::string_view name) const {
  if (!IsPlainFileName(name)) return NotAName(path_, name);
  const std::string path = path_ + std::string(name);
  if (CreateDirectoryW(WideText(path).c_str(), nullptr)) return Status::Ok();
  return FailureStatus("cannot create the folder", path, GetLastError());
}

Status OpenFolder::RemoveFile(std::string_view name) const {
  if (!IsPlainFileName(name)) return NotAName(path_, name);
  const std::string path = path_ + std::string(name);
  const HANDLE entry = OpenEntry(path, DELETE | FILE_READ_ATTRIBUTES);
  if (entry == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) return Status::Ok();
    return FailureStatus("cannot delete", path, error);
  }
  // The entry opened is the one removed: a folder that took the name after
  // the look stays.
  const DWORD attributes = AttributesOf(entry);
  FILE_DISPOSITION_INFO disposition{TRUE};
  const bool removable = attributes != INVALID_FILE_ATTRIBUTES &&
                         (IsLink(attributes) || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0);
  const BOOL removed = removable && SetFileInformationByHandle(entry, FileDispositionInfo,
                                                               &disposition, sizeof(disposition));
  const DWORD error = removable ? GetLastError() : ERROR_ACCESS_DENIED;
  CloseHandle(entry);
  return removed ? Status::Ok() : FailureStatus("cannot delete", path, error);
}

Status OpenFolder::RemoveEmptySubfolder(std::string_view name) const {
  if (!IsPlainFileName(name)) return NotAName(path_, name);
  const std::string path = path_ + std::string(name);
  if (RemoveDirectoryW(WideText(path).c_str())) return Status::Ok();
  return FailureStatus("cannot remove the folder", path, GetLastError());
}

}  // namespace qv
