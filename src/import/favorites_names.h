// Names of the category folders and shortcut files the importer writes. Every
// name is taken by Linux and Windows alike and shows on the page as the
// bookmark's title: no character either system forbids, no leading dot (the
// scan leaves hidden entries out), no trailing dot or blank (Windows drops
// them), no device name, and short enough for both.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qv::import {

// Limits of a whole name, extension and number included: characters for the
// eye, bytes for Linux file systems (255 at most, with room to spare).
inline constexpr std::size_t kMaxNameChars = 100;
inline constexpr std::size_t kMaxNameBytes = 240;

inline constexpr std::string_view kShortcutExtension = ".url";

// The category of links that lie in no folder of a file without roots, and
// of roots without a usable title.
inline constexpr std::string_view kUnnamedCategory = "Bookmarks";

// `text` as a name, or empty when nothing usable is left: invalid UTF-8
// repaired; characters Windows forbids (< > : " / \ | ? *) and control
// characters become blanks; marks and overrides of writing direction (U+200E,
// U+200F, U+061C, U+202A to U+202E, U+2066 to U+2069) go, so that no name
// shows reversed; runs of blanks become one; leading blanks and
// dots go, and so do the leading characters in `also_leading`; trailing
// blanks and dots go; cut to the limits, never inside a character; a device
// name (CON, PRN, AUX, NUL, COM0-9, LPT0-9, with or without extension) gets
// "_" after it.
std::string SafeName(std::string_view text, std::string_view also_leading = {});

// The name, without extension, of the shortcut file for a link: its title,
// else the host of its address, else the address, else "Link". The page takes
// the first ".url" of a file name for the extension and a caption beginning
// with ";" for a category header, so a ".url" inside the title loses its dot
// and leading ";" go.
std::string LinkFileStem(std::string_view title, std::string_view address);

// The folder name of a category: the bookmark folders from the root down,
// joined by " - ", or the root alone for links at its top; "Bookmarks" when
// there is neither. The page shows a name beginning with "(" without its first
// five characters; such a name keeps that form only when those five read like
// a column prefix such as "(A01)" and something follows them; any other gets
// the neutral prefix "(---) ", so that the page shows the folder's title whole.
std::string CategoryFolderName(std::string_view root, const std::vector<std::string>& folders);

// `stem` followed by " (number)" when `number` is above 1, and `extension`;
// the stem is cut so that the whole keeps to the limits.
std::string NumberedName(std::string_view stem, int number, std::string_view extension);

// True when `name` is NumberedName(stem, n, extension) for some n.
bool IsNumberingOf(std::string_view name, std::string_view stem, std::string_view extension);

// The form under which Windows takes two names for the same entry: letter
// case folded.
std::string NameKey(std::string_view name);

}  // namespace qv::import
