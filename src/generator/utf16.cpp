#include "generator/utf16.h"

#include "generator/text.h"

namespace qv {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The surrogate that Utf8FromUtf16 wrote at byte `pos` as three bytes
// ED A0..BF 80..BF, or 0 when there is none.
char16_t LoneSurrogateAt(std::string_view utf8, std::size_t pos) {
  if (pos + 2 >= utf8.size()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[pos + i]); };
  if (byte(0) != 0xED || byte(1) < 0xA0 || byte(1) > 0xBF || (byte(2) & 0xC0) != 0x80) return 0;
  return static_cast<char16_t>(0xD000 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F));
}

// Writes a code point, or a lone surrogate, the way UTF-8 writes characters.
void AppendCode(char32_t code, std::string& out) {
  if (code < 0xD800 || code > 0xDFFF) {
    AppendUtf8(code, out);
    return;
  }
  out += static_cast<char>(0xE0 | (code >> 12));
  out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
  out += static_cast<char>(0x80 | (code & 0x3F));
}

}  // namespace

std::string Utf8FromUtf16(std::u16string_view utf16) {
  std::string utf8;
  utf8.reserve(utf16.size());
  for (std::size_t i = 0; i < utf16.size(); ++i) {
    const char32_t unit = utf16[i];
    if (IsHighSurrogate(unit) && i + 1 < utf16.size() && IsLowSurrogate(utf16[i + 1])) {
      AppendCode(0x10000 + ((unit - 0xD800) << 10) + (utf16[++i] - 0xDC00), utf8);
    } else {
      AppendCode(unit, utf8);
    }
  }
  return utf8;
}

std::u16string Utf16FromUtf8(std::string_view utf8) {
  std::u16string utf16;
  utf16.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const Utf8Char c = Utf8CharAt(utf8, pos);
    if (c.length == 0) {
      const char16_t surrogate = LoneSurrogateAt(utf8, pos);
      utf16 += surrogate != 0 ? surrogate : kReplacement;
      pos += surrogate != 0 ? 3 : 1;
    } else if (c.code >= 0x10000) {
      utf16 += static_cast<char16_t>(0xD800 + ((c.code - 0x10000) >> 10));
      utf16 += static_cast<char16_t>(0xDC00 + ((c.code - 0x10000) & 0x3FF));
      pos += c.length;
    } else {
      utf16 += static_cast<char16_t>(c.code);
      pos += c.length;
    }
  }
  return utf16;
}

}  // namespace qv
