// The parts of a bookmark's address that the importer needs, read the way a
// browser reads an address it is given.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qv::import {

// `address` as a browser takes it: tabs and line breaks removed, and control
// characters and blanks at either end.
std::string CleanAddress(std::string_view address);

// The scheme of `address` in lower case ("http", "javascript"); empty when
// the address does not begin with one.
std::string AddressScheme(std::string_view address);

// Where the host of `address` stands, for an address with an authority
// ("scheme://user@host:port/..."); nothing for one without ("mailto:...").
// A bracketed IPv6 host keeps its brackets.
struct HostSpan {
  std::size_t begin = 0;
  std::size_t end = 0;
};
std::optional<HostSpan> FindHost(std::string_view address);

// The host of `address`, or empty.
std::string_view AddressHost(std::string_view address);

}  // namespace qv::import
