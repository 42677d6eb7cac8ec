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
//   H1 gives the root "" to links outside such root folders. Exports of
//   browsers whose stores name the roots otherwise get the stores' names:
//   a file with an "Other Bookmarks" root is Firefox's, and its three roots
//   are named as places.sqlite's below, whatever the file's language; a
//   file shaped as Chromium-family browsers export (H1 "Bookmarks", a
//   toolbar root and no "Other Bookmarks" root) holds the links of their
//   "Other bookmarks" root outside the toolbar, and they get that root.
// - A Chromium-family Bookmarks file: each object of "roots" (bookmark_bar,
//   other, synced) under its stored name, or "Bookmarks bar", "Mobile
//   bookmarks" when that name is empty; "other" is always "Other bookmarks",
//   the one name that its exports (which leave it unnamed) can give it in
//   every language and browser of the family. (Their exports
//   write the "Mobile bookmarks" together with the "Other bookmarks", and
//   Firefox's leave its "Mobile Bookmarks" out.)
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
#include <string_view>

#include "generator/status.h"
#include "import/bookmarks.h"

namespace qv::import {

// A bookmarks file or Bookmarks file larger than this is refused rather than
// held in memory (places.sqlite has a larger cap of its own, below).
inline constexpr std::size_t kMaxSourceFileBytes = std::size_t{64} << 20;
// A store with more links, folders and separators than this is refused: no
// start page shows that many, and memory stays bounded.
inline constexpr std::size_t kMaxSourceEntries = 200'000;
// Folders nested deeper than this make a store unreadable.
inline constexpr std::size_t kMaxFolderDepth = 100;

// A bookmarks file in the Netscape format (<!DOCTYPE NETSCAPE-Bookmark-file-1>)
// as Firefox, Chromium browsers, Safari and older browsers export it. A file
// that has neither that document type nor any link in a DT or DL list is "not
// a bookmarks file". Refused as cut off, since importing what is left would
// remove the rest from the Favorites folder:
// - a file with neither a DL list nor a link: the header alone;
// - a file with a list inside another left without its </DL>;
// - a file whose lists are all closed but whose last character (blanks, zero
//   bytes and Ctrl-Z after it aside) is not ">";
// - a file whose outermost list (one inside no other) is left without its
//   </DL> and that ends neither in </HTML> nor with a whole entry of that
//   list and its line: </A> or </DT>, or </DL> of a folder's list (with or
//   without a <P> after it), then a line end, and after that only line ends,
//   zero bytes and Ctrl-Z. Some browsers write their files so, one </DL>
//   short; a file cut inside an entry, right after a list or a heading
//   opened, or in the indent of a line ends otherwise. (A cut that falls
//   exactly on the line end after a whole entry of the outermost list looks
//   like such a file and cannot be told from one.)
Result<SourceBookmarks> ReadBookmarksHtml(const std::string& path);

// The Bookmarks file of a Chromium-family browser profile (JSON).
Result<SourceBookmarks> ReadChromiumBookmarks(const std::string& path);

// Names of roots that a browser's export and its store name alike only so:
// Chromium's export leaves the root of the bookmarks outside the bookmarks
// bar unnamed; Firefox's names its roots in the user's language, where
// places.sqlite holds internal names ("menu", "toolbar", "unfiled").
inline constexpr std::string_view kChromiumOtherBookmarks = "Other bookmarks";
inline constexpr std::string_view kFirefoxBookmarksMenu = "Bookmarks Menu";
inline constexpr std::string_view kFirefoxBookmarksToolbar = "Bookmarks Toolbar";
inline constexpr std::string_view kFirefoxOtherBookmarks = "Other Bookmarks";

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
