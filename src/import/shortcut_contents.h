// The Internet Shortcut file of a bookmark, written as Windows writes it: the
// address in an ASCII form under [InternetShortcut], and for an address with
// other characters the same again under [InternetShortcut.A] and the address
// itself, in UTF-7, under [InternetShortcut.W]. Lines end in CR LF. No copy
// holds a control character: each is percent-encoded, as browsers do.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::import {

// An ASCII form of the (cleaned) address that opens the same page: a host
// with other characters in its ASCII form ("xn--..."), or percent-encoded
// when it has none; elsewhere every byte outside printable ASCII, blanks
// included, percent-encoded. "%" and everything else stays as it is, so what
// is encoded already is not encoded twice.
std::string AsciiAddress(std::string_view address);

// The bytes of the shortcut file for `address` (see CleanAddress); nothing
// when the address is longer than the program's shortcut reader takes. An
// address that is not valid UTF-8 keeps its bytes percent-encoded in the
// ASCII form and gets no Unicode copy, which could not hold them.
std::optional<std::string> ShortcutContents(std::string_view address);

}  // namespace qv::import
