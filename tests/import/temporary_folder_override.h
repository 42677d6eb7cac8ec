// Points the folder in which the process's libraries make their temporary
// files at another one for one scope: TMPDIR on POSIX systems, TMP and TEMP
// on Windows. One implementation per platform
// (temporary_folder_override_posix.cpp, temporary_folder_override_win.cpp).
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace qv::import {

class TemporaryFolderOverride {
 public:
  explicit TemporaryFolderOverride(const std::string& folder);
  ~TemporaryFolderOverride();
  TemporaryFolderOverride(const TemporaryFolderOverride&) = delete;
  TemporaryFolderOverride& operator=(const TemporaryFolderOverride&) = delete;

 private:
  // Each variable set, and the value it had, none when it was not set.
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace qv::import
