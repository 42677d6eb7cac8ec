// The floor a generation run is measured against: what any program that turns
// the Favorites folder into a page, and keeps the page safe, must at least do.
#pragma once

#include <cstddef>
#include <string>

namespace qv::bench {

// What the floor asks of each file besides its bytes: nothing, or what every
// run must know of it too: that it is a regular file (whose size then saves
// the read that finds its end) and whether its attributes hide it.
enum class FileChecks { kNone, kAsARun };

// Walks the category folders below `root` and reads every file in them once,
// front to back. Returns the number of bytes read (-1 on a failure).
long long ReadEveryShortcut(const std::string& root, FileChecks checks = FileChecks::kNone);

// Writes `size` bytes of page-like text durably as `path`: beside it under a
// temporary name, flushed to disk, renamed over it, and the rename flushed
// with its folder, as a page that must survive a crash whole is written.
bool WritePageOfSize(const std::string& path, std::size_t size);

}  // namespace qv::bench
