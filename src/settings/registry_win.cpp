#include <windows.h>

#include <memory>
#include <string>

#include "settings/favorites_folder.h"
#include "settings/registry.h"

namespace qv {
namespace {

// The handle a root key value stands for. The predefined keys are 32-bit
// values that Windows sign-extends on 64-bit builds, so they are mapped by
// name rather than cast.
HKEY RootHandle(RegistryKey root) {
  if (root == kHkeyCurrentUser) return HKEY_CURRENT_USER;
  return reinterpret_cast<HKEY>(root);
}

class Win32Registry : public RegistryApi {
 public:
  std::int32_t OpenKey(RegistryKey root, const std::string& key_path, std::uint32_t options,
                       std::uint32_t access, RegistryKey* opened) override {
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(RootHandle(root), key_path.c_str(), options,
                                      static_cast<REGSAM>(access), &key);
    if (opened) *opened = status == ERROR_SUCCESS ? reinterpret_cast<RegistryKey>(key) : 0;
    return static_cast<std::int32_t>(status);
  }

  std::int32_t QueryValue(RegistryKey key, const std::string& value_name, std::uint32_t* type,
                          unsigned char* data, std::uint32_t* size) override {
    DWORD value_type = 0;
    DWORD value_size = size ? static_cast<DWORD>(*size) : 0;
    const LONG status = RegQueryValueExA(reinterpret_cast<HKEY>(key), value_name.c_str(), nullptr,
                                         &value_type, data, size ? &value_size : nullptr);
    if (type) *type = static_cast<std::uint32_t>(value_type);
    if (size) *size = static_cast<std::uint32_t>(value_size);
    return static_cast<std::int32_t>(status);
  }

  std::int32_t CloseKey(RegistryKey key) override {
    return static_cast<std::int32_t>(RegCloseKey(reinterpret_cast<HKEY>(key)));
  }

  // The registry names folders as Windows paths already.
  std::string NativePath(const std::string& registry_path) override { return registry_path; }
};

}  // namespace

std::unique_ptr<RegistryApi> SystemRegistry() {
  return std::make_unique<Win32Registry>();
}

const char* DesignFavoritesFolder() {
  return "c:\\windows\\favorieten\\";
}

}  // namespace qv
