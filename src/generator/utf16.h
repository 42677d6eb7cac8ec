// UTF-16, the form of file names and registry texts on Windows, and UTF-8,
// the form of every text inside the program.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// `utf16` as UTF-8. A surrogate without its partner, which Windows allows in
// a file name, becomes the three bytes that UTF-8 would give it if it were a
// character (the "WTF-8" form), so that Utf16FromUtf8 gives the name back.
std::string Utf8FromUtf16(std::u16string_view utf16);

// `utf8` as UTF-16: the inverse of Utf8FromUtf16. Any other byte that is not
// part of a valid sequence becomes U+FFFD.
std::u16string Utf16FromUtf8(std::string_view utf8);

}  // namespace qv
