// What a folder holds, for tests that check what an import changed.
#pragma once

#include <filesystem>
#include <map>
#include <string>

#include "support/temp_folder.h"

namespace qv::import {

// Every file below `folder` (symbolic links not followed), hidden ones
// included, with its contents; a link as "-> " and its target, an empty
// folder as its path and "/".
inline std::map<std::string, std::string> Tree(const testing::TempFolder& folder) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder.path())) {
    const std::string relative = fs::relative(entry.path(), folder.path()).string();
    if (entry.is_symlink()) {
      files[relative] = "-> " + fs::read_symlink(entry.path()).string();
    } else if (entry.is_regular_file()) {
      files[relative] = folder.ReadFile(relative);
    } else if (fs::is_empty(entry.path())) {
      files[relative + "/"] = "";
    }
  }
  return files;
}

}  // namespace qv::import
