// The failure reasons of the Windows calls, in the words of the system.
// Windows only.
#pragma once

#include "generator/windows_api.h"

#include <string>
#include <string_view>

#include "generator/system_failure.h"
#include "generator/windows_text.h"

namespace qv {

// The system's one-line description of `error`, without its trailing line
// break and full stop.
inline std::string ErrorText(DWORD error) {
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::string text = length > 0 && message != nullptr ? Utf8Text(std::wstring_view(message, length))
                                                      : "error " + std::to_string(error);
  if (message != nullptr) LocalFree(message);
  while (!text.empty() &&
         (text.back() == '\r' || text.back() == '\n' || text.back() == '.' || text.back() == ' ')) {
    text.pop_back();
  }
  return text;
}

// "`what` `path`: reason", the one-line form of every file failure.
inline std::string Failure(const char* what, const std::string& path, DWORD error) {
  return std::string(what) + " " + path + ": " + ErrorText(error);
}

// The failure with its kind, `error` read once.
inline Status FailureStatus(const char* what, const std::string& path, DWORD error) {
  return Status::SystemError(Failure(what, path, error), SystemFailureOf(error));
}

}  // namespace qv
