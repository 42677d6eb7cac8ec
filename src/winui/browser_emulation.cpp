#include "winui/browser_emulation.h"

#include <vector>

#include "generator/windows_api.h"
#include "generator/windows_text.h"

namespace qv::winui {
namespace {

constexpr const wchar_t* kEmulationKey =
    L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

}  // namespace

unsigned long DocumentModeAskedFor(const std::string& executable_name) {
  DWORD mode = 0;
  DWORD size = sizeof mode;
  const LONG status =
      RegGetValueW(HKEY_CURRENT_USER, kEmulationKey, WideText(executable_name).c_str(),
                   RRF_RT_REG_DWORD, nullptr, &mode, &size);
  return status == ERROR_SUCCESS ? mode : 0;
}

Status AskForNewestDocumentMode(const std::string& executable_name) {
  if (DocumentModeAskedFor(executable_name) == kNewestDocumentMode) return Status::Ok();
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, kEmulationKey, 0, nullptr, 0, KEY_SET_VALUE,
                                nullptr, &key, nullptr);
  if (status == ERROR_SUCCESS) {
    const DWORD mode = kNewestDocumentMode;
    status = RegSetValueExW(key, WideText(executable_name).c_str(), 0, REG_DWORD,
                            reinterpret_cast<const BYTE*>(&mode), sizeof mode);
    RegCloseKey(key);
  }
  if (status != ERROR_SUCCESS) {
    return Status::Error("cannot ask for the web control's newest document mode (registry error " +
                         std::to_string(status) + ")");
  }
  return Status::Ok();
}

std::string ExecutableName() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      const std::wstring_view full(path.data(), length);
      return Utf8Text(full.substr(full.find_last_of(L"\\/") + 1));
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace qv::winui
