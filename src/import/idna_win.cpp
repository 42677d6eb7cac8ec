// Host names in their ASCII form through the system's own conversion
// (IdnToAscii). It differs from today's browsers in two ways:
// - It maps the four characters that the newer rules keep ("ß", the final
//   sigma "ς" and the zero-width joiners) to others or to nothing, so that
//   "straße.de" gives "strasse.de", another host than a browser visits. Such
//   a name gets no ASCII form here: the address keeps it percent-encoded,
//   and the browser that opens it converts it by its own rules.
// - It takes a label that begins or ends in "-" ("-ü.de"), as browsers do;
//   libidn2, elsewhere, refuses such a name and it stays percent-encoded.
#include "generator/windows_api.h"

#include <string>

#include "generator/windows_text.h"
#include "import/idna.h"

namespace qv::import {
namespace {

constexpr std::wstring_view kDeviations = L"\u00DF\u03C2\u200C\u200D";

}  // namespace

std::optional<std::string> HostToAscii(std::string_view host) {
  if (host.empty() || host.find('\0') != std::string_view::npos) return std::nullopt;
  const std::wstring wide = WideText(host);
  if (wide.size() > 0x7FFFFFFF || wide.find_first_of(kDeviations) != std::wstring::npos) {
    return std::nullopt;
  }
  const int wide_size = static_cast<int>(wide.size());
  const int ascii_size = IdnToAscii(0, wide.data(), wide_size, nullptr, 0);
  if (ascii_size <= 0) return std::nullopt;
  std::wstring ascii(static_cast<std::size_t>(ascii_size), L'\0');
  if (IdnToAscii(0, wide.data(), wide_size, ascii.data(), ascii_size) <= 0) return std::nullopt;
  return std::string(ascii.begin(), ascii.end());  // ASCII by contract
}

}  // namespace qv::import
