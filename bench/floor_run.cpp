#include "floor_run.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace qv::bench {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

long long ReadWholeFile(const std::string& path, FileChecks checks, char* buffer) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  long long total = 0;
  ssize_t got = 0;
  if (checks == FileChecks::kAsARun) {
    struct stat info;
    char attributes[256];
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) got = -1;
    fgetxattr(fd, "user.DOSATTRIB", attributes, sizeof attributes);
    while (got >= 0 && total < info.st_size && (got = read(fd, buffer, kBlockSize)) > 0) {
      total += got;
    }
  } else {
    while ((got = read(fd, buffer, kBlockSize)) > 0) total += got;
  }
  close(fd);
  return got < 0 ? -1 : total;
}

// Reads every file of `folder` once; -1 when the folder or a file cannot be.
long long ReadFolder(const std::string& folder, FileChecks checks, char* buffer) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return 0;  // a file beside the categories
  long long total = 0;
  while (const dirent* entry = readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    const long long got = ReadWholeFile(folder + "/" + entry->d_name, checks, buffer);
    if (got < 0) {
      total = -1;
      break;
    }
    total += got;
  }
  closedir(dir);
  return total;
}

bool WriteAll(int fd, std::size_t size, const std::string& block) {
  for (std::size_t left = size; left > 0;) {
    const std::size_t chunk = std::min(left, block.size());
    if (write(fd, block.data(), chunk) != static_cast<ssize_t>(chunk)) return false;
    left -= chunk;
  }
  return true;
}

bool SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool synced = fsync(fd) == 0;
  return close(fd) == 0 && synced;
}

}  // namespace

long long ReadEveryShortcut(const std::string& root, FileChecks checks) {
  static char buffer[kBlockSize];
  DIR* top = opendir(root.c_str());
  if (top == nullptr) return -1;
  long long total = 0;
  while (const dirent* entry = readdir(top)) {
    if (entry->d_name[0] == '.') continue;
    const long long got = ReadFolder(root + "/" + entry->d_name, checks, buffer);
    if (got < 0) {
      total = -1;
      break;
    }
    total += got;
  }
  closedir(top);
  return total;
}

bool WritePageOfSize(const std::string& path, std::size_t size) {
  // Table-row text with line ends, so the block looks like a page.
  static const std::string block = [] {
    const std::string row = "<td width=\"31%\" bgcolor=\"#FFCC99\">link</td>\r\n";
    std::string text;
    while (text.size() + row.size() <= kBlockSize) text += row;
    text.resize(kBlockSize, ' ');
    return text;
  }();
  const std::string aside = path + ".tmp";
  const int fd = open(aside.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, size, block) && fsync(fd) == 0;
  if (close(fd) != 0 || !written) return false;
  return std::rename(aside.c_str(), path.c_str()) == 0 && SyncFolderOf(path);
}

}  // namespace qv::bench
