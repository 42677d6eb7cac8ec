#include <sys/stat.h>

#include "import/file_look.h"

namespace qv::import {

FileLook LookAtFile(const std::string& path) {
  struct stat status {};
  if (stat(path.c_str(), &status) != 0) return {};
  FileLook look;
  look.kind = S_ISREG(status.st_mode) ? FileLook::Kind::kFile : FileLook::Kind::kOther;
  look.size = static_cast<std::uint64_t>(status.st_size);
  look.volume = static_cast<std::uint64_t>(status.st_dev);
  look.identity = static_cast<std::uint64_t>(status.st_ino);
  look.written =
      static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
  return look;
}

}  // namespace qv::import
