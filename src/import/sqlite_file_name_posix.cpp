// Paths here are UTF-8 already, as SQLite takes them.
#include "import/sqlite_file_name.h"

namespace qv::import {

std::string SqliteFileName(const std::string& path) {
  return path;
}

}  // namespace qv::import
