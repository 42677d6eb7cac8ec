// The folder lock on POSIX systems: flock on a descriptor of the folder
// itself, so no lock file is ever made. The descriptor closes on exec and at
// exit, which releases the lock.
#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <thread>

#include "generator/folder_lock.h"

namespace qv {
namespace {

// How often a waiting run asks again.
constexpr std::chrono::milliseconds kPollInterval{20};

class PosixFolderLock : public FolderLock {
 public:
  explicit PosixFolderLock(int fd) : fd_(fd) {}
  ~PosixFolderLock() override {
    if (fd_ >= 0) close(fd_);  // releases the flock
  }
  bool held() const override { return fd_ >= 0; }

 private:
  int fd_;
};

}  // namespace

Result<std::unique_ptr<FolderLock>> FolderLock::Acquire(const std::string& folder,
                                                        std::chrono::milliseconds wait) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::unique_ptr<FolderLock>(std::make_unique<PosixFolderLock>(-1));
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    if (flock(fd, LOCK_EX | LOCK_NB) == 0) {
      return std::unique_ptr<FolderLock>(std::make_unique<PosixFolderLock>(fd));
    }
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {  // no locks on this file system
      close(fd);
      return std::unique_ptr<FolderLock>(std::make_unique<PosixFolderLock>(-1));
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      close(fd);
      return Status::Error(LockWaitFailure(folder, wait));
    }
    std::this_thread::sleep_for(kPollInterval);
  }
}

}  // namespace qv
