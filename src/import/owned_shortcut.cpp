#include "import/owned_shortcut.h"

#include <algorithm>

#include "import/favorites_names.h"
#include "import/import_manifest.h"
#include "import/source_file.h"

namespace qv::import {
namespace {

// No shortcut file of the importer's is larger: two copies of the longest
// address and a UTF-7 one.
constexpr std::size_t kLongestImportedFile = 16u << 20;

// Takes the line "key" + value + CR LF off the front of `text`; the value,
// or nothing when `text` does not begin so.
std::optional<std::string_view> TakeLine(std::string_view& text, std::string_view key) {
  if (!text.starts_with(key)) return std::nullopt;
  const std::size_t end = text.find("\r\n", key.size());
  if (end == std::string_view::npos) return std::nullopt;
  const std::string_view value = text.substr(key.size(), end - key.size());
  text.remove_prefix(end + 2);
  return value;
}

// The address line the importer writes: printable ASCII without blanks.
bool IsAsciiAddress(std::string_view value) {
  return !value.empty() &&
         std::all_of(value.begin(), value.end(), [](char c) { return c > 0x20 && c < 0x7F; });
}

bool IsUtf7Address(std::string_view value) {
  return !value.empty() && std::all_of(value.begin(), value.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x80 && c != '\r' && c != '\n';
  });
}

}  // namespace

bool HasImportedShape(std::string_view contents) {
  const auto ascii = TakeLine(contents, "[InternetShortcut]\r\nURL=");
  if (!ascii || !IsAsciiAddress(*ascii)) return false;
  if (contents.empty()) return true;
  const auto again = TakeLine(contents, "[InternetShortcut.A]\r\nURL=");
  if (!again || *again != *ascii) return false;
  const auto unicode = TakeLine(contents, "[InternetShortcut.W]\r\nURL=");
  return unicode && IsUtf7Address(*unicode) && contents.empty();
}

std::optional<std::uint64_t> OwnedShortcut(const OpenFolder& folder, const std::string& name,
                                           const std::set<std::uint64_t>& fingerprints) {
  if (!name.ends_with(kShortcutExtension)) return std::nullopt;
  const auto contents = ReadWholeFile(folder, name, kLongestImportedFile);
  if (!contents.ok() || !HasImportedShape(*contents)) return std::nullopt;
  const std::uint64_t fingerprint = ContentFingerprint(*contents);
  if (fingerprints.count(fingerprint) == 0) return std::nullopt;
  return fingerprint;
}

}  // namespace qv::import
