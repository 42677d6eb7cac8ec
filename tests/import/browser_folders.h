// Where the browsers keep their data on a system, as lines that a failing
// test shows whole.
#pragma once

#include <string>
#include <vector>

#include "import/browser_locations.h"

namespace qv::import {

// "browser folder" for each folder BrowserDataFolders names, in its order.
inline std::vector<std::string> FoldersOf(const SystemPaths& paths) {
  std::vector<std::string> folders;
  for (const BrowserDataFolder& data : BrowserDataFolders(paths)) {
    folders.push_back(data.browser + " " + data.folder);
  }
  return folders;
}

}  // namespace qv::import
