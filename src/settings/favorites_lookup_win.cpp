// The Favorites folder lookup on Windows: the user's registry, which names
// folders as Windows paths already. Asked in UTF-16 (the ...W calls), so that
// a folder named outside the code page comes back whole, as UTF-8.
#include "generator/windows_api.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "generator/windows_text.h"
#include "settings/favorites_lookup.h"

namespace qv {
namespace {

// Access asked for when opening the key: query and set value, create and
// enumerate sub-keys, notify, create link.
constexpr REGSAM kKeyAccess = 0x3F;

Status Failure(const std::string& what, LONG code) {
  return Status::Error(what + " (registry error " + std::to_string(code) + ")");
}

// Closes the key it holds when it goes.
class OpenKey {
 public:
  explicit OpenKey(HKEY key) : key_(key) {}
  ~OpenKey() { RegCloseKey(key_); }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_;
};

const std::wstring& ValueName() {
  static const std::wstring name = WideText(kFavoritesValueName);
  return name;
}

// A text value of `size` bytes, without its terminating zero. The buffer has
// room for one more character, so that it is never null (a null buffer would
// ask for the type and size alone) and a value stored without its zero still
// ends in one.
Result<std::string> ReadText(HKEY key, DWORD size) {
  std::vector<wchar_t> buffer(std::size_t{size} / sizeof(wchar_t) + 2, L'\0');
  DWORD type = 0;
  DWORD written = size;
  const LONG status = RegQueryValueExW(key, ValueName().c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(buffer.data()), &written);
  if (status != ERROR_SUCCESS) return Failure("cannot read the Favorites value", status);
  if (written == 0 || written > size) return Status::Error("the Favorites value is not a text");
  std::wstring_view text(buffer.data(), written / sizeof(wchar_t));
  if (!text.empty() && text.back() == L'\0') text.remove_suffix(1);
  return Utf8Text(text);
}

// A number value, named by its decimal digits.
Result<std::string> ReadNumber(HKEY key) {
  std::int32_t number = 0;  // the registry keeps it little-endian, as we do
  DWORD type = 0;
  DWORD size = sizeof number;
  const LONG status = RegQueryValueExW(key, ValueName().c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(&number), &size);
  if (status != ERROR_SUCCESS) return Failure("cannot read the Favorites value", status);
  return std::to_string(number);
}

class RegistryLookup : public FavoritesLookup {
 public:
  Result<std::string> FavoritesFolder() override {
    HKEY handle = nullptr;
    const LONG opened = RegOpenKeyExW(HKEY_CURRENT_USER, WideText(kShellFoldersKey).c_str(), 0,
                                      kKeyAccess, &handle);
    if (opened != ERROR_SUCCESS) return Failure("cannot open the Shell Folders key", opened);
    const OpenKey key(handle);
    DWORD type = 0;
    DWORD size = 0;
    const LONG asked =
        RegQueryValueExW(key.get(), ValueName().c_str(), nullptr, &type, nullptr, &size);
    if (asked != ERROR_SUCCESS) return Failure("the registry names no Favorites folder", asked);
    if (type == REG_SZ) return ReadText(key.get(), size);
    if (type == REG_DWORD) return ReadNumber(key.get());
    return Status::Error("the Favorites value is not a text");
  }
};

}  // namespace

std::unique_ptr<FavoritesLookup> SystemFavoritesLookup() {
  return std::make_unique<RegistryLookup>();
}

const char* DesignFavoritesFolder() {
  return "c:\\windows\\favorieten\\";
}

}  // namespace qv
