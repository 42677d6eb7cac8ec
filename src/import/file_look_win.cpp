#include "generator/windows_api.h"

#include "generator/windows_text.h"
#include "import/file_look.h"

namespace qv::import {
namespace {

std::uint64_t Join(DWORD high, DWORD low) {
  return (std::uint64_t{high} << 32) | low;
}

}  // namespace

// Opened for no access at all, which no browser's sharing refuses and which
// leaves the file's times as they are.
FileLook LookAtFile(const std::string& path) {
  const HANDLE file =
      CreateFileW(WideText(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  BY_HANDLE_FILE_INFORMATION information{};
  const bool read = GetFileInformationByHandle(file, &information) != 0;
  const bool disk_file = GetFileType(file) == FILE_TYPE_DISK;
  CloseHandle(file);
  if (!read) return {};
  FileLook look;
  const bool folder = (information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  look.kind = disk_file && !folder ? FileLook::Kind::kFile : FileLook::Kind::kOther;
  look.size = Join(information.nFileSizeHigh, information.nFileSizeLow);
  look.volume = information.dwVolumeSerialNumber;
  look.identity = Join(information.nFileIndexHigh, information.nFileIndexLow);
  look.written = static_cast<std::int64_t>(
      Join(information.ftLastWriteTime.dwHighDateTime, information.ftLastWriteTime.dwLowDateTime));
  return look;
}

}  // namespace qv::import
