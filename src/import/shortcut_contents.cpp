#include "import/shortcut_contents.h"

#include <algorithm>

#include "generator/shortcut_file.h"
#include "generator/utf7.h"
#include "import/address.h"
#include "import/idna.h"
#include "import/utf8_text.h"

namespace qv::import {
namespace {

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Bytes that an address line cannot carry as they are.
bool NeedsEncoding(unsigned char byte) {
  return byte <= 0x20 || byte >= 0x7F;
}

void AppendPercentEncoded(std::string_view text, std::string& out) {
  static constexpr char kHexDigits[] = "0123456789ABCDEF";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (NeedsEncoding(byte)) {
      out += '%';
      out += kHexDigits[byte >> 4];
      out += kHexDigits[byte & 0xF];
    } else {
      out += c;
    }
  }
}

// `address` (valid UTF-8) with its control characters percent-encoded, C1
// ones (U+0080 to U+009F) as their two UTF-8 bytes: a raw one would reach the
// page's link and the program that opens the shortcut.
std::string ControlCharactersEncoded(std::string_view address) {
  std::string encoded;
  encoded.reserve(address.size());
  for (std::size_t i = 0; i < address.size(); ++i) {
    const auto byte = static_cast<unsigned char>(address[i]);
    const bool c1 = byte == 0xC2 && i + 1 < address.size() &&
                    static_cast<unsigned char>(address[i + 1]) <= 0x9F;
    if (byte < 0x20 || byte == 0x7F) {
      AppendPercentEncoded(address.substr(i, 1), encoded);
    } else if (c1) {
      AppendPercentEncoded(address.substr(i++, 2), encoded);
    } else {
      encoded += address[i];
    }
  }
  return encoded;
}

std::string LineOf(std::string_view section, std::string_view address) {
  std::string lines;
  lines.reserve(section.size() + address.size() + 12);
  lines.append("[").append(section).append("]\r\nURL=").append(address).append("\r\n");
  return lines;
}

}  // namespace

std::string AsciiAddress(std::string_view address) {
  std::string ascii;
  ascii.reserve(address.size());
  const auto host = FindHost(address);
  if (!host) {
    AppendPercentEncoded(address, ascii);
    return ascii;
  }
  const std::string_view name = address.substr(host->begin, host->end - host->begin);
  AppendPercentEncoded(address.substr(0, host->begin), ascii);
  const auto converted = IsAscii(name) ? std::nullopt : HostToAscii(name);
  if (converted) {
    ascii += *converted;
  } else {
    AppendPercentEncoded(name, ascii);
  }
  AppendPercentEncoded(address.substr(host->end), ascii);
  return ascii;
}

std::optional<std::string> ShortcutContents(std::string_view address) {
  const std::string clean = CleanAddress(address);
  const std::string ascii = AsciiAddress(clean);
  if (ascii.size() > kLongestShortcutAddress) return std::nullopt;
  std::string contents = LineOf("InternetShortcut", ascii);
  if (IsAscii(clean) || !IsValidUtf8(clean)) return contents;
  const std::string unicode = EncodeUtf7(ControlCharactersEncoded(clean));
  if (unicode.size() > kLongestShortcutAddress) return std::nullopt;
  contents += LineOf("InternetShortcut.A", ascii);
  contents += LineOf("InternetShortcut.W", unicode);
  return contents;
}

}  // namespace qv::import
