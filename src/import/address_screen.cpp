#include "import/address_screen.h"

#include <algorithm>
#include <array>

#include "generator/text.h"
#include "import/address.h"

namespace qv::import {
namespace {

constexpr std::array<std::string_view, 6> kWrittenSchemes = {"http",   "https", "ftp",
                                                             "mailto", "news",  "tel"};
constexpr std::array<std::string_view, 4> kNamedSchemes = {"javascript", "vbscript", "data",
                                                           "place"};

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsOneOf(std::string_view scheme, const auto& schemes) {
  return std::find(schemes.begin(), schemes.end(), scheme) != schemes.end();
}

// `text` with "\" and the percent-encoded "/" and "\" as "/": Windows takes
// each of them for a path separator.
std::string SlashesUnified(std::string_view text) {
  std::string unified;
  unified.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const std::string code = AsciiLowerCase(text.substr(i, 3));
    if (code == "%2f" || code == "%5c") {
      unified += '/';
      i += 2;
    } else {
      unified += text[i] == '\\' ? '/' : text[i];
    }
  }
  return unified;
}

std::size_t LeadingSlashes(std::string_view text) {
  return std::min(text.find_first_not_of('/'), text.size());
}

// "C:" or "C|", as a file address may name a drive.
bool IsDrive(std::string_view text) {
  return text.size() == 2 && IsAsciiLetter(text[0]) && (text[1] == ':' || text[1] == '|');
}

// A file: address whose path is on this machine: "file:/x", "file:///x",
// "file://localhost/x", "file://C:/x" (and "file:x", which browsers read as
// "file:///x"). Two slashes name a host; four or more begin a network path.
bool IsLocalFileAddress(std::string_view address) {
  const std::string rest = SlashesUnified(address.substr(address.find(':') + 1));
  const std::size_t slashes = LeadingSlashes(rest);
  if (slashes != 2) return slashes < 4 && slashes != 2;
  const std::size_t host_end = std::min(rest.find('/', 2), rest.size());
  const std::string host = AsciiLowerCase(std::string_view(rest).substr(2, host_end - 2));
  return (host == "localhost" || IsDrive(host)) &&
         LeadingSlashes(std::string_view(rest).substr(host_end)) <= 1;
}

}  // namespace

std::optional<std::string> ReasonToLeaveOut(std::string_view address) {
  if (address.empty()) return "no address";
  const std::string scheme = AddressScheme(address);
  if (scheme.empty()) {
    if (SlashesUnified(address).starts_with("//")) return "network path";
    return "no scheme";
  }
  if (scheme.size() == 1) return "no scheme";  // a drive letter
  if (scheme == "file") {
    if (IsLocalFileAddress(address)) return std::nullopt;
    return "network path";
  }
  if (IsOneOf(scheme, kWrittenSchemes)) return std::nullopt;
  if (IsOneOf(scheme, kNamedSchemes)) return scheme + ":";
  return "other scheme";
}

}  // namespace qv::import
