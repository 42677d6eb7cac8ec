// UTF-8 texts as the wide strings of the Windows calls (...W), and back.
// Windows only: there a wchar_t is a UTF-16 code unit.
#pragma once

#include <string>
#include <string_view>

#include "generator/utf16.h"

namespace qv {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows keeps wide texts in UTF-16");

inline std::wstring WideText(std::string_view utf8) {
  const std::u16string utf16 = Utf16FromUtf8(utf8);
  return std::wstring(utf16.begin(), utf16.end());
}

inline std::string Utf8Text(std::wstring_view wide) {
  return Utf8FromUtf16(std::u16string(wide.begin(), wide.end()));
}

}  // namespace qv
