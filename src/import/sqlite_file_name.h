// The name under which SQLite opens a file: UTF-8, whatever code page the
// program's paths are in (sqlite_file_name_posix.cpp, sqlite_file_name_win.cpp).
#pragma once

#include <string>

namespace qv::import {

std::string SqliteFileName(const std::string& path);

}  // namespace qv::import
