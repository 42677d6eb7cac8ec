// Bookmarks as a browser holds them, read from any of its stores, before
// they are turned into the categories and shortcut files of a Favorites
// folder.
#pragma once

#include <string>
#include <vector>

namespace qv::import {

// One link of the source, with the place it has in the browser's folders.
// Every text is UTF-8.
struct SourceBookmark {
  // The top-level folder the link lies in, under the title the browser gives
  // it in the user's language ("Bookmarks bar", "Lesezeichenleiste", "Bookmarks
  // Menu", "Other bookmarks"). Empty for a file without any folder.
  std::string root;
  // The folders between the root and the link, outermost first.
  std::vector<std::string> folders;
  std::string title;
  // The address exactly as the browser stores it (entities decoded).
  std::string address;

  bool operator==(const SourceBookmark&) const = default;
};

// A whole source in the browser's own order: folders in their order, links
// in their order within each folder. Separators and empty folders leave no
// trace.
using SourceBookmarks = std::vector<SourceBookmark>;

}  // namespace qv::import
