#include "generator/windows_api.h"

#include <string>

#include "import/idna.h"

namespace qv::import {

std::optional<std::string> HostToAscii(std::string_view host) {
  if (host.empty() || host.size() > 0x7FFFFFFF) return std::nullopt;
  const int size = static_cast<int>(host.size());
  const int wide_size =
      MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, host.data(), size, nullptr, 0);
  if (wide_size <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(wide_size), L'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, host.data(), size, wide.data(), wide_size);

  const int ascii_size = IdnToAscii(0, wide.data(), wide_size, nullptr, 0);
  if (ascii_size <= 0) return std::nullopt;
  std::wstring ascii(static_cast<std::size_t>(ascii_size), L'\0');
  if (IdnToAscii(0, wide.data(), wide_size, ascii.data(), ascii_size) <= 0) return std::nullopt;
  return std::string(ascii.begin(), ascii.end());  // ASCII by contract
}

}  // namespace qv::import
