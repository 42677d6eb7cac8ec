#include "import/import_manifest.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "import/favorites_names.h"
#include "import/utf8_text.h"

namespace qv::import {
namespace {

constexpr std::string_view kHeading =
    "# Files that importing bookmarks wrote here; the next import changes or removes only these.";
constexpr std::string_view kFolderKey = "folder";
constexpr std::string_view kFileKey = "file";
constexpr std::size_t kFingerprintDigits = 16;

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

bool IsForbidden(unsigned char byte) {
  static constexpr std::string_view kForbidden = "<>:\"/\\|?*";
  return byte < 0x20 || byte == 0x7F || kForbidden.find(static_cast<char>(byte)) != kForbidden.npos;
}

bool ParseFingerprint(std::string_view digits, std::uint64_t& value) {
  if (digits.size() != kFingerprintDigits) return false;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
  return error == std::errc() && end == digits.data() + digits.size();
}

// "Category/Name": two names of the importer's own making.
bool IsImportedFilePath(std::string_view path) {
  const std::vector<std::string_view> names = Split(path, '/');
  return names.size() == 2 && IsImportedName(names[0]) && IsImportedName(names[1]);
}

// Takes one line into `manifest`; false when it is not understood.
bool TakeLine(std::string_view line, ImportManifest& manifest) {
  const std::vector<std::string_view> fields = Split(line, '\t');
  if (fields.size() == 2 && fields[0] == kFolderKey && IsImportedName(fields[1])) {
    manifest.folders.emplace(fields[1]);
    return true;
  }
  std::uint64_t fingerprint = 0;
  if (fields.size() == 3 && fields[0] == kFileKey && ParseFingerprint(fields[1], fingerprint) &&
      IsImportedFilePath(fields[2])) {
    manifest.files[std::string(fields[2])].insert(fingerprint);
    return true;
  }
  return false;
}

}  // namespace

std::uint64_t ContentFingerprint(std::string_view contents) {
  std::uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : contents) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

bool IsImportedName(std::string_view name) {
  if (name.empty() || name.size() > kMaxNameBytes || !IsValidUtf8(name)) return false;
  if (name.front() == '.' || name.front() == ' ' || name.back() == '.' || name.back() == ' ') {
    return false;
  }
  for (const char c : name) {
    if (IsForbidden(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::string FormatManifest(const ImportManifest& manifest) {
  std::string text(kHeading);
  text += "\r\n";
  for (const std::string& folder : manifest.folders) {
    text.append(kFolderKey).append("\t").append(folder).append("\r\n");
  }
  for (const auto& [path, fingerprints] : manifest.files) {
    for (const std::uint64_t fingerprint : fingerprints) {
      char digits[kFingerprintDigits + 1];
      std::snprintf(digits, sizeof(digits), "%016llx",
                    static_cast<unsigned long long>(fingerprint));
      text.append(kFileKey).append("\t").append(digits).append("\t").append(path).append("\r\n");
    }
  }
  return text;
}

ImportManifest ParseManifest(std::string_view text, std::size_t* left_out) {
  ImportManifest manifest;
  std::size_t not_understood = 0;
  for (std::string_view line : Split(text, '\n')) {
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.starts_with('#')) continue;
    if (!TakeLine(line, manifest)) ++not_understood;
  }
  if (left_out != nullptr) *left_out = not_understood;
  return manifest;
}

}  // namespace qv::import
