// The file system as the program needs it, one implementation per platform
// (file_system_posix.cpp, file_system_win.cpp). Paths are texts in the system
// code page. Hidden entries never show: on Windows those with the hidden or
// system attribute; elsewhere those whose name begins with "." or whose
// "user.DOSATTRIB" attribute carries the hidden or system bit.
#pragma once

#include <cstddef>
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

// True when `name` names a file of its own inside a folder: not empty, not
// "." or "..", no separator (on Windows no "\", "/" or ":"; elsewhere no
// "/" or "\"), no zero byte.
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

// Replaces the file at `path` with `contents` as one step: the contents go to
// a new file in the same folder, which is then renamed over the old one. On
// failure the old file stays whole.
Status ReplaceFileAtomically(const std::string& path, std::string_view contents);

// Many files replaced as ReplaceFileAtomically replaces one, at the cost of
// one flush to disk for all of them rather than one each: every file is
// written to a hidden temporary beside its place first, and Commit makes them
// all durable at once, then renames each into place. So no file is ever seen
// half-written, and after a crash each is whole, old or new. Temporaries not
// committed are removed when the object goes.
class FileReplacements {
 public:
  FileReplacements() = default;
  ~FileReplacements();
  FileReplacements(const FileReplacements&) = delete;
  FileReplacements& operator=(const FileReplacements&) = delete;

  // Writes `contents` for the file at `path`; on failure nothing is staged.
  Status Stage(const std::string& path, std::string_view contents);
  // Puts every staged file in place, in the order staged, and makes the
  // renames durable; stops at the first failure.
  Status Commit();

 private:
  struct Staged {
    std::string temporary;
    std::string path;
  };
  std::vector<Staged> staged_;
};

// A file open for reading. Opening never blocks: what is not a regular file
// (a fifo, a device, a folder) does not open.
class ReadableFile {
 public:
  static Result<std::unique_ptr<ReadableFile>> Open(const std::string& path);
  virtual ~ReadableFile() = default;
  // Reads up to `size` bytes; 0 at the end of the file or on a read error.
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

// A file open for writing, created or emptied by Open.
class WritableFile {
 public:
  static Result<std::unique_ptr<WritableFile>> Open(const std::string& path);
  virtual ~WritableFile() = default;
  virtual Status Append(std::string_view data) = 0;
  virtual Status Close() = 0;
};

}  // namespace qv
