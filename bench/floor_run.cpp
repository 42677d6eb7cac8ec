#include "floor_run.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>

namespace qv::bench {
namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

long long ReadWholeFile(const std::string& path, char* buffer) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  long long total = 0;
  ssize_t got;
  while ((got = read(fd, buffer, kBlockSize)) > 0) total += got;
  close(fd);
  return got < 0 ? -1 : total;
}

}  // namespace

long long ReadEveryShortcut(const std::string& root) {
  static char buffer[kBlockSize];
  std::error_code error;
  long long total = 0;
  for (const auto& folder : std::filesystem::directory_iterator(root, error)) {
    if (!folder.is_directory(error)) continue;
    for (const auto& file : std::filesystem::directory_iterator(folder.path(), error)) {
      const long long got = ReadWholeFile(file.path().string(), buffer);
      if (got < 0) return -1;
      total += got;
    }
  }
  return error ? -1 : total;
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
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  bool ok = true;
  for (std::size_t left = size; left > 0 && ok;) {
    const std::size_t chunk = std::min(left, block.size());
    ok = write(fd, block.data(), chunk) == static_cast<ssize_t>(chunk);
    left -= chunk;
  }
  return close(fd) == 0 && ok;
}

}  // namespace qv::bench
