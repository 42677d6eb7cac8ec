#include "import/utf8_text.h"

#include "generator/text.h"

namespace qv::import {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

unsigned char ByteAt(std::string_view text, std::size_t pos) {
  return pos < text.size() ? static_cast<unsigned char>(text[pos]) : 0;
}

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
  return byte >= low && byte <= high;
}

// The length of the valid sequence at `pos`, or 0 when there is none.
std::size_t SequenceLength(std::string_view text, std::size_t pos) {
  const unsigned char lead = ByteAt(text, pos);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
  if (InRange(lead, 0xC2, 0xDF)) length = 2;
  if (InRange(lead, 0xE0, 0xEF)) length = 3;
  if (InRange(lead, 0xF0, 0xF4)) length = 4;
  if (lead == 0xE0) low = 0xA0;   // overlong below U+0800
  if (lead == 0xED) high = 0x9F;  // surrogates
  if (lead == 0xF0) low = 0x90;   // overlong below U+10000
  if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  if (length == 0 || !InRange(ByteAt(text, pos + 1), low, high)) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!InRange(ByteAt(text, pos + i), 0x80, 0xBF)) return 0;
  }
  return length;
}

char32_t DecodeAt(std::string_view text, std::size_t pos, std::size_t length) {
  static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t code = ByteAt(text, pos) & kLeadMask[length];
  for (std::size_t i = 1; i < length; ++i) code = (code << 6) | (ByteAt(text, pos + i) & 0x3F);
  return code;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = SequenceLength(text, pos);
    if (length == 0) return false;
    pos += length;
  }
  return true;
}

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string codes;
  codes.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t length = SequenceLength(text, pos);
    codes += length == 0 ? kReplacementCharacter : DecodeAt(text, pos, length);
    pos += length == 0 ? 1 : length;
  }
  return codes;
}

std::string EncodeUtf8(std::u32string_view code_points) {
  std::string text;
  text.reserve(code_points.size());
  for (const char32_t code : code_points) AppendUtf8(code, text);
  return text;
}

}  // namespace qv::import
