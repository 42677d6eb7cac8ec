#include "generator/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

namespace qv {
namespace {

// The byte offset just past the first `count` characters of `text`.
std::size_t OffsetAfterChars(std::string_view text, std::size_t count) {
  std::size_t pos = 0;
  for (std::size_t i = 0; i < count && pos < text.size(); ++i) {
    pos += std::max<std::size_t>(1, CharLengthAt(text, pos));
  }
  return std::min(pos, text.size());
}

// What a lead byte of UTF-8 asks of the bytes after it: how many follow, and
// the range of the first of them (the rest are plain continuation bytes).
// Length 0 for a byte that cannot lead a sequence of two or more.
struct LeadRule {
  int length = 0;
  unsigned char low = 0x80, high = 0xBF;
};

LeadRule RuleOfLead(unsigned char lead) {
  LeadRule rule;
  if (lead >= 0xC2 && lead <= 0xDF) rule.length = 2;
  if (lead >= 0xE0 && lead <= 0xEF) rule.length = 3;
  if (lead >= 0xF0 && lead <= 0xF4) rule.length = 4;
  if (lead == 0xE0) rule.low = 0xA0;   // overlong below U+0800
  if (lead == 0xED) rule.high = 0x9F;  // surrogates U+D800..U+DFFF
  if (lead == 0xF0) rule.low = 0x90;   // overlong below U+10000
  if (lead == 0xF4) rule.high = 0x8F;  // above U+10FFFF
  return rule;
}

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
  return byte >= low && byte <= high;
}

char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// Reads the text the way a BASIC Val does: blanks anywhere are passed over,
// and the first character that cannot continue the number ends it.
class NumberScanner {
 public:
  explicit NumberScanner(std::string_view text) : text_(text) {}

  // The next character that is not a blank, without taking it; 0 at the end.
  char Peek() {
    while (pos_ < text_.size() && IsBlank(text_[pos_])) ++pos_;
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  void Take() { ++pos_; }

 private:
  static bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

  std::string_view text_;
  std::size_t pos_ = 0;
};

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// "&H1F" or "&O17": the digits after the prefix in base 16 or 8.
double RadixNumber(NumberScanner& scanner) {
  scanner.Take();  // the "&"
  const char kind = scanner.Peek();
  int radix = 0;
  if (kind == 'H' || kind == 'h') radix = 16;
  if (kind == 'O' || kind == 'o') radix = 8;
  if (radix == 0) return 0;
  scanner.Take();
  double value = 0;
  for (int digit; (digit = DigitValue(scanner.Peek(), radix)) >= 0; scanner.Take()) {
    value = value * radix + digit;
  }
  return value;
}

// More significant digits than any double needs to be correctly rounded
// (767); the rest only shift the decimal exponent, and whether any of them is
// not zero still matters: it lifts a value that the kept digits put exactly
// half-way between two doubles.
constexpr std::size_t kMaxSignificantDigits = 800;
// Beyond this a decimal exponent is far outside every double's range.
constexpr std::int64_t kExponentLimit = 1'000'000'000;

// A decimal number as significant digits and the power of ten of the digit
// just left of the first one: its value is 0.<digits> * 10^exponent.
struct DecimalParts {
  std::string digits;
  std::int64_t exponent = 0;
  bool any_digit = false;
  bool dropped_non_zero = false;  // a digit past the kept ones is not zero
};

void ScanMantissa(NumberScanner& scanner, DecimalParts& parts) {
  bool after_point = false;
  for (char c = scanner.Peek();; c = scanner.Peek()) {
    if (c == '.' && !after_point) {
      after_point = true;
    } else if (IsDigit(c)) {
      parts.any_digit = true;
      if (parts.digits.empty() && c == '0') {
        if (after_point) --parts.exponent;  // leading zero after the point
      } else {
        if (parts.digits.size() < kMaxSignificantDigits) {
          parts.digits += c;
        } else if (c != '0') {
          parts.dropped_non_zero = true;
        }
        if (!after_point) ++parts.exponent;
      }
    } else {
      return;
    }
    scanner.Take();
  }
}

std::int64_t ScanExponent(NumberScanner& scanner) {
  const char marker = scanner.Peek();
  if (marker != 'E' && marker != 'e' && marker != 'D' && marker != 'd') return 0;
  scanner.Take();
  bool negative = false;
  if (scanner.Peek() == '+' || scanner.Peek() == '-') {
    negative = scanner.Peek() == '-';
    scanner.Take();
  }
  std::int64_t exponent = 0;
  for (char c; IsDigit(c = scanner.Peek()); scanner.Take()) {
    exponent = std::min(exponent * 10 + (c - '0'), kExponentLimit);
  }
  return negative ? -exponent : exponent;
}

double DecimalValue(const DecimalParts& parts) {
  if (parts.digits.empty()) return 0;
  const std::int64_t exponent = std::clamp(parts.exponent, -kExponentLimit, kExponentLimit);
  // One digit stands for all dropped ones: it rounds the same way they do.
  const std::string text =
      "0." + parts.digits + (parts.dropped_non_zero ? "1" : "") + "e" + std::to_string(exponent);
  double value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    return exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return value;
}

// The character reference a character of Favorites text is written as on the
// page, or nothing for a character written as it is.
std::string_view HtmlReference(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    case '#':
      // Every placeholder and default colour the merge looks for holds a
      // "#"; written as a reference, a name from the Favorites folder can
      // never be mistaken for one.
      return "&#35;";
    case '\r':
      return "&#13;";
    case '\n':
      return "&#10;";
    default:
      return {};
  }
}

}  // namespace

Utf8Char Utf8CharAt(std::string_view text, std::size_t pos) {
  const auto byte = [&](std::size_t i) -> unsigned char {
    return pos + i < text.size() ? static_cast<unsigned char>(text[pos + i]) : 0;
  };
  if (pos >= text.size()) return {};
  if (byte(0) < 0x80) return {byte(0), 1};
  static constexpr unsigned char kLeadMask[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  const LeadRule rule = RuleOfLead(byte(0));
  if (rule.length == 0 || !InRange(byte(1), rule.low, rule.high)) return {};
  char32_t code = byte(0) & kLeadMask[rule.length];
  for (int i = 1; i < rule.length; ++i) {
    if (i > 1 && !InRange(byte(i), 0x80, 0xBF)) return {};
    code = (code << 6) | (byte(i) & 0x3F);
  }
  return {code, static_cast<std::size_t>(rule.length)};
}

std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  return std::max<std::size_t>(1, Utf8CharAt(text, pos).length);
}

void Utf8Validator::Add(std::string_view piece) {
  for (std::size_t i = 0; valid_ && i < piece.size(); ++i) {
    const auto byte = static_cast<unsigned char>(piece[i]);
    if (pending_ > 0) {
      valid_ = InRange(byte, low_, high_);
      low_ = 0x80;
      high_ = 0xBF;
      --pending_;
    } else if (byte >= 0x80) {
      const LeadRule rule = RuleOfLead(byte);
      valid_ = rule.length > 0;
      pending_ = std::max(rule.length - 1, 0);
      low_ = rule.low;
      high_ = rule.high;
    }
  }
}

int DigitValue(char c, int radix) {
  int value = -1;
  if (c >= '0' && c <= '9') value = c - '0';
  if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < radix ? value : -1;
}

std::size_t CharCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) {
    pos += std::max<std::size_t>(1, CharLengthAt(text, pos));
  }
  return count;
}

std::string_view LeftChars(std::string_view text, std::size_t count) {
  return text.substr(0, OffsetAfterChars(text, count));
}

std::string_view CharsFrom(std::string_view text, std::size_t position) {
  if (position <= 1) return text;
  return text.substr(OffsetAfterChars(text, position - 1));
}

std::string_view TrimBlanks(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

std::string AsciiLowerCase(std::string_view text) {
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), AsciiLower);
  return lower;
}

std::size_t FindAsciiFolded(std::string_view text, std::string_view needle) {
  const auto folded_equal = [](char x, char y) { return AsciiLower(x) == AsciiLower(y); };
  const auto found =
      std::search(text.begin(), text.end(), needle.begin(), needle.end(), folded_equal);
  if (found == text.end() && !needle.empty()) return std::string_view::npos;
  return static_cast<std::size_t>(found - text.begin());
}

bool EqualAsciiFolded(std::string_view a, std::string_view b) {
  return a.size() == b.size() && FindAsciiFolded(a, b) == 0;
}

void AppendEscapedHtml(std::string_view text, std::string& out) {
  // Names and addresses are mostly characters written as they are: copied a
  // run at a time, with the references between the runs.
  std::size_t run_start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string_view reference = HtmlReference(text[i]);
    if (reference.empty()) continue;
    out.append(text.substr(run_start, i - run_start));
    out.append(reference);
    run_start = i + 1;
  }
  out.append(text.substr(run_start));
}

std::string EscapeHtml(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  AppendEscapedHtml(text, escaped);
  return escaped;
}

bool NameLess(std::string_view a, std::string_view b) {
  // One pass: the first difference with letters folded decides; failing
  // that the shorter name comes first; names that differ only in letter case
  // go by their first differing byte.
  const std::size_t common = std::min(a.size(), b.size());
  std::size_t first_byte_difference = common;
  for (std::size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x == y) continue;
    const auto folded_x = static_cast<unsigned char>(AsciiLower(a[i]));
    const auto folded_y = static_cast<unsigned char>(AsciiLower(b[i]));
    if (folded_x != folded_y) return folded_x < folded_y;
    if (first_byte_difference == common) first_byte_difference = i;
  }
  if (a.size() != b.size()) return a.size() < b.size();
  return first_byte_difference < common && static_cast<unsigned char>(a[first_byte_difference]) <
                                               static_cast<unsigned char>(b[first_byte_difference]);
}

double LeadingNumber(std::string_view text) {
  NumberScanner scanner(text);
  if (scanner.Peek() == '&') return RadixNumber(scanner);
  bool negative = false;
  if (scanner.Peek() == '+' || scanner.Peek() == '-') {
    negative = scanner.Peek() == '-';
    scanner.Take();
  }
  DecimalParts parts;
  ScanMantissa(scanner, parts);
  if (!parts.any_digit) return 0;
  // The exponent is added before the clamp in DecimalValue, so both stay far
  // inside the 64-bit range.
  parts.exponent += ScanExponent(scanner);
  const double value = DecimalValue(parts);
  return negative ? -value : value;
}

Result<std::int16_t> RoundToInt16(double value) {
  const Status out_of_range = Status::Error("not a number from -32768 to 32767");
  if (!std::isfinite(value)) return out_of_range;
  // Only exact steps: modf and fmod never round, whereas some C libraries'
  // round() adds 0.5 first and so takes 0.49999999999999994 up to 1.
  double whole = 0;
  const double distance = std::fabs(std::modf(value, &whole));
  double rounded = whole;
  if (distance > 0.5 || (distance == 0.5 && std::fmod(whole, 2.0) != 0.0)) {
    rounded += value < 0 ? -1.0 : 1.0;
  }
  if (rounded < std::numeric_limits<std::int16_t>::min() ||
      rounded > std::numeric_limits<std::int16_t>::max()) {
    return out_of_range;
  }
  return static_cast<std::int16_t>(rounded);
}

void AppendUtf8(char32_t code, std::string& out) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

}  // namespace qv
