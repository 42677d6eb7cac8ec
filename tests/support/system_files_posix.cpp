#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "support/system_files.h"

namespace qv::testing {

std::string WithoutPosixFiles() {
  return {};
}

bool MakeFifo(const std::string& path) {
  return mkfifo(path.c_str(), 0644) == 0;
}

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  return symlink(target.c_str(), link.c_str()) == 0;
}

bool SetExtendedAttribute(const std::string& path, const char* name, std::string_view value) {
  return setxattr(path.c_str(), name, value.data(), value.size(), 0) == 0;
}

unsigned FileMode(const std::string& path) {
  struct stat info = {};
  return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

bool SetFileMode(const std::string& path, unsigned mode) {
  return chmod(path.c_str(), mode) == 0;
}

unsigned SetCreationMask(unsigned mask) {
  return umask(mask);
}

std::string MakeFileThatFailsWhileRead(const std::string& path) {
  const char* const failing = "/proc/self/mem";
  if (access(failing, F_OK) != 0) return "no file here that fails while read";
  if (symlink(failing, path.c_str()) != 0) return "no symbolic links here";
  return {};
}

unsigned AnsiCodePage() {
  return 0;
}

bool MarkHiddenOrSystem(const std::string& path, bool hidden, bool system) {
  char value[8];
  std::snprintf(value, sizeof value, "0x%x", (hidden ? 0x2 : 0) | (system ? 0x4 : 0));
  return SetExtendedAttribute(path, "user.DOSATTRIB", value);
}

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
  signal(SIGXFSZ, SIG_IGN);
  rlimit limit = {};
  getrlimit(RLIMIT_FSIZE, &limit);
  saved_ = limit.rlim_cur;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit = {};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = saved_;
  setrlimit(RLIMIT_FSIZE, &limit);
}

namespace {

void SetVariable(const std::string& name, const std::optional<std::string>& value) {
  if (value) {
    setenv(name.c_str(), value->c_str(), 1);
  } else {
    unsetenv(name.c_str());
  }
}

}  // namespace

ScopedVariable::ScopedVariable(std::string name, const std::optional<std::string>& value)
    : name_(std::move(name)) {
  if (const char* old = getenv(name_.c_str())) saved_ = old;
  SetVariable(name_, value);
}

ScopedVariable::~ScopedVariable() {
  SetVariable(name_, saved_);
}

TemporaryFolderOverride::TemporaryFolderOverride(const std::string& folder) {
  variables_.emplace_back("TMPDIR", folder);
}

}  // namespace qv::testing
