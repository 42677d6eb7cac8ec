#include "settings/favorites_lookup_wine.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "generator/text.h"
#include "generator/text_file.h"

namespace qv {
namespace {

// The registry's type number of a text value.
constexpr std::uint32_t kTextType = 1;

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() &&
         AsciiLowerCase(text.substr(0, prefix.size())) == AsciiLowerCase(prefix);
}

// Collects text as UTF-8 from plain bytes and UTF-16 code units, joining
// surrogate pairs; a lone surrogate becomes U+FFFD.
class Utf8Text {
 public:
  void AddByte(char c) {
    FlushPending();
    text_ += c;
  }
  void AddUnit(char32_t unit) {
    if (unit >= 0xDC00 && unit <= 0xDFFF && pending_) {
      const char32_t high = pending_;
      pending_ = 0;
      AddCodePoint(0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00));
      return;
    }
    FlushPending();
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      pending_ = unit;
    } else {
      AddCodePoint(unit >= 0xDC00 && unit <= 0xDFFF ? 0xFFFD : unit);
    }
  }
  std::string Take() {
    FlushPending();
    return std::move(text_);
  }

 private:
  void FlushPending() {
    if (pending_) AddCodePoint(0xFFFD);
    pending_ = 0;
  }
  void AddCodePoint(char32_t c) { AppendUtf8(c, text_); }

  std::string text_;
  char32_t pending_ = 0;
};

// Decodes the escape that follows a backslash at text[pos]; pos ends after it.
// Wine writes characters past ASCII as "\x" with up to four hex digits,
// control characters as C or octal escapes, and "\\", "\"" for themselves.
void DecodeEscape(std::string_view text, std::size_t& pos, Utf8Text& out) {
  const char c = text[pos++];
  if (c == 'x') {
    char32_t unit = 0;
    int digits = 0;
    for (; digits < 4 && pos < text.size() && DigitValue(text[pos], 16) >= 0; ++digits) {
      unit = unit * 16 + DigitValue(text[pos++], 16);
    }
    if (digits == 0) {
      out.AddByte('x');
    } else {
      out.AddUnit(unit);
    }
    return;
  }
  if (c >= '0' && c <= '7') {
    char32_t unit = c - '0';
    for (int digits = 1; digits < 3 && pos < text.size() && text[pos] >= '0' && text[pos] <= '7';
         ++digits) {
      unit = unit * 8 + (text[pos++] - '0');
    }
    out.AddUnit(unit);
    return;
  }
  static constexpr std::string_view kLetters = "abtnvfre";
  static constexpr std::string_view kControls = "\a\b\t\n\v\f\r\x1b";
  const auto letter = kLetters.find(c);
  out.AddByte(letter == std::string_view::npos ? c : kControls[letter]);
}

// Reads the quoted text that starts at text[pos] (a '"'); pos ends after its
// closing quote.
Result<std::string> ReadQuoted(std::string_view text, std::size_t& pos) {
  const Status unquoted = Status::Error("no quoted text");
  if (pos >= text.size() || text[pos] != '"') return unquoted;
  Utf8Text out;
  for (++pos; pos < text.size();) {
    const char c = text[pos++];
    if (c == '"') return out.Take();
    if (c == '\\' && pos < text.size()) {
      DecodeEscape(text, pos, out);
    } else {
      out.AddByte(c);
    }
  }
  return unquoted;  // never closed
}

// "hex(1):41,00,..." data: the bytes; a failure when a piece is not one byte
// in hexadecimal.
Result<std::string> HexBytes(std::string_view text) {
  std::string bytes;
  for (std::size_t pos = 0; pos <= text.size();) {
    std::size_t comma = text.find(',', pos);
    if (comma == std::string_view::npos) comma = text.size();
    std::string_view piece = text.substr(pos, comma - pos);
    while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t')) {
      piece.remove_prefix(1);
    }
    while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) piece.remove_suffix(1);
    pos = comma + 1;
    if (piece.empty()) continue;
    int byte = 0;
    for (char c : piece) {
      if (piece.size() > 2 || DigitValue(c, 16) < 0) return Status::Error("not hexadecimal bytes");
      byte = byte * 16 + DigitValue(c, 16);
    }
    bytes += static_cast<char>(byte);
  }
  return bytes;
}

// A text stored as UTF-16LE code units, as "hex(1):" holds it, as UTF-8, up
// to its terminating zero.
std::string TextFromUtf16(std::string_view bytes) {
  Utf8Text out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char32_t unit =
        static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit == 0) break;
    out.AddUnit(unit);
  }
  return out.Take();
}

// The type number of "hex(N):" or "str(N):"; pos ends after the "):".
Result<std::uint32_t> TypeInParentheses(std::string_view text, std::size_t& pos) {
  const Status malformed = Status::Error("no value type");
  const auto close = text.find("):", pos);
  if (close == std::string_view::npos || close == pos) return malformed;
  std::uint32_t type = 0;
  for (; pos < close; ++pos) {
    const int digit = DigitValue(text[pos], 16);
    if (digit < 0 || type > 0x0FFFFFFF) return malformed;
    type = type * 16 + digit;
  }
  pos = close + 2;
  return type;
}

// The text written after the "=" of a value line: a quoted text, or a text
// given with its type as "str(1):" or in UTF-16 bytes as "hex(1):". Any
// other value (a number, bytes, an expandable text) is no folder text.
Result<std::string> TextOfData(std::string_view data) {
  const Status not_text = Status::Error("is not a text");
  std::size_t pos = 0;
  if (data.starts_with("\"")) return ReadQuoted(data, pos);
  const bool typed_text = data.starts_with("str(");
  if (!typed_text && !data.starts_with("hex(")) return not_text;
  pos = 4;
  const Result<std::uint32_t> type = TypeInParentheses(data, pos);
  if (!type.ok()) return type.status();
  if (*type != kTextType) return not_text;
  if (typed_text) return ReadQuoted(data, pos);
  // Wine keeps a text it cannot write as such in UTF-16 bytes.
  const Result<std::string> bytes = HexBytes(data.substr(pos));
  if (!bytes.ok()) return bytes.status();
  return TextFromUtf16(*bytes);
}

// Whether `line` is the line of value `name`; `pos` ends at its "=".
bool IsValueLine(std::string_view line, std::string_view name, std::size_t& pos) {
  pos = 0;
  const Result<std::string> line_name = ReadQuoted(line, pos);
  return line_name.ok() && AsciiLowerCase(*line_name) == AsciiLowerCase(name) &&
         pos < line.size() && line[pos] == '=';
}

// "[" and the key path with its backslashes doubled, as a section header
// begins; the header goes on with "]" and the time of the last change.
std::string SectionHeader(std::string_view key_path) {
  std::string header = "[";
  for (char c : key_path) {
    header += c;
    if (c == '\\') header += '\\';
  }
  return header + "]";
}

// The value lines of the section of `key_path`, a line ending in "\" joined
// with the next.
Result<std::vector<std::string>> ReadSection(const std::string& file, std::string_view key_path) {
  LineReader reader(file, kLongestTextLine);
  if (!reader.is_open()) return reader.open_status();
  const std::string header = SectionHeader(key_path);
  std::string line;
  bool found = false;
  while (!found && reader.Next(line)) found = StartsWithIgnoringCase(line, header);
  if (!found) return Status::Error(file + " has no key " + std::string(key_path));

  std::vector<std::string> lines;
  bool continued = false;
  while (reader.Next(line) && !(!continued && line.starts_with("["))) {
    if (continued) {
      lines.back() += TrimBlanks(line);
    } else {
      lines.push_back(line);
    }
    continued = lines.back().ends_with('\\');
    if (continued) lines.back().pop_back();
  }
  return lines;
}

std::string WithoutTrailingSlashes(std::string path) {
  while (!path.empty() && path.back() == '/') path.pop_back();
  return path;
}

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

class WineLookup : public FavoritesLookup {
 public:
  explicit WineLookup(std::string prefix) : prefix_(WithoutTrailingSlashes(std::move(prefix))) {}

  Result<std::string> FavoritesFolder() override {
    if (prefix_.empty()) return Status::Error("no Wine prefix: neither WINEPREFIX nor HOME is set");
    const std::string file = prefix_ + "/user.reg";
    const Result<std::vector<std::string>> lines = ReadSection(file, kShellFoldersKey);
    if (!lines.ok()) return lines.status();
    for (const std::string& line : *lines) {
      std::size_t pos = 0;
      if (!IsValueLine(line, kFavoritesValueName, pos)) continue;
      const Result<std::string> text = TextOfData(std::string_view(line).substr(pos + 1));
      if (!text.ok()) {
        return Status::Error("the Favorites value in " + file + " " + text.status().reason());
      }
      return NativePath(*text);
    }
    return Status::Error(file + " names no Favorites folder");
  }

 private:
  // "X:\rest" as "<prefix>/dosdevices/x:/rest".
  Result<std::string> NativePath(const std::string& windows_path) const {
    const bool drive_path = windows_path.size() >= 3 && IsAsciiLetter(windows_path[0]) &&
                            windows_path[1] == ':' && windows_path[2] == '\\';
    if (!drive_path) {
      return Status::Error("the Favorites folder " + windows_path + " is on no drive of " +
                           prefix_);
    }
    std::string rest = windows_path.substr(3);
    for (char& c : rest) {
      if (c == '\\') c = '/';
    }
    return prefix_ + "/dosdevices/" + AsciiLowerCase(windows_path.substr(0, 1)) + ":/" + rest;
  }

  std::string prefix_;
};

}  // namespace

std::string WinePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix && *prefix) return prefix;
  const char* home = std::getenv("HOME");
  if (home && *home) return WithoutTrailingSlashes(home) + "/.wine";
  return "";
}

std::unique_ptr<FavoritesLookup> WineFavoritesLookup(std::string prefix) {
  return std::make_unique<WineLookup>(std::move(prefix));
}

std::unique_ptr<FavoritesLookup> SystemFavoritesLookup() {
  return WineFavoritesLookup(WinePrefix());
}

// Off Windows there is no fixed place for favourites: the first run asks the
// registry file.
const char* DesignFavoritesFolder() {
  return "";
}

}  // namespace qv
