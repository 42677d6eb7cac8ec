#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <thread>

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

  void Kill() override { Signal(SIGKILL); }

  void Signal(int number) override {
    if (status_ == kRunning) kill(pid_, number);
  }

  int Wait() override {
    if (status_ != kRunning) return status_;
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0) {
      if (errno != EINTR) return status_ = -1000;
    }
    return status_ = StatusOf(status);
  }

  std::optional<int> WaitFor(std::chrono::milliseconds patience) override {
    const auto give_up = std::chrono::steady_clock::now() + patience;
    while (status_ == kRunning) {
      int status = 0;
      const pid_t ended = waitpid(pid_, &status, WNOHANG);
      if (ended < 0 && errno != EINTR) status_ = -1000;
      if (ended == pid_) status_ = StatusOf(status);
      if (status_ != kRunning) break;
      if (std::chrono::steady_clock::now() > give_up) return std::nullopt;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_;
  }

 private:
  static constexpr int kRunning = 1000;
  static int StatusOf(int status) {
    return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
  }
  pid_t pid_;
  int status_ = kRunning;
};

void SetLimit(int resource, std::uint64_t most) {
  if (most == 0) return;
  const rlimit limit = {static_cast<rlim_t>(most), static_cast<rlim_t>(most)};
  setrlimit(resource, &limit);
}

// This process's environment as "name=value" entries, with `changes` made.
std::vector<std::string> EnvironmentWith(
    const std::vector<std::pair<std::string, std::optional<std::string>>>& changes) {
  std::vector<std::string> variables;
  for (char** entry = environ; *entry != nullptr; ++entry) {
    const std::string_view variable = *entry;
    const bool changed = std::any_of(changes.begin(), changes.end(), [&](const auto& change) {
      return variable.starts_with(change.first + "=");
    });
    if (!changed) variables.emplace_back(variable);
  }
  for (const auto& [name, value] : changes) {
    if (value) variables.push_back(name + "=" + *value);
  }
  return variables;
}

}  // namespace

bool ChildProcess::Supported() {
  return true;
}

Result<std::unique_ptr<ChildProcess>> ChildProcess::Start(const std::string& program,
                                                          const std::string& error_path,
                                                          const ChildOptions& options) {
  // Made before the fork: the child may not allocate.
  std::vector<char*> argv = {const_cast<char*>(program.c_str())};
  for (const std::string& argument : options.arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  const std::vector<std::string> variables = EnvironmentWith(options.environment);
  std::vector<char*> environment;
  for (const std::string& variable : variables) {
    environment.push_back(const_cast<char*>(variable.c_str()));
  }
  environment.push_back(nullptr);
  const std::string output_path = options.output_path.empty() ? "/dev/null" : options.output_path;
  const pid_t pid = fork();
  if (pid < 0) return Status::Error("cannot start " + program);
  if (pid == 0) {
    // Only async-signal-safe calls from here on.
    const int output = open(output_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int error = open(error_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (output >= 0) dup2(output, STDOUT_FILENO);
    if (error >= 0) dup2(error, STDERR_FILENO);
    // The program starts with the three standard descriptors alone.
    close_range(3, ~0U, 0);
    if (options.unprivileged && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
      _exit(126);
    }
    // The program decides itself what the file size signal does.
    signal(SIGXFSZ, SIG_DFL);
    SetLimit(RLIMIT_FSIZE, options.file_size);
    SetLimit(RLIMIT_AS, options.address_space);
    SetLimit(RLIMIT_NOFILE, options.open_files == 0 ? 0 : 3 + options.open_files);
    execve(program.c_str(), argv.data(), environment.data());
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

}  // namespace qv::testing
