#include "generator/utf7.h"

#include <cstddef>
#include <cstdint>

#include "generator/text.h"

namespace qv {
namespace {

constexpr std::string_view kBase64Digits =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kShiftIn = '+';
constexpr char kShiftOut = '-';
constexpr char32_t kReplacementCharacter = 0xFFFD;

bool IsHighSurrogate(char32_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char32_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The value of base64 digit `c`, or -1 when `c` is none.
int Base64Value(char c) {
  const std::size_t found = kBase64Digits.find(c);
  return found == std::string_view::npos ? -1 : static_cast<int>(found);
}

// The code point of the UTF-8 sequence at `pos`, moving `pos` past it. A byte
// that does not start a valid sequence (overlong, surrogate, beyond U+10FFFF,
// cut short) is taken alone as U+FFFD.
char32_t NextCodePoint(std::string_view utf8, std::size_t& pos) {
  const auto byte = [&](std::size_t i) {
    return pos + i < utf8.size() ? static_cast<unsigned char>(utf8[pos + i]) : 0u;
  };
  const unsigned lead = byte(0);
  std::size_t length = 0;
  char32_t code = 0;
  if (lead < 0x80) {
    length = 1, code = lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07;
  }
  bool whole = length > 0;
  for (std::size_t i = 1; i < length && whole; ++i) {
    const unsigned next = byte(i);
    whole = (next & 0xC0) == 0x80;
    code = (code << 6) | (next & 0x3F);
  }
  static constexpr char32_t kShortestOf[] = {0, 0, 0x80, 0x800, 0x10000};
  if (!whole || code < kShortestOf[length] || code > 0x10FFFF || IsHighSurrogate(code) ||
      IsLowSurrogate(code)) {
    ++pos;
    return kReplacementCharacter;
  }
  pos += length;
  return code;
}

// Collects 16-bit code units as base64 digits.
class Base64Run {
 public:
  explicit Base64Run(std::string& out) : out_(out) {}

  void Add(char16_t unit) {
    bits_ = (bits_ << 16) | unit;
    bit_count_ += 16;
    while (bit_count_ >= 6) {
      bit_count_ -= 6;
      out_ += kBase64Digits[(bits_ >> bit_count_) & 0x3F];
    }
    bits_ &= (1u << bit_count_) - 1;
  }

  // Writes the bits still held, padded with zero bits to a whole digit.
  void Finish() {
    if (bit_count_ > 0) out_ += kBase64Digits[(bits_ << (6 - bit_count_)) & 0x3F];
    bit_count_ = 0;
    bits_ = 0;
  }

 private:
  std::string& out_;
  std::uint32_t bits_ = 0;
  int bit_count_ = 0;
};

// Decodes one base64 run that starts at `pos` (just after "+") into `out`,
// moving `pos` past its digits and past a "-" that ends it.
Status DecodeRun(std::string_view utf7, std::size_t& pos, std::string& out) {
  std::uint32_t bits = 0;
  int bit_count = 0;
  char32_t high_surrogate = 0;
  const std::size_t start = pos;
  for (int value; pos < utf7.size() && (value = Base64Value(utf7[pos])) >= 0; ++pos) {
    bits = (bits << 6) | static_cast<std::uint32_t>(value);
    bit_count += 6;
    if (bit_count < 16) continue;
    bit_count -= 16;
    const char32_t unit = (bits >> bit_count) & 0xFFFF;
    bits &= (1u << bit_count) - 1;
    if (high_surrogate != 0) {
      if (!IsLowSurrogate(unit)) return Status::Error("not valid UTF-7: an unpaired surrogate");
      AppendUtf8(0x10000 + ((high_surrogate - 0xD800) << 10) + (unit - 0xDC00), out);
      high_surrogate = 0;
    } else if (IsHighSurrogate(unit)) {
      high_surrogate = unit;
    } else if (IsLowSurrogate(unit)) {
      return Status::Error("not valid UTF-7: an unpaired surrogate");
    } else {
      AppendUtf8(unit, out);
    }
  }
  if (pos == start) return Status::Error("not valid UTF-7: \"+\" starts no base64 run");
  if (high_surrogate != 0) return Status::Error("not valid UTF-7: an unpaired surrogate");
  // Padding fills the last digit only: a whole spare digit, or spare bits
  // that are not zero, mean the text was cut or altered.
  if (bit_count >= 6 || bits != 0) {
    return Status::Error("not valid UTF-7: a base64 run ends with bits left over");
  }
  if (pos < utf7.size() && utf7[pos] == kShiftOut) ++pos;
  return Status::Ok();
}

}  // namespace

std::string EncodeUtf7(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t pos = 0;
  while (pos < utf8.size()) {
    const auto byte = static_cast<unsigned char>(utf8[pos]);
    if (byte < 0x80) {
      out += byte == kShiftIn ? std::string_view("+-") : utf8.substr(pos, 1);
      ++pos;
      continue;
    }
    // A run of characters outside ASCII, always closed by "-" so that the
    // character after it can never be taken for a base64 digit.
    out += kShiftIn;
    Base64Run run(out);
    while (pos < utf8.size() && static_cast<unsigned char>(utf8[pos]) >= 0x80) {
      const char32_t code = NextCodePoint(utf8, pos);
      if (code >= 0x10000) {
        run.Add(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
        run.Add(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
      } else {
        run.Add(static_cast<char16_t>(code));
      }
    }
    run.Finish();
    out += kShiftOut;
  }
  return out;
}

Result<std::string> DecodeUtf7(std::string_view utf7) {
  std::string out;
  out.reserve(utf7.size());
  std::size_t pos = 0;
  while (pos < utf7.size()) {
    const char c = utf7[pos];
    if (static_cast<unsigned char>(c) >= 0x80) {
      return Status::Error("not valid UTF-7: a byte outside ASCII");
    }
    ++pos;
    if (c != kShiftIn) {
      out += c;
    } else if (pos < utf7.size() && utf7[pos] == kShiftOut) {
      out += kShiftIn;
      ++pos;
    } else if (Status status = DecodeRun(utf7, pos, out); !status.ok()) {
      return status;
    }
  }
  return out;
}

}  // namespace qv
