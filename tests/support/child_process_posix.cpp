#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/child_process.h"

namespace qv::testing {
namespace {

class PosixChildProcess : public ChildProcess {
 public:
  explicit PosixChildProcess(pid_t pid) : pid_(pid) {}
  ~PosixChildProcess() override {
    if (status_ == kRunning) {
      Kill();
      Wait();
    }
  }

  void Kill() override {
    if (status_ == kRunning) kill(pid_, SIGKILL);
  }

  int Wait() override {
    if (status_ != kRunning) return status_;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0) {
      if (errno != EINTR) return status_ = -1000;
    }
    status_ = WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
    return status_;
  }

 private:
  static constexpr int kRunning = 1000;
  pid_t pid_;
  int status_ = kRunning;
};

void SetLimit(int resource, std::uint64_t bytes) {
  if (bytes == 0) return;
  const rlimit limit = {static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
  setrlimit(resource, &limit);
}

}  // namespace

bool ChildProcess::Supported() {
  return true;
}

Result<std::unique_ptr<ChildProcess>> ChildProcess::Start(const std::string& program,
                                                          const std::string& error_path,
                                                          const ChildLimits& limits) {
  const pid_t pid = fork();
  if (pid < 0) return Status::Error("cannot start " + program);
  if (pid == 0) {
    // Only async-signal-safe calls from here on.
    const int null = open("/dev/null", O_WRONLY);
    const int error = open(error_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (null >= 0) dup2(null, STDOUT_FILENO);
    if (error >= 0) dup2(error, STDERR_FILENO);
    // The program decides itself what the file size signal does.
    signal(SIGXFSZ, SIG_DFL);
    SetLimit(RLIMIT_FSIZE, limits.file_size);
    SetLimit(RLIMIT_AS, limits.address_space);
    execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  return std::unique_ptr<ChildProcess>(std::make_unique<PosixChildProcess>(pid));
}

bool MakeSparseFile(const std::string& path, std::string_view head, std::uint64_t size) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  const bool made = write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
                    ftruncate(fd, static_cast<off_t>(size)) == 0;
  return close(fd) == 0 && made;
}

bool MakeFifo(const std::string& path) {
  return mkfifo(path.c_str(), 0644) == 0;
}

}  // namespace qv::testing
