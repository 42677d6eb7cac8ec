// The file system as the program needs it, one implementation per platform
// (file_system_posix.cpp, file_system_win.cpp). Paths and names are UTF-8 on
// Windows (UTF-16 to the system) and bytes elsewhere. Hidden entries never
// show: on Windows those with the hidden or system attribute; elsewhere those
// whose name begins with "." or whose "user.DOSATTRIB" attribute carries the
// hidden or system bit.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "generator/status.h"

namespace qv {

// "\" on Windows, "/" elsewhere.
extern const char kPathSeparator;
// Characters that never stand in a plain file name: the separators, the zero
// byte and, on Windows, the drive colon.
extern const std::string_view kNonNameCharacters;

// `folder` ending in exactly one separator: repeated ones at its end become
// one, a missing one is added. A drive root such as "C:\" keeps its own.
std::string WithTrailingSeparator(std::string_view folder);

// `name` inside `folder`; `name` alone when `folder` is empty.
std::string JoinPath(std::string_view folder, std::string_view name);

// The longest file name, in bytes, that every file system the program meets
// takes: 255 bytes on the common POSIX ones, 255 UTF-16 units on Windows,
// which 255 bytes of UTF-8 never exceed.
inline constexpr std::size_t kLongestFileName = 255;

// True when `name` names a file of its own inside a folder: not empty, not
// "." or "..", no longer than kLongestFileName, no separator (on Windows no
// "\", "/" or ":"; elsewhere no "/" or "\"), no zero byte.
bool IsPlainFileName(std::string_view name);

enum class EntryKind { kFolder, kFile };

// The visible entries of `folder` of the given kind, in name order (NameLess).
// Folders are directories, files are regular files; symbolic links are
// followed and dangling ones left out. A folder that cannot be listed has no
// entries.
std::vector<std::string> ListFolder(const std::string& folder, EntryKind kind);

// True when `folder` (ending in the separator) holds a visible regular file
// named `name`.
bool VisibleFileExists(const std::string& folder, const std::string& name);

// Deletes the file at `path`; ok when it is gone afterwards.
Status RemoveFile(const std::string& path);

// A file open for reading. Opening never blocks: what is not a regular file
// (a fifo, a device, a folder) does not open.
class ReadableFile {
 public:
  static Result<std::unique_ptr<ReadableFile>> Open(const std::string& path);
  virtual ~ReadableFile() = default;
  // Reads up to `size` bytes; 0 at the end of the file or after a read
  // error, which read_status() then gives. What is appended to the file
  // after it was opened may be left unread.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
  // Ok, or why a read failed (the system's words, without the path).
  const Status& read_status() const { return read_status_; }

 protected:
  void ReadFailed(std::string reason) { read_status_ = Status::Error(std::move(reason)); }

 private:
  Status read_status_ = Status::Ok();
};

// Receives one file of a folder: its name, and the file open for reading or
// nullptr when it is listed but cannot be opened.
using FileVisitor = std::function<void(std::string name, ReadableFile* file)>;

// Hands each file that ListFolder(folder, EntryKind::kFile) gives to `visit`,
// in name order, and closes it when `visit` returns. The folder is listed
// once and each file opened once; where the system allows, a file is looked
// up in the open folder rather than by its whole path, and its attributes are
// read from the open file. A folder that cannot be listed has no files.
void VisitFiles(const std::string& folder, const FileVisitor& visit);

// A file open for writing. Files are only ever written aside and put in place
// whole (ReplacementFile, file_replacement.h), never emptied and rewritten
// where they stand.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual Status Append(std::string_view data) = 0;
  virtual Status Close() = 0;
};

}  // namespace qv
