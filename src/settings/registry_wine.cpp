#include "settings/registry_wine.h"

#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/text.h"
#include "generator/text_file.h"
#include "settings/favorites_folder.h"

namespace qv {
namespace {

// The registry's own error codes.
constexpr std::int32_t kNotFound = 2;
constexpr std::int32_t kInvalidHandle = 6;
constexpr std::int32_t kMoreData = 234;

constexpr std::uint32_t kRegistryNone = 0;
constexpr std::uint32_t kRegistryBinary = 3;

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
// closing quote. Nothing when the quote is never closed.
std::optional<std::string> ReadQuoted(std::string_view text, std::size_t& pos) {
  if (pos >= text.size() || text[pos] != '"') return std::nullopt;
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
  return std::nullopt;
}

struct StoredValue {
  std::uint32_t type = kRegistryNone;
  std::string data;
};

// "hex:01,02,..." data: the bytes; nothing when a piece is not one byte in
// hexadecimal.
std::optional<std::string> HexBytes(std::string_view text) {
  std::string bytes;
  for (std::size_t pos = 0; pos <= text.size();) {
    std::size_t comma = text.find(',', pos);
    if (comma == std::string_view::npos) comma = text.size();
    std::string_view piece = text.substr(pos, comma - pos);
    while (!piece.empty() && (piece.front() == ' ' || piece.front() == '\t'))
      piece.remove_prefix(1);
    while (!piece.empty() && (piece.back() == ' ' || piece.back() == '\t')) piece.remove_suffix(1);
    pos = comma + 1;
    if (piece.empty()) continue;
    if (piece.size() > 2) return std::nullopt;
    int byte = 0;
    for (char c : piece) {
      if (DigitValue(c, 16) < 0) return std::nullopt;
      byte = byte * 16 + DigitValue(c, 16);
    }
    bytes += static_cast<char>(byte);
  }
  return bytes;
}

// A text stored as UTF-16LE code units, as "hex(1):" holds it, as UTF-8
// followed by its zero.
std::string TextFromUtf16(std::string_view bytes) {
  Utf8Text out;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char32_t unit =
        static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8);
    if (unit == 0) break;
    out.AddUnit(unit);
  }
  return out.Take() + '\0';
}

// The type number of "hex(N):" or "str(N):"; pos ends after the "):".
std::optional<std::uint32_t> TypeInParentheses(std::string_view text, std::size_t& pos) {
  const auto close = text.find("):", pos);
  if (close == std::string_view::npos || close == pos) return std::nullopt;
  std::uint32_t type = 0;
  for (; pos < close; ++pos) {
    const int digit = DigitValue(text[pos], 16);
    if (digit < 0 || type > 0x0FFFFFFF) return std::nullopt;
    type = type * 16 + digit;
  }
  pos = close + 2;
  return type;
}

std::optional<StoredValue> DwordValue(std::string_view digits) {
  if (digits.empty() || digits.size() > 8) return std::nullopt;
  std::uint32_t number = 0;
  for (char c : digits) {
    const int digit = DigitValue(c, 16);
    if (digit < 0) return std::nullopt;
    number = number * 16 + digit;
  }
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((number >> (8 * i)) & 0xFF);
  return StoredValue{kRegistryNumber, bytes};
}

// The value written after the "=" of a value line.
StoredValue ParseData(std::string_view data) {
  std::size_t pos = 0;
  if (data.starts_with("\"")) {
    if (auto text = ReadQuoted(data, pos)) return {kRegistryText, *text + '\0'};
  } else if (data.starts_with("dword:")) {
    if (auto value = DwordValue(data.substr(6))) return *value;
  } else if (data.starts_with("str(")) {
    pos = 4;
    auto type = TypeInParentheses(data, pos);
    auto text = type ? ReadQuoted(data, pos) : std::nullopt;
    if (text) return {*type, *text + '\0'};
  } else if (data.starts_with("hex:")) {
    if (auto bytes = HexBytes(data.substr(4))) return {kRegistryBinary, *bytes};
  } else if (data.starts_with("hex(")) {
    pos = 4;
    auto type = TypeInParentheses(data, pos);
    auto bytes = type ? HexBytes(data.substr(pos)) : std::nullopt;
    // Wine keeps a text it cannot write as such in UTF-16 bytes.
    if (bytes) return {*type, *type == kRegistryText ? TextFromUtf16(*bytes) : *bytes};
  }
  return {};
}

// The value of `line` when it is the line of value `name` ("@" stands for the
// unnamed value).
std::optional<StoredValue> ValueOfLine(std::string_view line, const std::string& name) {
  std::size_t pos = 0;
  if (line.starts_with("@=")) {
    if (!name.empty()) return std::nullopt;
    pos = 1;
  } else {
    auto line_name = ReadQuoted(line, pos);
    if (!line_name || AsciiLowerCase(*line_name) != AsciiLowerCase(name)) return std::nullopt;
  }
  if (pos >= line.size() || line[pos] != '=') return std::nullopt;
  return ParseData(line.substr(pos + 1));
}

// "[" and the key path with its backslashes doubled, as a section header
// begins; the header goes on with "]" and the time of the last change.
std::string SectionHeader(const std::string& key_path) {
  std::string header = "[";
  for (char c : key_path) {
    header += c;
    if (c == '\\') header += '\\';
  }
  return header + "]";
}

// The value lines of the section of `key_path`, a line ending in "\" joined
// with the next; nothing when the file or the section is missing.
std::optional<std::vector<std::string>> ReadSection(const std::string& file,
                                                    const std::string& key_path) {
  LineReader reader(file);
  if (!reader.is_open()) return std::nullopt;
  const std::string header = SectionHeader(key_path);
  std::string line;
  bool found = false;
  while (!found && reader.Next(line)) found = StartsWithIgnoringCase(line, header);
  if (!found) return std::nullopt;

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

class WineRegistry : public RegistryApi {
 public:
  explicit WineRegistry(std::string prefix) : prefix_(std::move(prefix)) {}

  std::int32_t OpenKey(RegistryKey root, const std::string& key_path, std::uint32_t, std::uint32_t,
                       RegistryKey* opened) override {
    if (root != kHkeyCurrentUser) return kInvalidHandle;
    if (prefix_.empty()) return kNotFound;
    auto lines = ReadSection(WithoutTrailingSlashes(prefix_) + "/user.reg", key_path);
    if (!lines) return kNotFound;
    const RegistryKey handle = next_handle_++;
    open_keys_[handle] = std::move(*lines);
    if (opened) *opened = handle;
    return kRegistrySuccess;
  }

  std::int32_t QueryValue(RegistryKey key, const std::string& value_name, std::uint32_t* type,
                          unsigned char* data, std::uint32_t* size) override {
    const auto open = open_keys_.find(key);
    if (open == open_keys_.end()) return kInvalidHandle;
    for (const std::string& line : open->second) {
      if (auto value = ValueOfLine(line, value_name)) return Hand(*value, type, data, size);
    }
    return kNotFound;
  }

  std::int32_t CloseKey(RegistryKey key) override {
    return open_keys_.erase(key) ? kRegistrySuccess : kInvalidHandle;
  }

  std::string NativePath(const std::string& registry_path) override {
    const char drive = registry_path.empty() ? '\0' : registry_path[0];
    const bool drive_path = ((drive >= 'a' && drive <= 'z') || (drive >= 'A' && drive <= 'Z')) &&
                            registry_path.size() >= 3 && registry_path[1] == ':' &&
                            registry_path[2] == '\\';
    if (prefix_.empty() || !drive_path) return "";
    std::string rest = registry_path.substr(3);
    for (char& c : rest) {
      if (c == '\\') c = '/';
    }
    return WithoutTrailingSlashes(prefix_) + "/dosdevices/" +
           AsciiLowerCase(std::string(1, drive)) + ":/" + rest;
  }

 private:
  // Hands type and data over the way the registry does: the size alone when
  // there is no buffer, "more data" when the buffer is too small.
  static std::int32_t Hand(const StoredValue& value, std::uint32_t* type, unsigned char* data,
                           std::uint32_t* size) {
    if (type) *type = value.type;
    const auto needed = static_cast<std::uint32_t>(value.data.size());
    if (data == nullptr) {
      if (size) *size = needed;
      return kRegistrySuccess;
    }
    if (size == nullptr || *size < needed) {
      if (size) *size = needed;
      return kMoreData;
    }
    std::memcpy(data, value.data.data(), needed);
    *size = needed;
    return kRegistrySuccess;
  }

  std::string prefix_;
  std::map<RegistryKey, std::vector<std::string>> open_keys_;
  RegistryKey next_handle_ = 1;
};

}  // namespace

std::string WinePrefix() {
  const char* prefix = std::getenv("WINEPREFIX");
  if (prefix && *prefix) return prefix;
  const char* home = std::getenv("HOME");
  if (home && *home) return WithoutTrailingSlashes(home) + "/.wine";
  return "";
}

std::unique_ptr<RegistryApi> OpenWineRegistry(std::string prefix) {
  return std::make_unique<WineRegistry>(std::move(prefix));
}

std::unique_ptr<RegistryApi> SystemRegistry() {
  return OpenWineRegistry(WinePrefix());
}

// Off Windows there is no fixed place for favourites: the first run asks the
// registry file.
const char* DesignFavoritesFolder() {
  return "";
}

}  // namespace qv
