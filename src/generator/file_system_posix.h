// What the POSIX implementations of the file-system seam share: the handle of
// an open folder and readable files made from descriptors. POSIX only.
#pragma once

#include <sys/types.h>
#include <unistd.h>

#include <memory>

#include "generator/file_system.h"
#include "generator/open_folder.h"

namespace qv {

struct OpenFolder::Handle {
  explicit Handle(int descriptor) : fd(descriptor) {}
  ~Handle() { close(fd); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  const int fd;
};

// The readable file of `fd`, which it then owns; `size` is the file's size
// when it was opened, 0 when unknown.
std::unique_ptr<ReadableFile> ReadableFileOf(int fd, off_t size);

// Opens `name` in the folder `folder_fd` for reading, without following a
// link, never blocking, and keeps it only when it is a regular file; -1 with
// errno set otherwise (EINVAL for what is no regular file).
int OpenRegularFileAt(int folder_fd, const char* name, off_t* size);

// True when the open file carries the hidden or system bit in its
// "user.DOSATTRIB" attribute.
bool OpenFileHidden(int fd);

}  // namespace qv
