// A folder held open, so that what is done inside it happens in that very
// folder: a folder renamed, removed or swapped for a symbolic link after it
// was opened is never reached through a path looked up again, and an entry
// that is a link is never followed. One implementation per platform
// (open_folder_posix.cpp with openat and its kin; open_folder_win.cpp with
// handles that, held without delete sharing, keep the folder where it is).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "generator/file_system.h"
#include "generator/status.h"

namespace qv {

// An entry of an open folder as it is itself, a link not followed.
struct FolderEntry {
  enum class Type { kFolder, kFile, kLink, kOther };
  std::string name;
  Type type = Type::kOther;
};

class OpenFolder {
 public:
  // Opens the folder at `path`. Links on the way to it and at its end are
  // followed: the path is the user's own choice, a link included.
  static Result<OpenFolder> Open(const std::string& path);

  // The path it was opened by, ending in the separator; for messages only.
  const std::string& path() const { return path_; }

  // The sub-folder `name` of this folder, opened only when it is a folder
  // itself: a link or anything else under that name fails.
  Result<OpenFolder> OpenSubfolder(std::string_view name) const;

  // Every entry but "." and "..", hidden ones included.
  Result<std::vector<FolderEntry>> Entries() const;

  // True when the scan leaves the entry `name` out as hidden (file_system.h).
  bool IsHidden(std::string_view name) const;

  // The regular file `name`, open for reading; a link, a folder or a device
  // under that name fails. Never blocks.
  Result<std::unique_ptr<ReadableFile>> OpenFile(std::string_view name) const;

  // Makes the sub-folder `name`; fails when anything has that name.
  Status MakeSubfolder(std::string_view name) const;

  // Removes the entry `name` when it is no folder (a link itself, never what
  // it points to); ok when nothing has that name afterwards.
  Status RemoveFile(std::string_view name) const;

  // Removes the sub-folder `name` only when it is empty.
  Status RemoveEmptySubfolder(std::string_view name) const;

  // The system's handle of the folder, defined by each platform for the
  // files written into the folder (file_replacement_*.cpp).
  struct Handle;
  const std::shared_ptr<const Handle>& handle() const { return handle_; }

 private:
  OpenFolder(std::shared_ptr<const Handle> handle, std::string path)
      : handle_(std::move(handle)), path_(std::move(path)) {}

  std::shared_ptr<const Handle> handle_;
  std::string path_;
};

}  // namespace qv
