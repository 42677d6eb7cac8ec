// UTF-7 (RFC 2152), the form in which the Unicode copy of a shortcut's
// address is stored: ASCII stands as itself, other characters as base64 of
// their UTF-16 code units between "+" and "-", and "+" itself as "+-".
#pragma once

#include <string>
#include <string_view>

#include "generator/status.h"

namespace qv {

// `utf8` as UTF-7. Bytes that are not valid UTF-8 are taken as U+FFFD.
std::string EncodeUtf7(std::string_view utf8);

// The UTF-8 text of `utf7`, or why it is not valid UTF-7 (a byte outside
// ASCII, bits left over that are not zero, an unpaired surrogate).
Result<std::string> DecodeUtf7(std::string_view utf7);

}  // namespace qv
