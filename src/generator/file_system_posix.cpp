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
#include "generator/file_system_posix.h"
#include "generator/system_failure.h"
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

// The failure with its kind, `error` read once.
Status FailureStatus(const char* what, const std::string& path, int error) {
  return Status::SystemError(Failure(what, path, error), SystemFailureOf(error));
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

constexpr const char* kDosAttributeName = "user.DOSATTRIB";
// Room for any such value worth reading; a longer one is no such text.
constexpr std::size_t kDosAttributeRoom = 256;

// True when the "user.DOSATTRIB" value read into `value` (`size` bytes, or a
// negative size when there is none) carries the hidden or system bit.
bool HidingValue(const char* value, ssize_t size) {
  if (size <= 0) return false;  // none, unsupported, or too long to be such text
  const unsigned bits = DosAttributeBits(std::string_view(value, static_cast<std::size_t>(size)));
  return (bits & (kHiddenAttribute | kSystemAttribute)) != 0;
}

bool HiddenByDosAttributes(const std::string& path) {
  char value[kDosAttributeRoom];
  return HidingValue(value, getxattr(path.c_str(), kDosAttributeName, value, sizeof(value)));
}

bool HiddenName(std::string_view name) {
  return !name.empty() && name.front() == '.';
}

std::optional<EntryKind> KindByMode(mode_t mode) {
  if (S_ISDIR(mode)) return EntryKind::kFolder;
  if (S_ISREG(mode)) return EntryKind::kFile;
  return std::nullopt;
}

// What `path` is after following symbolic links; nothing for a dangling link.
std::optional<EntryKind> KindByStat(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return std::nullopt;
  return KindByMode(info.st_mode);
}

// A folder open for listing; its entries are looked up in it, not by path.
class FolderListing {
 public:
  explicit FolderListing(const std::string& path) : directory_(opendir(path.c_str())) {}
  ~FolderListing() {
    if (directory_ != nullptr) closedir(directory_);
  }
  FolderListing(const FolderListing&) = delete;
  FolderListing& operator=(const FolderListing&) = delete;

  bool is_open() const { return directory_ != nullptr; }
  int fd() const { return dirfd(directory_); }

  // The next entry other than ".", ".." and dot files; nullptr at the end.
  const dirent* NextVisibleName() {
    while (const dirent* entry = readdir(directory_)) {
      if (!HiddenName(entry->d_name)) return entry;
    }
    return nullptr;
  }

  // What `entry` is after following symbolic links; nothing for a dangling
  // link. The entry's own type saves a stat; links and file systems that do
  // not report types need one.
  std::optional<EntryKind> KindOf(const dirent& entry) const {
    switch (entry.d_type) {
      case DT_DIR:
        return EntryKind::kFolder;
      case DT_REG:
        return EntryKind::kFile;
      case DT_LNK:
      case DT_UNKNOWN: {
        struct stat info;
        if (fstatat(fd(), entry.d_name, &info, 0) != 0) return std::nullopt;
        return KindByMode(info.st_mode);
      }
      default:
        return std::nullopt;
    }
  }

 private:
  DIR* directory_;
};

class PosixReadableFile : public ReadableFile {
 public:
  // `size` is the size the file had when it was opened, 0 when unknown (files
  // of the kernel's own file systems show 0). Once that much has been read
  // the file is at its end, which saves the read that would only find so.
  explicit PosixReadableFile(int fd, off_t size = 0)
      : fd_(fd), left_(size > 0 ? static_cast<std::size_t>(size) : kUnknownSize) {}
  ~PosixReadableFile() override { close(fd_); }
  PosixReadableFile(const PosixReadableFile&) = delete;
  PosixReadableFile& operator=(const PosixReadableFile&) = delete;

  std::size_t Read(char* buffer, std::size_t size) override {
    if (left_ == 0) return 0;
    for (;;) {
      const ssize_t count = read(fd_, buffer, std::min(size, left_));
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) ReadFailed(ErrnoText(errno));
      if (count <= 0) return 0;
      if (left_ != kUnknownSize) left_ -= static_cast<std::size_t>(count);
      return static_cast<std::size_t>(count);
    }
  }

 private:
  static constexpr std::size_t kUnknownSize = static_cast<std::size_t>(-1);

  int fd_;
  std::size_t left_;  // bytes up to the size at opening, or kUnknownSize
};

// Opens without blocking and keeps the descriptor only for a regular file:
// a fifo named like a file would otherwise wait for a writer forever.
Result<int> OpenRegularFile(const std::string& path, int flags) {
  const int fd = open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0666);
  if (fd < 0) return FailureStatus("cannot open", path, errno);
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    return Status::Error("cannot open " + path + ": not a regular file");
  }
  return fd;
}

}  // namespace

bool OpenFileHidden(int fd) {
  char value[kDosAttributeRoom];
  return HidingValue(value, fgetxattr(fd, kDosAttributeName, value, sizeof(value)));
}

std::unique_ptr<ReadableFile> ReadableFileOf(int fd, off_t size) {
  return std::make_unique<PosixReadableFile>(fd, size);
}

int OpenRegularFileAt(int folder_fd, const char* name, off_t* size) {
  const int fd = openat(folder_fd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    close(fd);
    errno = EINVAL;
    return -1;
  }
  *size = info.st_size;
  return fd;
}

std::vector<std::string> ListFolder(const std::string& folder, EntryKind kind) {
  std::vector<std::string> names;
  FolderListing listing(folder);
  if (!listing.is_open()) return names;
  const std::string prefix = WithTrailingSeparator(folder);
  while (const dirent* entry = listing.NextVisibleName()) {
    if (listing.KindOf(*entry) != kind || HiddenByDosAttributes(prefix + entry->d_name)) continue;
    names.emplace_back(entry->d_name);
  }
  std::sort(names.begin(), names.end(), NameLess);
  return names;
}

void VisitFiles(const std::string& folder, const FileVisitor& visit) {
  FolderListing listing(folder);
  if (!listing.is_open()) return;
  std::vector<std::string> names;
  while (const dirent* entry = listing.NextVisibleName()) {
    if (listing.KindOf(*entry) == EntryKind::kFile) names.emplace_back(entry->d_name);
  }
  std::sort(names.begin(), names.end(), NameLess);
  const std::string prefix = WithTrailingSeparator(folder);
  for (std::string& name : names) {
    // Opening never blocks and never makes a terminal the program's own; a
    // fifo or device put in the file's place since the listing is refused
    // once open, before anything is read.
    const int fd = openat(listing.fd(), name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
      // Listed but not readable: a file all the same, unless its attributes hide it.
      if (!HiddenByDosAttributes(prefix + name)) visit(std::move(name), nullptr);
      continue;
    }
    struct stat info;
    const bool regular = fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    PosixReadableFile file(fd, regular ? info.st_size : 0);
    if (regular && !OpenFileHidden(fd)) visit(std::move(name), &file);
  }
}

bool VisibleFileExists(const std::string& folder, const std::string& name) {
  if (!IsPlainFileName(name) || HiddenName(name)) return false;
  const std::string path = JoinPath(folder, name);
  return KindByStat(path) == EntryKind::kFile && !HiddenByDosAttributes(path);
}

Status RemoveFile(const std::string& path) {
  if (unlink(path.c_str()) == 0 || errno == ENOENT || errno == ENOTDIR) return Status::Ok();
  return FailureStatus("cannot delete", path, errno);
}

Result<std::unique_ptr<ReadableFile>> ReadableFile::Open(const std::string& path) {
  const Result<int> fd = OpenRegularFile(path, O_RDONLY);
  if (!fd.ok()) return fd.status();
  return std::unique_ptr<ReadableFile>(std::make_unique<PosixReadableFile>(*fd));
}

}  // namespace qv
