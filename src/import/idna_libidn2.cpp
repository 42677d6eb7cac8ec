#include <idn2.h>

#include <memory>
#include <string>

#include "import/idna.h"

namespace qv::import {
namespace {

struct Idn2Free {
  void operator()(char* text) const { idn2_free(text); }
};

std::optional<std::string> Convert(const std::string& host, int flags) {
  char* converted = nullptr;
  if (idn2_to_ascii_8z(host.c_str(), &converted, flags) != IDN2_OK) return std::nullopt;
  const std::unique_ptr<char, Idn2Free> owner(converted);
  return std::string(converted);
}

}  // namespace

std::optional<std::string> HostToAscii(std::string_view host) {
  if (host.empty() || host.find('\0') != std::string_view::npos) return std::nullopt;
  const std::string text(host);
  // The mapping of today's browsers first; the older one still takes some
  // names that the newer rules refuse.
  if (auto ascii = Convert(text, IDN2_NONTRANSITIONAL)) return ascii;
  return Convert(text, IDN2_TRANSITIONAL);
}

}  // namespace qv::import
