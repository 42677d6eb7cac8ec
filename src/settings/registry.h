// Reading one value from the user's registry. The layer below (open a key,
// query a value's type, size and data, close the key) is the platform's: the
// real registry on Windows, the Wine registry file of the user elsewhere.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace qv {

using RegistryKey = std::uintptr_t;
inline constexpr RegistryKey kHkeyCurrentUser = 0x80000001;

// Value types as the registry names them.
inline constexpr std::uint32_t kRegistryText = 1;    // REG_SZ
inline constexpr std::uint32_t kRegistryNumber = 4;  // REG_DWORD

// Statuses: 0 success, -1 a value type that is not read, anything else the
// registry's own error code.
inline constexpr std::int32_t kRegistrySuccess = 0;
inline constexpr std::int32_t kRegistryTypeNotRead = -1;

// Access mask used to open the key: query and set value, create and
// enumerate sub-keys, notify, create link.
inline constexpr std::uint32_t kRegistryKeyAccess = 0x3F;

struct RegistryValue {
  enum class Kind { kEmpty, kText, kNumber };
  Kind kind = Kind::kEmpty;
  std::string text;
  std::int32_t number = 0;

  // Empty gives "", a number its decimal digits.
  std::string AsText() const;
};

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;
  virtual std::int32_t OpenKey(RegistryKey root, const std::string& key_path, std::uint32_t options,
                               std::uint32_t access, RegistryKey* opened) = 0;
  // With `data` null asks for type and size only; otherwise `size` holds the
  // buffer's size on entry and the bytes written on return.
  virtual std::int32_t QueryValue(RegistryKey key, const std::string& value_name,
                                  std::uint32_t* type, unsigned char* data,
                                  std::uint32_t* size) = 0;
  virtual std::int32_t CloseKey(RegistryKey key) = 0;
  // The folder a registry path text names on this machine; empty when it
  // names none.
  virtual std::string NativePath(const std::string& registry_path) = 0;
};

// Reads the value `value_name` of the open key into `value`.
std::int32_t QueryRegistryValue(RegistryApi& api, RegistryKey open_key,
                                const std::string& value_name, RegistryValue& value);

// Opens `key_path` below `root`, reads `value_name`, closes the key; every
// failure gives an empty value.
RegistryValue ReadRegistryValue(RegistryApi& api, RegistryKey root, const std::string& key_path,
                                const std::string& value_name);

// The user's registry on this machine (registry_win.cpp, registry_wine.cpp).
std::unique_ptr<RegistryApi> SystemRegistry();

}  // namespace qv
