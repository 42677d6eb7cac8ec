// Synthetic Favorites folders: category folders of Internet Shortcut files
// that look like the ones a browser leaves behind.
#pragma once

#include <cstddef>
#include <string>

namespace qv::bench {

struct FavoritesShape {
  std::size_t files = 0;    // shortcut files in all
  std::size_t folders = 0;  // category folders they are spread over
};

// Creates `shape.files` shortcut files spread evenly over `shape.folders`
// category folders below `root` (which must not exist yet). Some folders are
// pinned to a page column; names vary in length, some beyond the caption cut.
// Returns false when a folder or file could not be written.
bool MakeFavorites(const std::string& root, const FavoritesShape& shape);

// Drops the contents of every file below `root` from the page cache, so that
// the next read comes from the disk; folders and file metadata stay cached.
// Returns false when a file could not be opened.
bool EvictFileContents(const std::string& root);

}  // namespace qv::bench
