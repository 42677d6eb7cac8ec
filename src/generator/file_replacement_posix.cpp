// Replacement files on POSIX systems, inside a folder held open: created with
// openat, O_EXCL and O_NOFOLLOW, flushed with fsync, put in place with
// renameat, which replaces a link itself and never writes through it. A
// rename that must not replace anything uses renameat2's RENAME_NOREPLACE
// where the system has it.
#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <system_error>

#include "generator/file_replacement.h"
#include "generator/file_system_posix.h"
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

// Renames `from` to `to` in the folder `folder_fd` unless `to` exists. File
// systems without RENAME_NOREPLACE get a look first, which leaves only a
// moment for a file to appear.
int RenameUnlessTaken(int folder_fd, const char* from, const char* to) {
  if (renameat2(folder_fd, from, folder_fd, to, RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  struct stat info;
  if (fstatat(folder_fd, to, &info, AT_SYMLINK_NOFOLLOW) == 0) {
    errno = EEXIST;
    return -1;
  }
  return renameat(folder_fd, from, folder_fd, to);
}

class PosixReplacementFile : public ReplacementFile {
 public:
  PosixReplacementFile(int fd, std::shared_ptr<const OpenFolder::Handle> folder,
                       std::string temporary_name, std::string temporary_path, std::string target)
      : ReplacementFile(std::move(temporary_path)),
        fd_(fd),
        folder_(std::move(folder)),
        temporary_name_(std::move(temporary_name)),
        target_(std::move(target)) {}

  ~PosixReplacementFile() override {
    if (fd_ >= 0) close(fd_);
    if (!placed_) unlinkat(folder_->fd, temporary_name_.c_str(), 0);
  }

  Status Append(std::string_view data) override {
    if (fd_ < 0) return FailureStatus("cannot write", target_, EBADF);
    while (!data.empty()) {
      const ssize_t written = write(fd_, data.data(), data.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        return FailureStatus("cannot write", target_, written < 0 ? errno : EIO);
      }
      data.remove_prefix(static_cast<std::size_t>(written));
    }
    return Status::Ok();
  }

  Status Close() override {
    if (fd_ < 0) return Status::Ok();
    const int result = close(fd_);
    fd_ = -1;
    return result == 0 ? Status::Ok() : FailureStatus("cannot write", target_, errno);
  }

  Status PutInPlace(std::string_view final_name, Flush flush, Existing existing) override {
    const std::string name(final_name);
    if (Status mode = TakeModeOf(name); !mode.ok()) return mode;
    if (flush == Flush::kEach && fd_ >= 0 && fsync(fd_) != 0) {
      return FailureStatus("cannot write", target_, errno);
    }
    if (Status closed = Close(); !closed.ok()) return closed;
    const char* from = temporary_name_.c_str();
    const int renamed = existing == Existing::kKeep
                            ? RenameUnlessTaken(folder_->fd, from, name.c_str())
                            : renameat(folder_->fd, from, folder_->fd, name.c_str());
    if (renamed != 0) return FailureStatus("cannot replace", target_, errno);
    placed_ = true;
    if (flush == Flush::kEach)
      fsync(folder_->fd);  // a folder that cannot be synced changes nothing
    return Status::Ok();
  }

 private:
  // Gives the new file the permission bits of the regular file it replaces.
  // A link at the final name is no file of ours to take the mode from. The
  // mode goes through the open file while there is one; a file closed early
  // (in a batch) was made by us with O_EXCL and O_NOFOLLOW.
  Status TakeModeOf(const std::string& name) {
    struct stat old_file;
    if (fstatat(folder_->fd, name.c_str(), &old_file, AT_SYMLINK_NOFOLLOW) != 0 ||
        !S_ISREG(old_file.st_mode)) {
      return Status::Ok();
    }
    const mode_t mode = old_file.st_mode & 07777;
    const int changed =
        fd_ >= 0 ? fchmod(fd_, mode) : fchmodat(folder_->fd, temporary_name_.c_str(), mode, 0);
    if (changed != 0) return FailureStatus("cannot write", target_, errno);
    return Status::Ok();
  }

  int fd_;
  std::shared_ptr<const OpenFolder::Handle> folder_;
  std::string temporary_name_;
  std::string target_;
  bool placed_ = false;
};

}  // namespace

Result<std::unique_ptr<ReplacementFile>> ReplacementFile::Create(const OpenFolder& folder,
                                                                 std::string_view prefix,
                                                                 std::string target) {
  const int folder_fd = folder.handle()->fd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = TemporaryFileName(prefix);
    // Mode 0666 lets the umask decide the permissions of a new file.
    const int fd =
        openat(folder_fd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      std::string path = folder.path() + name;
      return std::unique_ptr<ReplacementFile>(std::make_unique<PosixReplacementFile>(
          fd, folder.handle(), std::move(name), std::move(path), std::move(target)));
    }
    if (errno != EEXIST) break;
  }
  return FailureStatus("cannot write", target, errno);
}

void FlushAllFiles() {
  sync();
}

}  // namespace qv
