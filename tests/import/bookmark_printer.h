// Shows a SourceBookmark in test failures as its four texts.
#pragma once

#include <ostream>

#include "import/bookmarks.h"

namespace qv::import {

inline void PrintTo(const SourceBookmark& bookmark, std::ostream* out) {
  *out << "{root \"" << bookmark.root << "\", folders {";
  for (const auto& folder : bookmark.folders) *out << " \"" << folder << "\"";
  *out << " }, title \"" << bookmark.title.substr(0, 80) << "\", address \""
       << bookmark.address.substr(0, 80) << "\"}";
}

}  // namespace qv::import
