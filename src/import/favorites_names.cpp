#include "import/favorites_names.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "generator/link_collection.h"
#include "generator/text.h"
#include "import/address.h"
#include "import/utf8_text.h"

namespace qv::import {
namespace {

constexpr std::u32string_view kForbidden = U"<>:\"/\\|?*";
constexpr std::u32string_view kCategorySeparator = U" - ";
constexpr std::string_view kNeutralPrefix = "(---) ";
constexpr std::string_view kLastResortStem = "Link";

bool IsControl(char32_t c) {
  return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

// Marks and overrides of writing direction: "\u202Egnp.exe" would show as
// "exe.png".
bool IsDirectionControl(char32_t c) {
  return c == 0x200E || c == 0x200F || c == 0x061C || (c >= 0x202A && c <= 0x202E) ||
         (c >= 0x2066 && c <= 0x2069);
}

bool BecomesBlank(char32_t c) {
  return IsControl(c) || kForbidden.find(c) != std::u32string_view::npos;
}

bool IsDropped(char32_t c, std::u32string_view also) {
  return c == U' ' || c == U'.' || also.find(c) != std::u32string_view::npos;
}

void DropTrailing(std::u32string& name) {
  while (!name.empty() && (name.back() == U' ' || name.back() == U'.')) name.pop_back();
}

std::size_t Utf8Length(char32_t c) {
  return c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
}

// Keeps the longest start of `name` within `max_chars` and `max_bytes`.
void CutTo(std::u32string& name, std::size_t max_chars, std::size_t max_bytes) {
  std::size_t bytes = 0, kept = 0;
  while (kept < name.size() && kept < max_chars && bytes + Utf8Length(name[kept]) <= max_bytes) {
    bytes += Utf8Length(name[kept++]);
  }
  name.resize(kept);
}

char32_t AsciiUpper(char32_t c) {
  return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c;
}

// Windows opens a device for these names whatever follows a dot, and
// whatever blanks stand before it.
bool IsDeviceName(std::u32string_view base) {
  static constexpr std::array<std::u32string_view, 6> kDevices = {U"CON", U"PRN",    U"AUX",
                                                                  U"NUL", U"CONIN$", U"CONOUT$"};
  std::u32string upper(base);
  std::transform(upper.begin(), upper.end(), upper.begin(), AsciiUpper);
  if (std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end()) return true;
  if (upper.size() != 4 || (!upper.starts_with(U"COM") && !upper.starts_with(U"LPT"))) return false;
  const char32_t digit = upper[3];
  return (digit >= U'0' && digit <= U'9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

void AvoidDeviceName(std::u32string& name) {
  std::size_t base_end = std::min(name.find(U'.'), name.size());
  while (base_end > 0 && name[base_end - 1] == U' ') --base_end;
  if (IsDeviceName(std::u32string_view(name).substr(0, base_end))) name.insert(base_end, 1, U'_');
}

std::u32string SafeCodePoints(std::string_view text, std::u32string_view also_leading) {
  std::u32string name;
  for (char32_t c : DecodeUtf8(text)) {
    if (IsDirectionControl(c)) continue;
    if (BecomesBlank(c)) c = U' ';
    if (c == U' ' && (name.empty() || name.back() == U' ')) continue;  // runs and the start
    name += c;
  }
  const auto first = std::find_if_not(name.begin(), name.end(),
                                      [&](char32_t c) { return IsDropped(c, also_leading); });
  name.erase(name.begin(), first);
  DropTrailing(name);
  CutTo(name, kMaxNameChars, kMaxNameBytes);
  DropTrailing(name);
  AvoidDeviceName(name);
  CutTo(name, kMaxNameChars, kMaxNameBytes);
  return name;
}

// Every ".url" of `title` loses its dot, so that the first one in the file
// name is the extension.
std::string WithoutInnerExtension(std::string_view title) {
  std::string text(title);
  const std::string folded = AsciiLowerCase(text);
  for (std::size_t at = folded.find(kShortcutExtension); at != std::string::npos;
       at = folded.find(kShortcutExtension, at + 1)) {
    text[at] = ' ';
  }
  return text;
}

// A name beginning with "(" that the page would show cut: its first five
// characters do not read as a column prefix, or nothing follows them.
bool WouldShowCut(std::string_view name) {
  if (!name.starts_with('(')) return false;
  const std::u32string characters = DecodeUtf8(name);
  return characters.size() < 5 || characters[4] != U')' || DisplayName(name).empty();
}

}  // namespace

std::string SafeName(std::string_view text, std::string_view also_leading) {
  const std::u32string also = DecodeUtf8(also_leading);
  return EncodeUtf8(SafeCodePoints(text, also));
}

std::string LinkFileStem(std::string_view title, std::string_view address) {
  for (const std::string_view source : {title, AddressHost(address), address}) {
    std::string stem = SafeName(WithoutInnerExtension(source), ";");
    if (!stem.empty()) return stem;
  }
  return std::string(kLastResortStem);
}

std::string CategoryFolderName(std::string_view root, const std::vector<std::string>& folders) {
  std::u32string joined;
  auto add = [&joined](std::string_view part) {
    const std::u32string safe = SafeCodePoints(part, {});
    if (safe.empty()) return;
    if (!joined.empty()) joined += kCategorySeparator;
    joined += safe;
  };
  if (folders.empty()) add(root);
  for (const std::string& folder : folders) add(folder);
  std::string name = EncodeUtf8(joined);
  if (name.empty()) return std::string(kUnnamedCategory);
  if (WouldShowCut(name)) name = std::string(kNeutralPrefix) + name;
  std::u32string safe = SafeCodePoints(name, {});
  // A cut right after a separator leaves it dangling.
  const bool cut = safe.size() < DecodeUtf8(name).size();
  while (cut && safe.ends_with(U" -")) {
    safe.resize(safe.size() - 2);
    DropTrailing(safe);
  }
  return EncodeUtf8(safe);
}

std::string NumberedName(std::string_view stem, int number, std::string_view extension) {
  std::u32string tail = DecodeUtf8(extension);
  if (number > 1) tail = DecodeUtf8(" (" + std::to_string(number) + ")") + tail;
  std::u32string name = DecodeUtf8(stem);
  CutTo(name, kMaxNameChars - tail.size(), kMaxNameBytes - EncodeUtf8(tail).size());
  DropTrailing(name);
  return EncodeUtf8(name + tail);
}

bool IsNumberingOf(std::string_view name, std::string_view stem, std::string_view extension) {
  if (name == NumberedName(stem, 1, extension)) return true;
  // "... (n)" followed by the extension: read n, then build the name again.
  if (!name.ends_with(std::string(")") + std::string(extension))) return false;
  const std::size_t close = name.size() - extension.size() - 1;
  const std::size_t open = name.rfind(" (", close);
  if (open == std::string_view::npos) return false;
  int number = 0;
  const char* first = name.data() + open + 2;
  const char* last = name.data() + close;
  const auto [end, error] = std::from_chars(first, last, number);
  return error == std::errc() && end == last && number > 1 &&
         name == NumberedName(stem, number, extension);
}

std::string NameKey(std::string_view name) {
  return UpperCase(name);
}

}  // namespace qv::import
