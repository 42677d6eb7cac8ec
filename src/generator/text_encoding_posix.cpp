// Texts here are UTF-8 whatever the locale variables say, so that the same
// files give the same page under any LANG. Bytes that do not form a valid
// sequence are kept and count as one character each.
#include <locale.h>
#include <wctype.h>

#include <string>

#include "generator/text.h"

namespace qv {
namespace {

unsigned char ByteAt(std::string_view text, std::size_t pos) {
  return pos < text.size() ? static_cast<unsigned char>(text[pos]) : 0;
}

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
  return byte >= low && byte <= high;
}

// Length of the valid UTF-8 sequence at `pos` (RFC 3629: no overlong forms,
// no surrogates, nothing above U+10FFFF), or 0 when there is none.
std::size_t ValidSequenceLength(std::string_view text, std::size_t pos) {
  const unsigned char lead = ByteAt(text, pos);
  // The allowed range of the second byte depends on the lead byte; the
  // remaining bytes are plain continuation bytes.
  unsigned char low = 0x80, high = 0xBF;
  std::size_t length = 0;
  if (lead < 0x80) return 1;
  if (InRange(lead, 0xC2, 0xDF)) length = 2;
  if (InRange(lead, 0xE0, 0xEF)) length = 3;
  if (InRange(lead, 0xF0, 0xF4)) length = 4;
  if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
  if (lead == 0xED) high = 0x9F;  // surrogates U+D800..U+DFFF
  if (lead == 0xF0) low = 0x90;   // overlong below U+10000
  if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  if (length == 0 || !InRange(ByteAt(text, pos + 1), low, high)) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!InRange(ByteAt(text, pos + i), 0x80, 0xBF)) return 0;
  }
  return length;
}

char32_t Decode(std::string_view text, std::size_t pos, std::size_t length) {
  static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t code = ByteAt(text, pos) & kLeadMask[length];
  for (std::size_t i = 1; i < length; ++i) code = (code << 6) | (ByteAt(text, pos + i) & 0x3F);
  return code;
}

bool IsScalarValue(char32_t code) {
  return code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

// A locale object of its own, so that the process locale (which a GUI
// toolkit sets from the environment) never changes the mapping. Null when
// the system has no C.UTF-8 locale; only ASCII is mapped then.
locale_t Utf8Locale() {
  static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
  return locale;
}

char32_t UpperCodePoint(char32_t code) {
  if (code >= 'a' && code <= 'z') return code - 'a' + 'A';
  if (code < 0x80) return code;
  const locale_t locale = Utf8Locale();
  if (locale == static_cast<locale_t>(0)) return code;
  const auto upper = static_cast<char32_t>(towupper_l(static_cast<wint_t>(code), locale));
  return IsScalarValue(upper) ? upper : code;
}

}  // namespace

std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const std::size_t length = ValidSequenceLength(text, pos);
  return length == 0 ? 1 : length;
}

std::string UpperCase(std::string_view text) {
  std::string upper;
  upper.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = ValidSequenceLength(text, pos);
    if (length == 0) {
      upper += text[pos++];  // not UTF-8: kept as it is
      continue;
    }
    AppendUtf8(UpperCodePoint(Decode(text, pos, length)), upper);
    pos += length;
  }
  return upper;
}

}  // namespace qv
