// What a folder holds, for tests that check what an import changed.
#pragma once

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>

#include "generator/file_system.h"
#include "generator/text_encoding.h"
#include "support/temp_folder.h"

namespace qv::import {

// Every file below `folder` (symbolic links not followed), hidden ones
// included, with its contents; a link as "-> " and its target, an empty
// folder as its path and "/". Paths are written with "/" on every system.
inline std::map<std::string, std::string> Tree(const testing::TempFolder& folder) {
  namespace fs = std::filesystem;
  std::map<std::string, std::string> files;
  const fs::path root = NativePath(folder.path());
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    std::string relative = PathText(fs::relative(entry.path(), root));
    std::replace(relative.begin(), relative.end(), kPathSeparator, '/');
    if (entry.is_symlink()) {
      files[relative] = "-> " + PathText(fs::read_symlink(entry.path()));
    } else if (entry.is_regular_file()) {
      files[relative] = folder.ReadFile(relative);
    } else if (fs::is_empty(entry.path())) {
      files[relative + "/"] = "";
    }
  }
  return files;
}

}  // namespace qv::import
