// UTF-8 as the bookmark sources deliver it, independent of the system code
// page: names are made code point by code point.
#pragma once

#include <string>
#include <string_view>

namespace qv::import {

// True when `text` is valid UTF-8 (no overlong forms, no surrogates, nothing
// above U+10FFFF).
bool IsValidUtf8(std::string_view text);

// The code points of `text`; every byte that does not belong to a valid
// sequence becomes U+FFFD.
std::u32string DecodeUtf8(std::string_view text);

std::string EncodeUtf8(std::u32string_view code_points);

}  // namespace qv::import
