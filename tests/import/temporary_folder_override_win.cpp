#include "generator/windows_api.h"

#include "generator/windows_text.h"
#include "import/temporary_folder_override.h"

namespace qv::import {
namespace {

std::optional<std::string> Variable(const std::string& name) {
  const std::wstring wide_name = WideText(name);
  const DWORD size = GetEnvironmentVariableW(wide_name.c_str(), nullptr, 0);
  if (size == 0) return std::nullopt;
  std::wstring value(size, L'\0');
  const DWORD length = GetEnvironmentVariableW(wide_name.c_str(), value.data(), size);
  value.resize(length);
  return Utf8Text(value);
}

}  // namespace

// The system's temporary folder is the first of TMP, TEMP and the user's
// profile folder that is set.
TemporaryFolderOverride::TemporaryFolderOverride(const std::string& folder) {
  for (const char* name : {"TMP", "TEMP"}) {
    saved_.emplace_back(name, Variable(name));
    SetEnvironmentVariableW(WideText(name).c_str(), WideText(folder).c_str());
  }
}

TemporaryFolderOverride::~TemporaryFolderOverride() {
  for (const auto& [name, value] : saved_) {
    SetEnvironmentVariableW(WideText(name).c_str(), value ? WideText(*value).c_str() : nullptr);
  }
}

}  // namespace qv::import
