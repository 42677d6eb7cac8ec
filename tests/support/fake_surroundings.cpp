#include "fake_surroundings.h"

#include <cstring>

namespace qv::testing {
namespace {
constexpr std::int32_t kFileNotFound = 2;  // the registry's own "not found"
constexpr std::int32_t kMoreData = 234;    // the registry's "buffer too small"
constexpr std::int32_t kInvalidHandle = 6;
}  // namespace

void FakeRegistry::SetText(const std::string& key_path, const std::string& name,
                           const std::string& text) {
  SetRaw(key_path, name, {kRegistryText, text + std::string(1, '\0')});
}

void FakeRegistry::SetNumber(const std::string& key_path, const std::string& name,
                             std::int32_t number) {
  std::string bytes(sizeof number, '\0');
  std::memcpy(bytes.data(), &number, sizeof number);
  SetRaw(key_path, name, {kRegistryNumber, bytes});
}

void FakeRegistry::SetRaw(const std::string& key_path, const std::string& name, StoredValue value) {
  keys_[key_path][name] = std::move(value);
}

std::int32_t FakeRegistry::OpenKey(RegistryKey root, const std::string& key_path, std::uint32_t,
                                   std::uint32_t, RegistryKey* opened) {
  if (root != kHkeyCurrentUser || !keys_.count(key_path)) return kFileNotFound;
  handles_.push_back(key_path);
  *opened = handles_.size();
  ++open_keys_;
  return kRegistrySuccess;
}

std::int32_t FakeRegistry::QueryValue(RegistryKey key, const std::string& value_name,
                                      std::uint32_t* type, unsigned char* data,
                                      std::uint32_t* size) {
  if (key == 0 || key > handles_.size()) return kInvalidHandle;
  const auto& values = keys_[handles_[key - 1]];
  auto found = values.find(value_name);
  if (found == values.end()) return kFileNotFound;
  const StoredValue& value = found->second;
  if (type) *type = value.type;
  const auto needed = static_cast<std::uint32_t>(value.data.size());
  if (data == nullptr) {
    if (size) *size = needed;
    return kRegistrySuccess;
  }
  if (size == nullptr || *size < needed) {
    if (size) *size = needed;
    return kMoreData;
  }
  std::memcpy(data, value.data.data(), needed);
  *size = needed;
  return kRegistrySuccess;
}

std::int32_t FakeRegistry::CloseKey(RegistryKey key) {
  if (key == 0 || key > handles_.size()) return kInvalidHandle;
  --open_keys_;
  return kRegistrySuccess;
}

}  // namespace qv::testing
