// Replacement files on POSIX systems: created with O_EXCL and O_NOFOLLOW,
// flushed with fsync, put in place with rename, which replaces a link itself
// and never writes through it.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <system_error>

#include "generator/file_replacement.h"

namespace qv {
namespace {

std::string Failure(const char* what, const std::string& path, int error) {
  return std::string(what) + " " + path + ": " + std::generic_category().message(error);
}

// Makes a rename in `folder` durable; a folder that cannot be synced changes
// nothing about the result.
void SyncFolder(const std::string& folder) {
  const int fd = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

class PosixReplacementFile : public ReplacementFile {
 public:
  PosixReplacementFile(int fd, std::string folder, std::string temporary_path, std::string target)
      : ReplacementFile(std::move(temporary_path)),
        fd_(fd),
        folder_(std::move(folder)),
        target_(std::move(target)) {}

  ~PosixReplacementFile() override {
    if (fd_ >= 0) close(fd_);
    if (!placed_) unlink(temporary_path().c_str());
  }

  Status Append(std::string_view data) override {
    if (fd_ < 0) return Status::Error(Failure("cannot write", target_, EBADF));
    while (!data.empty()) {
      const ssize_t written = write(fd_, data.data(), data.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        return Status::Error(Failure("cannot write", target_, written < 0 ? errno : EIO));
      }
      data.remove_prefix(static_cast<std::size_t>(written));
    }
    return Status::Ok();
  }

  Status Close() override {
    if (fd_ < 0) return Status::Ok();
    const int result = close(fd_);
    fd_ = -1;
    return result == 0 ? Status::Ok() : Status::Error(Failure("cannot write", target_, errno));
  }

  Status PutInPlace(const std::string& final_path, Flush flush) override {
    // A link at the final name is no file of ours to take the mode from. The
    // mode goes through the open file while there is one; a file closed
    // early (in a batch) was made by us with O_EXCL and O_NOFOLLOW.
    struct stat old_file;
    if (lstat(final_path.c_str(), &old_file) == 0 && S_ISREG(old_file.st_mode)) {
      const mode_t mode = old_file.st_mode & 07777;
      const int changed = fd_ >= 0 ? fchmod(fd_, mode) : chmod(temporary_path().c_str(), mode);
      if (changed != 0) return Status::Error(Failure("cannot write", target_, errno));
    }
    if (flush == Flush::kEach && fd_ >= 0 && fsync(fd_) != 0) {
      return Status::Error(Failure("cannot write", target_, errno));
    }
    if (Status closed = Close(); !closed.ok()) return closed;
    if (rename(temporary_path().c_str(), final_path.c_str()) != 0) {
      return Status::Error(Failure("cannot replace", final_path, errno));
    }
    placed_ = true;
    if (flush == Flush::kEach) SyncFolder(folder_);
    return Status::Ok();
  }

 private:
  int fd_;
  std::string folder_;
  std::string target_;
  bool placed_ = false;
};

}  // namespace

Result<std::unique_ptr<ReplacementFile>> ReplacementFile::Create(const std::string& folder,
                                                                 std::string_view prefix,
                                                                 std::string target) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string path = folder + TemporaryFileName(prefix);
    // Mode 0666 lets the umask decide the permissions of a new file.
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd >= 0) {
      return std::unique_ptr<ReplacementFile>(
          std::make_unique<PosixReplacementFile>(fd, folder, std::move(path), std::move(target)));
    }
    if (errno != EEXIST) break;
  }
  return Status::Error(Failure("cannot write", target, errno));
}

void FlushAllFiles() {
  sync();
}

void RemoveLeftoverFiles(const std::string& folder, std::string_view prefix) {
  DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) return;
  while (const dirent* entry = readdir(directory)) {
    if (!IsTemporaryFileName(entry->d_name, prefix)) continue;
    const std::string path = folder + entry->d_name;
    struct stat info;
    if (lstat(path.c_str(), &info) == 0 && (S_ISREG(info.st_mode) || S_ISLNK(info.st_mode))) {
      unlink(path.c_str());
    }
  }
  closedir(directory);
}

}  // namespace qv
