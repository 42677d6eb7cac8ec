// Which reader a store needs, told from its first bytes: browsers give their
// files names of their own choosing, and users rename exports.
#include <memory>
#include <string>
#include <string_view>

#include "generator/file_system.h"
#include "import/bookmark_readers.h"
#include "import/source_file.h"

namespace qv::import {
namespace {

// Enough for the SQLite header, or for the blanks before a JSON object.
constexpr std::size_t kHeadBytes = 4096;

Result<std::string> ReadHead(const std::string& path) {
  const Result<std::unique_ptr<ReadableFile>> opened = ReadableFile::Open(path);
  if (!opened.ok()) return opened.status();
  ReadableFile* file = opened->get();
  std::string head(kHeadBytes, '\0');
  std::size_t size = 0;
  while (size < head.size()) {
    const std::size_t count = file->Read(head.data() + size, head.size() - size);
    if (count == 0) break;
    size += count;
  }
  head.resize(size);
  return head;
}

}  // namespace

Result<SourceBookmarks> ReadBookmarkSource(const std::string& path) {
  const Result<std::string> head = ReadHead(path);
  if (!head.ok()) return head.status();
  constexpr std::string_view kSqliteHeader("SQLite format 3\0", 16);
  if (std::string_view(*head).substr(0, kSqliteHeader.size()) == kSqliteHeader) {
    return ReadFirefoxPlaces(path);
  }
  const std::string_view text = WithoutByteOrderMark(*head);
  const std::size_t first = text.find_first_not_of(" \t\r\n");
  if (first != std::string_view::npos && text[first] == '{') return ReadChromiumBookmarks(path);
  return ReadBookmarksHtml(path);
}

}  // namespace qv::import
