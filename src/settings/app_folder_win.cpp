#include "settings/app_folder.h"

#include "generator/windows_api.h"

#include <string>
#include <vector>

#include "generator/windows_text.h"

namespace qv {

// As UTF-8, so that a folder named outside the code page (a "€" under code
// page 437, a Chinese name under 1252) is named exactly.
std::string ExecutablePath() {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return "";
    if (length < buffer.size()) return Utf8Text(std::wstring_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);  // cut short: the path is longer
  }
}

}  // namespace qv
