#include "settings/registry.h"

#include <cstring>
#include <string>
#include <vector>

namespace qv {
namespace {

// Reads a text value of `size` bytes, terminating zero included. A failing
// request leaves an empty value; a value without even its terminator leaves
// `value` as it was.
std::int32_t QueryText(RegistryApi& api, RegistryKey open_key, const std::string& value_name,
                       std::uint32_t size, RegistryValue& value) {
  // One byte more than asked for, so that the buffer is never null: a null
  // buffer would ask for the type and size alone.
  std::vector<unsigned char> buffer(std::size_t{size} + 1, 0);
  std::uint32_t type = 0;
  std::uint32_t written = size;
  const std::int32_t status = api.QueryValue(open_key, value_name, &type, buffer.data(), &written);
  if (status != kRegistrySuccess) {
    value = RegistryValue{};
    return status;
  }
  if (written == 0 || written > size) return status;  // nothing to cut the zero from
  value = RegistryValue{RegistryValue::Kind::kText,
                        std::string(reinterpret_cast<const char*>(buffer.data()), written - 1), 0};
  return status;
}

std::int32_t QueryNumber(RegistryApi& api, RegistryKey open_key, const std::string& value_name,
                         RegistryValue& value) {
  unsigned char bytes[sizeof(std::int32_t)] = {};
  std::uint32_t type = 0;
  std::uint32_t size = sizeof bytes;
  const std::int32_t status = api.QueryValue(open_key, value_name, &type, bytes, &size);
  if (status != kRegistrySuccess) return status;
  std::int32_t number = 0;
  std::memcpy(&number, bytes, sizeof number);  // the registry keeps it little-endian, as we do
  value = RegistryValue{RegistryValue::Kind::kNumber, "", number};
  return status;
}

}  // namespace

std::string RegistryValue::AsText() const {
  switch (kind) {
    case Kind::kText:
      return text;
    case Kind::kNumber:
      return std::to_string(number);
    case Kind::kEmpty:
      break;
  }
  return "";
}

std::int32_t QueryRegistryValue(RegistryApi& api, RegistryKey open_key,
                                const std::string& value_name, RegistryValue& value) {
  std::int32_t status = kRegistrySuccess;
  try {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    status = api.QueryValue(open_key, value_name, &type, nullptr, &size);
    if (status != kRegistrySuccess) return status;
    switch (type) {
      case kRegistryText:
        return status = QueryText(api, open_key, value_name, size, value);
      case kRegistryNumber:
        return status = QueryNumber(api, open_key, value_name, value);
      default:
        return kRegistryTypeNotRead;
    }
  } catch (...) {
    // Whatever goes wrong inside stays inside: the caller gets the status as
    // it stood.
    return status;
  }
}

RegistryValue ReadRegistryValue(RegistryApi& api, RegistryKey root, const std::string& key_path,
                                const std::string& value_name) {
  RegistryValue value;
  RegistryKey key = 0;
  try {
    if (api.OpenKey(root, key_path, 0, kRegistryKeyAccess, &key) != kRegistrySuccess) key = 0;
  } catch (...) {
    key = 0;
  }
  QueryRegistryValue(api, key, value_name, value);
  try {
    api.CloseKey(key);
  } catch (...) {
  }
  return value;
}

}  // namespace qv
