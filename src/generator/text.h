// Text rules shared by every stage. Texts are UTF-8 on every platform;
// positions and lengths count characters. A character is one code point, and
// a byte that is not part of a valid UTF-8 sequence counts as one character;
// a character is never split.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "generator/status.h"

namespace qv {

// The byte length of the character that starts at byte `pos` of `text`; 0
// at or past its end.
std::size_t CharLengthAt(std::string_view text, std::size_t pos);

// The code point of the valid UTF-8 sequence (RFC 3629: no overlong forms, no
// surrogates, nothing above U+10FFFF) at byte `pos` of `text`, and its length
// in bytes; length 0 when no valid sequence starts there.
struct Utf8Char {
  char32_t code = 0;
  std::size_t length = 0;
};
Utf8Char Utf8CharAt(std::string_view text, std::size_t pos);

// Tells whether a text that arrives in pieces is valid UTF-8 as a whole; a
// sequence may be split between two pieces.
class Utf8Validator {
 public:
  void Add(std::string_view piece);
  // True when everything added so far is valid and ends with a whole sequence.
  bool valid() const { return valid_ && pending_ == 0; }
  // True once a byte broke the rules; nothing added later can mend it.
  bool failed() const { return !valid_; }

 private:
  bool valid_ = true;
  int pending_ = 0;                         // continuation bytes still due
  unsigned char low_ = 0x80, high_ = 0xBF;  // the range of the next one
};

// Appends code point `code` to `out` in UTF-8.
void AppendUtf8(char32_t code, std::string& out);

// Number of characters in `text`.
std::size_t CharCount(std::string_view text);

// The first `count` characters of `text` (all of it when shorter).
std::string_view LeftChars(std::string_view text, std::size_t count);

// `text` from its `position`-th character on, counting from 1; empty when the
// text is shorter.
std::string_view CharsFrom(std::string_view text, std::size_t position);

// `text` without leading and trailing space characters (only " ").
std::string_view TrimBlanks(std::string_view text);

// Unicode's simple upper-case mapping, character by character, the same on
// every platform and under every locale: a character whose upper case is more
// than one character (such as "ß") stays as it is; bytes that are not UTF-8
// stay too (upper_case.cpp).
std::string UpperCase(std::string_view text);

// ASCII letters to lower case, every other byte unchanged.
std::string AsciiLowerCase(std::string_view text);

// The position of the first occurrence of `needle` in `text`, ASCII letters
// of both folded to one case; npos when there is none.
std::size_t FindAsciiFolded(std::string_view text, std::string_view needle);

// True when `a` and `b` are the same with ASCII letters folded to one case.
bool EqualAsciiFolded(std::string_view a, std::string_view b);

// Escapes text from the Favorites folder for the page: & < > " # and CR, LF
// become character references.
std::string EscapeHtml(std::string_view text);
// The same, appended to `out`.
void AppendEscapedHtml(std::string_view text, std::string& out);

// Name order: ASCII letters folded to one case, ties broken by byte order.
bool NameLess(std::string_view a, std::string_view b);

// The value of digit `c` in base `radix` (up to 16, letters in either case);
// -1 when `c` is no digit of that base.
int DigitValue(char c, int radix);

// The number at the start of `text`, blanks ignored (sign, digits, a decimal
// point and an exponent); 0 when there is none.
double LeadingNumber(std::string_view text);

// `value` rounded to the nearest whole number, a half going to the even
// neighbour; a failure when the result lies outside the 16-bit signed range.
Result<std::int16_t> RoundToInt16(double value);

}  // namespace qv
