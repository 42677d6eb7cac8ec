// How the importer knows a file as one of its own: its import list names it,
// but the list is a hidden file anyone can edit, so it is only a hint. A file
// is the importer's only when it is a regular shortcut file (".url", no link)
// whose bytes have the very shape the importer writes and a fingerprint the
// list gives for it; anything else is the user's and is never changed.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "generator/open_folder.h"

namespace qv::import {

// True when `contents` has the shape of a shortcut file the importer writes
// (ShortcutContents): the address under [InternetShortcut], and for an
// address with other characters the same again under [InternetShortcut.A]
// and its UTF-7 form under [InternetShortcut.W], lines ending in CR LF, and
// nothing else.
bool HasImportedShape(std::string_view contents);

// The fingerprint of the file `name` in `folder` when it is one the importer
// wrote (a regular ".url" file of the importer's shape) and its fingerprint
// is one of `fingerprints`; nothing otherwise.
std::optional<std::uint64_t> OwnedShortcut(const OpenFolder& folder, const std::string& name,
                                           const std::set<std::uint64_t>& fingerprints);

}  // namespace qv::import
