#include "import/utf8_text.h"

#include "generator/text.h"

namespace qv::import {
namespace {

constexpr char32_t kReplacementCharacter = 0xFFFD;

}  // namespace

bool IsValidUtf8(std::string_view text) {
  Utf8Validator validator;
  validator.Add(text);
  return validator.valid();
}

std::u32string DecodeUtf8(std::string_view text) {
  std::u32string codes;
  codes.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const Utf8Char character = Utf8CharAt(text, pos);
    codes += character.length == 0 ? kReplacementCharacter : character.code;
    pos += character.length == 0 ? 1 : character.length;
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
