// Internationalised host names in their ASCII form, one implementation per
// platform (idna_libidn2.cpp, idna_win.cpp).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::import {

// The ASCII form of the UTF-8 host name `host` ("bücher.example" gives
// "xn--bcher-kva.example"), mapped as browsers map it (letter case folded,
// full-width dots taken for dots); nothing when the name is not one that can
// be converted.
std::optional<std::string> HostToAscii(std::string_view host);

}  // namespace qv::import
