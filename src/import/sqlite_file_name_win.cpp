// Paths here are in the ANSI code page; SQLite takes UTF-8.
#include "generator/windows_api.h"

#include <string>

#include "import/sqlite_file_name.h"

namespace qv::import {

std::string SqliteFileName(const std::string& path) {
  if (path.empty()) return path;
  const int wide_length =
      MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
  if (wide_length <= 0) return path;
  std::wstring wide(static_cast<std::size_t>(wide_length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(),
                      wide_length);
  const int utf8_length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, nullptr, 0, nullptr, nullptr);
  if (utf8_length <= 0) return path;
  std::string utf8(static_cast<std::size_t>(utf8_length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wide_length, utf8.data(), utf8_length, nullptr,
                      nullptr);
  return utf8;
}

}  // namespace qv::import
