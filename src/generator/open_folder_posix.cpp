// Open folders on POSIX systems: a descriptor of the folder, and every entry
// reached relative to it with the *at calls, O_NOFOLLOW where an entry is
// opened, so that neither a rename of the folder nor a link put in an
// entry's place sends a change anywhere else.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <string>
#include <system_error>

#include "generator/file_system_posix.h"
#include "generator/open_folder.h"
#include "generator/system_failure.h"

namespace qv {
namespace {

std::string Failure(const char* what, const std::string& path, int error) {
  return std::string(what) + " " + path + ": " + std::generic_category().message(error);
}

// The failure with its kind, `error` read once.
Status FailureStatus(const char* what, const std::string& path, int error) {
  return Status::SystemError(Failure(what, path, error), SystemFailureOf(error));
}

FolderEntry::Type TypeOfMode(mode_t mode) {
  if (S_ISDIR(mode)) return FolderEntry::Type::kFolder;
  if (S_ISREG(mode)) return FolderEntry::Type::kFile;
  if (S_ISLNK(mode)) return FolderEntry::Type::kLink;
  return FolderEntry::Type::kOther;
}

FolderEntry::Type TypeOf(int folder_fd, const dirent& entry) {
  switch (entry.d_type) {
    case DT_DIR:
      return FolderEntry::Type::kFolder;
    case DT_REG:
      return FolderEntry::Type::kFile;
    case DT_LNK:
      return FolderEntry::Type::kLink;
    case DT_UNKNOWN: {
      struct stat info;
      if (fstatat(folder_fd, entry.d_name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return FolderEntry::Type::kOther;
      }
      return TypeOfMode(info.st_mode);
    }
    default:
      return FolderEntry::Type::kOther;
  }
}

// A name that is no plain file name ("a/b", "..") would lead the *at calls
// out of the folder.
Status NotAName(const std::string& folder, std::string_view name) {
  return Status::Error("cannot use the name \"" + std::string(name) + "\" in " + folder);
}

}  // namespace

Result<OpenFolder> OpenFolder::Open(const std::string& path) {
  const std::string folder = WithTrailingSeparator(path);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return FailureStatus("cannot open the folder", folder, errno);
  return OpenFolder(std::make_shared<const Handle>(fd), folder);
}

Result<OpenFolder> OpenFolder::OpenSubfolder(std::string_view name) const {
  if (!IsPlainFileName(name)) return NotAName(path_, name);
  const std::string sub(name);
  const int fd = openat(handle_->fd, sub.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    // ELOOP: a link; ENOTDIR: a file. Neither is a folder of this one's.
    const int error = errno == ELOOP ? ENOTDIR : errno;
    return FailureStatus("cannot open the folder", path_ + sub, error);
  }
  return OpenFolder(std::make_shared<const Handle>(fd), path_ + sub + kPathSeparator);
}

Result<std::vector<FolderEntry>> OpenFolder::Entries() const {
  // A listing of its own: a stream on the folder's own descriptor would
  // share its position with every other listing of this folder.
  const int fd = openat(handle_->fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* listing = fd < 0 ? nullptr : fdopendir(fd);
  if (listing == nullptr) {
    const int error = errno;
    if (fd >= 0) close(fd);
    return FailureStatus("cannot read the folder", path_, error);
  }
  std::vector<FolderEntry> entries;
  errno = 0;
  while (const dirent* entry = readdir(listing)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") entries.push_back({entry->d_name, TypeOf(fd, *entry)});
    errno = 0;
  }
  const int error = errno;
  closedir(listing);
  if (error != 0) return FailureStatus("cannot read the folder", path_, error);
  return entries;
}

bool OpenFolder::IsHidden(std::string_view name) const {
  if (name.empty() || name.front() == '.') return true;
  if (!IsPlainFileName(name)) return false;
  // Only folders and files are opened for their attributes: opening a device
  // may do something of its own.
  const std::string entry(name);
  struct stat info;
  if (fstatat(handle_->fd, entry.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 ||
      !(S_ISDIR(info.st_mode) || S_ISREG(info.st_mode))) {
    return false;
  }
  const int fd =
      openat(handle_->fd, entry.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool hidden = OpenFileHidden(fd);
  close(fd);
  return hidden;
}

Result<std::unique_ptr<ReadableFile>> OpenFolder::OpenFile(std::string_view name) const {
  if (!IsPlainFileName(name)) return NotAName(path_, name);
  off_t size = 0;
  const std::string file(name);
  const int fd = OpenRegularFileAt(handle_->fd, file.c_str(), &size);
  if (fd < 0) {
    const int error = errno;
    if (error == EINVAL || error == ELOOP) {
      return Status::Error("cannot open " + path_ + file + ": not a regular file");
    }
    return FailureStatus("cannot open", path_ + file, error);
  }
  return ReadableFileOf(fd, size);
}

Status OpenFolder::MakeSubfolder(std::string_view name) const {
  if (!IsPlainFileName(name)) return NotAName(path_, name);
  const std::string sub(name);
  if (mkdirat(handle_->fd, sub.c_str(), 0777) == 0) return Status::Ok();
  return FailureStatus("cannot create the folder", path_ + sub, errno);
}

Status OpenFolder::RemoveFile(std::string_view name) const {
  if (!IsPlainFileName(name)) return NotAName(path_, name);
  const std::string file(name);
  if (unlinkat(handle_->fd, file.c_str(), 0) == 0 || errno == ENOENT) return Status::Ok();
  return FailureStatus("cannot delete", path_ + file, errno);
}

Status OpenFolder::RemoveEmptySubfolder(std::string_view name) const {
  if (!IsPlainFileName(name)) return NotAName(path_, name);
  const std::string sub(name);
  if (unlinkat(handle_->fd, sub.c_str(), AT_REMOVEDIR) == 0) return Status::Ok();
  return FailureStatus("cannot remove the folder", path_ + sub, errno);
}

}  // namespace qv
