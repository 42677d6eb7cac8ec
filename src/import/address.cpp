#include "import/address.h"

#include "generator/text.h"

namespace qv::import {
namespace {

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSchemeCharacter(char c) {
  return IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
}

bool IsControlOrBlank(char c) {
  return static_cast<unsigned char>(c) <= 0x20;
}

// The length of the scheme at the start of `address`, colon excluded; 0 when
// there is none.
std::size_t SchemeLength(std::string_view address) {
  if (address.empty() || !IsAsciiLetter(address[0])) return 0;
  std::size_t length = 1;
  while (length < address.size() && IsSchemeCharacter(address[length])) ++length;
  return length < address.size() && address[length] == ':' ? length : 0;
}

}  // namespace

std::string CleanAddress(std::string_view address) {
  while (!address.empty() && IsControlOrBlank(address.front())) address.remove_prefix(1);
  while (!address.empty() && IsControlOrBlank(address.back())) address.remove_suffix(1);
  std::string clean;
  clean.reserve(address.size());
  for (const char c : address) {
    if (c != '\t' && c != '\n' && c != '\r') clean += c;
  }
  return clean;
}

std::string AddressScheme(std::string_view address) {
  return AsciiLowerCase(address.substr(0, SchemeLength(address)));
}

std::optional<HostSpan> FindHost(std::string_view address) {
  const std::size_t scheme = SchemeLength(address);
  if (scheme == 0 || address.substr(scheme + 1, 2) != "//") return std::nullopt;
  const std::size_t authority = scheme + 3;
  std::size_t end = address.find_first_of("/?#\\", authority);
  if (end == std::string_view::npos) end = address.size();
  // The user part may hold "@" and ":" of its own only percent-encoded; the
  // last "@" ends it.
  const std::size_t at = address.substr(authority, end - authority).rfind('@');
  HostSpan host{at == std::string_view::npos ? authority : authority + at + 1, end};
  const std::string_view rest = address.substr(host.begin, end - host.begin);
  std::size_t length = rest.size();  // up to the port
  if (rest.starts_with('[')) {
    if (const std::size_t close = rest.find(']'); close != std::string_view::npos) {
      length = close + 1;
    }
  } else if (const std::size_t colon = rest.find(':'); colon != std::string_view::npos) {
    length = colon;
  }
  host.end = host.begin + length;
  return host;
}

std::string_view AddressHost(std::string_view address) {
  const auto host = FindHost(address);
  return host ? address.substr(host->begin, host->end - host->begin) : std::string_view();
}

}  // namespace qv::import
