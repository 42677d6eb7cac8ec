// The import list: a hidden file in the Favorites folder naming the category
// folders and shortcut files the importer made there, so that the next
// import changes and removes those and nothing else. Its lines:
//   folder<TAB>News
//   file<TAB><16 hex digits of the contents' fingerprint><TAB>News/Example.url
// The file can be edited or damaged by hand, so every line is checked on
// reading: only a name the importer could have made is taken, one level or
// two deep, never "..", a separator of either system or a hidden name; any
// other line is left out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>

namespace qv::import {

inline constexpr std::string_view kManifestFileName = ".vorlindo-import";

// A fingerprint of a file's contents, to tell the importer's own files from
// files changed since (FNV-1a, 64 bits).
std::uint64_t ContentFingerprint(std::string_view contents);

struct ImportManifest {
  // Category folders the importer created, by name.
  std::set<std::string> folders;
  // Files the importer wrote, as "Category/Name.url", each with the
  // fingerprints of what it wrote there. While an import is under way a file
  // may have two: the old contents and the new.
  std::map<std::string, std::set<std::uint64_t>> files;

  bool operator==(const ImportManifest&) const = default;
};

// True for a name the importer could have made: valid UTF-8, none of the
// characters either system forbids, no control character, no leading dot or
// blank, no trailing dot or blank.
bool IsImportedName(std::string_view name);

std::string FormatManifest(const ImportManifest& manifest);

// The manifest in `text`; `left_out`, when given, receives the number of
// lines that were not understood.
ImportManifest ParseManifest(std::string_view text, std::size_t* left_out = nullptr);

}  // namespace qv::import
