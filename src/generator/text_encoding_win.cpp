// On Windows the program talks to the system in UTF-16 (the ...W calls) and
// keeps UTF-8 inside; text files of older versions are in the ANSI code page.
#include "generator/windows_api.h"

#include <climits>
#include <string>

#include "generator/text_encoding.h"
#include "generator/windows_text.h"

namespace qv {

bool HasAnsiCodePage() {
  return true;
}

std::string Utf8FromAnsi(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return std::string(bytes);
  const int size = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::string(bytes);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), length);
  return Utf8Text(wide);
}

std::filesystem::path NativePath(std::string_view path) {
  return std::filesystem::path(WideText(path));
}

std::string PathText(const std::filesystem::path& path) {
  return Utf8Text(path.native());
}

}  // namespace qv
