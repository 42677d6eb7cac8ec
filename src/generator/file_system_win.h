// What the Windows implementations of the file-system seam share: the handle
// of an open folder and readable files made from handles. Windows only.
#pragma once

#include "generator/windows_api.h"

#include <memory>

#include "generator/file_system.h"
#include "generator/open_folder.h"

namespace qv {

struct OpenFolder::Handle {
  explicit Handle(HANDLE held) : folder(held) {}
  ~Handle();
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  const HANDLE folder;
};

// The readable file of `file`, a file on disk, which it then owns.
std::unique_ptr<ReadableFile> ReadableFileOf(HANDLE file);

}  // namespace qv
