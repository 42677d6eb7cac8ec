// How a file looks from outside, fine enough to tell that it was written or
// replaced since it was last looked at. One implementation per platform
// (file_look_posix.cpp, file_look_win.cpp).
#pragma once

#include <cstdint>
#include <string>

namespace qv::import {

struct FileLook {
  enum class Kind { kMissing, kFile, kOther };
  Kind kind = Kind::kMissing;
  std::uint64_t size = 0;
  // The file under the name: a file renamed over it is another one, also
  // when it was written in the same instant at the same size.
  std::uint64_t volume = 0;
  std::uint64_t identity = 0;
  // The last write, to the finest the file system keeps; what the standard
  // library gives is whole seconds on some systems, in which a browser may
  // well save twice.
  std::int64_t written = 0;

  bool operator==(const FileLook&) const = default;
};

// The file that `path` leads to, links followed; kMissing when there is none,
// kOther for a folder or anything else that is no regular file.
FileLook LookAtFile(const std::string& path);

}  // namespace qv::import
