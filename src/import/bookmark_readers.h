// Readers of the stores in which browsers keep their bookmarks. Each returns
// the links of one store in the browser's own order, or a one-line reason that
// names the file. Nothing is written anywhere, the store included.
//
// Roots. Every link lies in exactly one root, a top-level folder of the browser:
// - A bookmarks file (the HTML every browser exports): the H1 heading names the
//   root of every link and folder that stands outside any folder heading (H3).
//   An H3 outside any other folder that carries PERSONAL_TOOLBAR_FOLDER or
//   UNFILED_BOOKMARKS_FOLDER (the toolbar, "Other Bookmarks") is a root of its
//   own; every other H3 is a folder in the root it stands in. A file without
//   H1 gives the root "" to links outside such root folders.
// - A Chromium-family Bookmarks file: each object of "roots" (bookmark_bar,
//   other, synced) under its stored name, or "Bookmarks bar", "Other
//   bookmarks", "Mobile bookmarks" when that name is empty.
// - Firefox's places.sqlite: each folder directly under the root folder, the
//   tags folder excepted, under its stored title, or "Bookmarks Menu",
//   "Bookmarks Toolbar", "Other Bookmarks", "Mobile Bookmarks" when the title
//   is empty or the internal name ("menu", "toolbar", "unfiled", "mobile").
//
// Records keep what the store holds: place:, javascript: and data: links,
// empty titles and control characters all stay; separators, empty folders,
// descriptions, icons and dates leave no trace. Titles of the bookmarks file
// lose the blanks around them (markup layout, not title).
//
// Text is UTF-8. Bytes of a bookmarks file or places.sqlite that are not
// valid UTF-8 become U+FFFD; a Bookmarks file with such bytes is refused, as
// it is not valid JSON.
#pragma once

#include <cstddef>
#include <string>

#include "generator/status.h"
#include "import/bookmarks.h"

namespace qv::import {

// A bookmarks file or Bookmarks file larger than this is refused rather than
// held in memory (places.sqlite is read row by row and has no such cap).
inline constexpr std::size_t kMaxSourceFileBytes = std::size_t{64} << 20;
// A store with more links, folders and separators than this is refused: no
// start page shows that many, and memory stays bounded.
inline constexpr std::size_t kMaxSourceEntries = 200'000;
// Folders nested deeper than this make a store unreadable.
inline constexpr std::size_t kMaxFolderDepth = 100;

// A bookmarks file in the Netscape format (<!DOCTYPE NETSCAPE-Bookmark-file-1>)
// as Firefox, Chromium browsers, Safari and older browsers export it. A file
// that has neither that document type nor any link in a DT or DL list is "not
// a bookmarks file"; one whose folder lists are not all closed, or whose last
// character is not ">", is refused as cut off.
Result<SourceBookmarks> ReadBookmarksHtml(const std::string& path);

// The Bookmarks file of a Chromium-family browser profile (JSON).
Result<SourceBookmarks> ReadChromiumBookmarks(const std::string& path);

// Firefox's places.sqlite as Firefox has saved it: with the committed changes
// that its write-ahead log holds, and without a change that was cut short,
// also while Firefox runs and holds the database. The database and its log
// and journal are only read, as plain files, into memory, and SQLite reads
// them there: nothing is ever made or changed beside them, a read-only
// profile folder does as well, and a read that is killed leaves nothing
// behind. The files are read until two reads in a row agree, so that a save
// during the read never yields a mix of two moments; when the files change
// at every one of ten tries in about a second, the read is refused with a
// reason. A file larger than 512 MiB is refused.
Result<SourceBookmarks> ReadFirefoxPlaces(const std::string& path);

// Any of the three, told apart by content: the SQLite header, a JSON object,
// or else a bookmarks file.
Result<SourceBookmarks> ReadBookmarkSource(const std::string& path);

}  // namespace qv::import
