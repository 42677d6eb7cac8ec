// The number and character rules on any text, each against an independent
// reference: the C library's number conversion and UTF-8 decoder.
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "generator/text.h"
#include "support/scratch.h"

namespace qv::fuzz {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The decimal number at the start of `text` the way the rule reads it (blanks
// anywhere passed over, "D" as an exponent marker), rewritten for strtod.
std::string DecimalPrefix(std::string_view text) {
  std::string compact;
  for (char c : text) {
    if (!IsBlank(c)) compact += c;
  }
  std::string number;
  std::size_t pos = 0;
  const auto at = [&](std::size_t i) { return i < compact.size() ? compact[i] : '\0'; };
  if (at(pos) == '+' || at(pos) == '-') number += compact[pos++];
  bool digits = false;
  for (bool point = false; IsDigit(at(pos)) || (at(pos) == '.' && !point); ++pos) {
    point = point || at(pos) == '.';
    digits = digits || IsDigit(at(pos));
    number += at(pos);
  }
  if (!digits) return "0";
  const char marker = at(pos);
  if (marker == 'E' || marker == 'e' || marker == 'D' || marker == 'd') {
    std::string exponent = "e";
    ++pos;
    if (at(pos) == '+' || at(pos) == '-') exponent += compact[pos++];
    while (IsDigit(at(pos))) exponent += compact[pos++];
    number += exponent;  // strtod ends before a marker without digits
  }
  return number;
}

void CheckLeadingNumber(std::string_view text) {
  const double value = LeadingNumber(text);
  Check(!std::isnan(value), "a leading number is a number");
  std::string_view rest = text;
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  if (rest.starts_with("&")) return;  // "&H" and "&O" numbers
  const std::string prefix = DecimalPrefix(text);
  const double expected = std::strtod(prefix.c_str(), nullptr);
  Check(value == expected || (value == 0 && expected == 0),
        "the leading number is the correctly rounded value of its digits");

  const Result<std::int16_t> rounded = RoundToInt16(value);
  const double nearest = std::nearbyint(value);  // halves to even
  const bool in_range = std::isfinite(value) && nearest >= -32768 && nearest <= 32767;
  Check(rounded.ok() == in_range, "rounding fails exactly outside the 16-bit range");
  if (rounded.ok()) Check(*rounded == nearest, "rounding takes the nearest, halves to even");
}

void CheckCharacters(std::string_view text) {
  const std::size_t count = CharCount(text);
  Check(count == Utf8CharCount(text), "characters count as the C library decodes them");
  for (std::size_t n : {std::size_t{0}, std::size_t{1}, count / 3, count / 2, count - count / 4}) {
    const std::string_view left = LeftChars(text, n);
    const std::string_view right = CharsFrom(text, n + 1);
    Check(std::string(left) + std::string(right) == text, "a cut leaves nothing out");
    Check(CharCount(left) == std::min(n, count) && CharCount(left) + CharCount(right) == count,
          "a cut falls between characters");
  }
  const std::string upper = UpperCase(text);
  Check(CharCount(upper) == count, "upper-casing keeps the number of characters");
  Check(UpperCase(upper) == upper, "upper-cased text stays as it is");
  Check(IsValidUtf8(upper) == IsValidUtf8(text), "upper-casing keeps UTF-8 valid");
}

void CheckEscape(std::string_view text) {
  const std::string escaped = EscapeHtml(text);
  Check(escaped.find_first_of("<>\"\r\n") == std::string::npos, "no markup survives escaping");
  for (std::size_t pos = escaped.find('#'); pos != std::string::npos;
       pos = escaped.find('#', pos + 1)) {
    Check(pos > 0 && escaped[pos - 1] == '&', "a # stands only in a character reference");
  }
}

// NameLess must be a strict weak order, or sorting names is undefined.
void CheckNameOrder(std::string_view a, std::string_view b, std::string_view c) {
  Check(!NameLess(a, a), "no name comes before itself");
  Check(!(NameLess(a, b) && NameLess(b, a)), "two names are ordered one way");
  if (NameLess(a, b) && NameLess(b, c)) Check(NameLess(a, c), "the name order is transitive");
  if (a != b) Check(NameLess(a, b) || NameLess(b, a), "different names are ordered");
}

}  // namespace
}  // namespace qv::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace qv::fuzz;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CheckLeadingNumber(input);
  CheckCharacters(input);
  CheckEscape(input);
  const std::size_t first = std::min(input.find('|'), input.size());
  const std::size_t second = std::min(input.find('|', first + 1), input.size());
  const std::string_view a = input.substr(0, first);
  const std::string_view b = input.substr(std::min(first + 1, input.size()), second - first - 1);
  const std::string_view c = input.substr(std::min(second + 1, input.size()));
  CheckNameOrder(a, b, c);
  return 0;
}
