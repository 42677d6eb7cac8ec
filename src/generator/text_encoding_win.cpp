// Texts here are in the 8-bit system code page: one byte a character, or two
// for the lead and trail byte of a double-byte code page.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "generator/text.h"

namespace qv {

std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size()) return 0;
  const bool has_trail_byte = pos + 1 < text.size();
  if (has_trail_byte && IsDBCSLeadByte(static_cast<BYTE>(text[pos]))) return 2;
  return 1;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  if (!upper.empty()) CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

}  // namespace qv
