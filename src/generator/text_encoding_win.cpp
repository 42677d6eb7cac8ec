// On Windows the program talks to the system in UTF-16 (the ...W calls) and
// keeps UTF-8 inside; text files of older versions are in the ANSI code page
// of the system.
#include "generator/windows_api.h"

#include <climits>
#include <string>

#include "generator/text_encoding.h"
#include "generator/windows_text.h"

namespace qv {

namespace {

// The system's ANSI code page, in which older versions and editors wrote
// text files. Not the process's: a program that declares UTF-8 its code page
// (vorlindo.exe does, in its manifest) gets 65001 for CP_ACP, and would read
// those files differently from the other programs of the system.
UINT SystemAnsiCodePage() {
  DWORD code_page = 0;
  const int read =
      GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE | LOCALE_RETURN_NUMBER,
                     reinterpret_cast<LPWSTR>(&code_page), sizeof code_page / sizeof(wchar_t));
  return read > 0 && code_page != 0 ? code_page : CP_ACP;
}

}  // namespace

bool HasAnsiCodePage() {
  return true;
}

std::string Utf8FromAnsi(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return std::string(bytes);
  const int size = static_cast<int>(bytes.size());
  static const UINT code_page = SystemAnsiCodePage();
  const int length = MultiByteToWideChar(code_page, 0, bytes.data(), size, nullptr, 0);
  if (length <= 0) return std::string(bytes);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), size, wide.data(), length);
  return Utf8Text(wide);
}

std::filesystem::path NativePath(std::string_view path) {
  return std::filesystem::path(WideText(path));
}

std::string PathText(const std::filesystem::path& path) {
  return Utf8Text(path.native());
}

}  // namespace qv
