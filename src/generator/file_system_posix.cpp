// The file system on POSIX systems. Windows attributes copied along with files
// (by Wine, for instance) live in the extended attribute "user.DOSATTRIB", so
// hidden and system files from Windows stay hidden here too.
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <string>
#include <system_error>

#include "generator/file_system.h"
#include "generator/text.h"

namespace qv {

const char kPathSeparator = '/';
// A file name holding one of these would name something outside its folder.
const std::string_view kNonNameCharacters("/\\\0", 3);

namespace {

constexpr unsigned kHiddenAttribute = 0x2;
constexpr unsigned kSystemAttribute = 0x4;

std::string ErrnoText(int error) {
  return std::generic_category().message(error);
}

std::string Failure(const char* what, const std::string& path, int error) {
  return std::string(what) + " " + path + ": " + ErrnoText(error);
}

// The attribute bits of a "user.DOSATTRIB" value written as "0x" and hex
// digits (up to a zero byte); 0 for anything else. Only the lowest digit
// matters for the hidden and system bits, so long values cannot overflow.
unsigned DosAttributeBits(std::string_view value) {
  value = value.substr(0, value.find('\0'));
  if (value.size() < 3 || value[0] != '0' || (value[1] != 'x' && value[1] != 'X')) return 0;
  const std::string_view digits = value.substr(2);
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return DigitValue(c, 16) >= 0; }))
    return 0;
  return static_cast<unsigned>(DigitValue(digits.back(), 16));
}

bool HiddenByDosAttributes(const std::string& path) {
  char value[256];
  const ssize_t size = getxattr(path.c_str(), "user.DOSATTRIB", value, sizeof(value));
  if (size <= 0) return false;  // none, unsupported, or too long to be such text
  const unsigned bits = DosAttributeBits(std::string_view(value, static_cast<std::size_t>(size)));
  return (bits & (kHiddenAttribute | kSystemAttribute)) != 0;
}

bool HiddenName(std::string_view name) {
  return !name.empty() && name.front() == '.';
}

// What `path` is after following symbolic links; nothing for a dangling link.
std::optional<EntryKind> KindByStat(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  if (S_ISDIR(info.st_mode)) return EntryKind::kFolder;
  if (S_ISREG(info.st_mode)) return EntryKind::kFile;
  return std::nullopt;
}

// The directory entry's own type saves a stat per entry; links and file
// systems that do not report types need one.
std::optional<EntryKind> KindOf(const dirent& entry, const std::string& path) {
  switch (entry.d_type) {
    case DT_DIR:
      return EntryKind::kFolder;
    case DT_REG:
      return EntryKind::kFile;
    case DT_LNK:
    case DT_UNKNOWN:
      return KindByStat(path);
    default:
      return std::nullopt;
  }
}

class DirectoryCloser {
 public:
  explicit DirectoryCloser(DIR* directory) : directory_(directory) {}
  ~DirectoryCloser() {
    if (directory_ != nullptr) closedir(directory_);
  }
  DirectoryCloser(const DirectoryCloser&) = delete;
  DirectoryCloser& operator=(const DirectoryCloser&) = delete;

 private:
  DIR* directory_;
};

class PosixReadableFile : public ReadableFile {
 public:
  explicit PosixReadableFile(int fd) : fd_(fd) {}
  ~PosixReadableFile() override { close(fd_); }

  std::size_t Read(char* buffer, std::size_t size) override {
    for (;;) {
      const ssize_t count = read(fd_, buffer, size);
      if (count < 0 && errno == EINTR) continue;
      return count > 0 ? static_cast<std::size_t>(count) : 0;
    }
  }

 private:
  int fd_;
};

// Opens without blocking and keeps the descriptor only for a regular file:
// a fifo named like a file would otherwise wait for a writer forever.
Result<int> OpenRegularFile(const std::string& path, int flags) {
  const int fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return Status::Error(Failure("cannot open", path, errno));
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return Status::Error("cannot open " + path + ": not a regular file");
  }
  return fd;
}

}  // namespace

std::vector<std::string> ListFolder(const std::string& folder, EntryKind kind) {
  std::vector<std::string> names;
  DIR* directory = opendir(folder.c_str());
  if (directory == nullptr) return names;
  DirectoryCloser closer(directory);
  const std::string prefix = WithTrailingSeparator(folder);
  while (const dirent* entry = readdir(directory)) {
    const std::string_view name = entry->d_name;
    if (HiddenName(name)) continue;  // ".", ".." and dot files
    const std::string path = prefix + std::string(name);
    if (KindOf(*entry, path) != kind || HiddenByDosAttributes(path)) continue;
    names.emplace_back(name);
  }
  std::sort(names.begin(), names.end(), NameLess);
  return names;
}

bool VisibleFileExists(const std::string& folder, const std::string& name) {
  if (!IsPlainFileName(name) || HiddenName(name)) return false;
  const std::string path = JoinPath(folder, name);
  return KindByStat(path) == EntryKind::kFile && !HiddenByDosAttributes(path);
}

Status RemoveFile(const std::string& path) {
  if (unlink(path.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR) return Status::Ok();
  return Status::Error(Failure("cannot delete", path, errno));
}

Result<std::unique_ptr<ReadableFile>> ReadableFile::Open(const std::string& path) {
  const Result<int> fd = OpenRegularFile(path, O_RDONLY);
  if (!fd.ok()) return fd.status();
  return std::unique_ptr<ReadableFile>(std::make_unique<PosixReadableFile>(*fd));
}

}  // namespace qv
