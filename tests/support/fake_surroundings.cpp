#include "fake_surroundings.h"

#include <cstring>

namespace qv::testing {

// With `data` null only the type and size; otherwise the bytes when they fit.
std::int32_t FakeRegistry::QueryValue(RegistryKey key, const std::string& value_name,
                                      std::uint32_t* type, unsigned char* data,
                                      std::uint32_t* size) {
  if (key == 0 || key > handles_.size()) return kInvalidHandle;
  const auto& values = keys_[handles_[key - 1]];
  const auto found = values.find(value_name);
  if (found == values.end()) return kNotFound;
  const auto& [stored_type, bytes] = found->second;
  if (type) *type = stored_type;
  const auto needed = static_cast<std::uint32_t>(bytes.size());
  const bool fits = data == nullptr || (size != nullptr && *size >= needed);
  if (data != nullptr && fits) std::memcpy(data, bytes.data(), needed);
  if (size) *size = needed;
  return fits ? kRegistrySuccess : kMoreData;
}

}  // namespace qv::testing
