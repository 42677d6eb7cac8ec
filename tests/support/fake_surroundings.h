// Surroundings for a generation run under test: a given program folder, a
// registry that holds what the test puts in it, a fixed date, and a record of
// the preview's navigate requests.
#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "generator/surroundings.h"

namespace qv::testing {

// A registry of one level: values by key path and value name, each its type
// and the bytes the registry holds (a text's terminating zero included).
class FakeRegistry : public RegistryApi {
 public:
  void Set(const std::string& key_path, const std::string& name, std::uint32_t type,
           std::string bytes) {
    keys_[key_path][name] = {type, std::move(bytes)};
  }
  void SetText(const std::string& key_path, const std::string& name, const std::string& text) {
    Set(key_path, name, kRegistryText, text + '\0');
  }

  // The registry's own codes.
  static constexpr std::int32_t kNotFound = 2, kInvalidHandle = 6, kMoreData = 234;

  // Handle n + 1 names key path handles_[n].
  std::int32_t OpenKey(RegistryKey root, const std::string& key_path, std::uint32_t, std::uint32_t,
                       RegistryKey* opened) override {
    if (root != kHkeyCurrentUser || !keys_.count(key_path)) return kNotFound;
    handles_.push_back(key_path);
    *opened = handles_.size();
    ++open_keys_;
    return kRegistrySuccess;
  }
  std::int32_t QueryValue(RegistryKey key, const std::string& value_name, std::uint32_t* type,
                          unsigned char* data, std::uint32_t* size) override;
  std::int32_t CloseKey(RegistryKey key) override {
    if (key == 0 || key > handles_.size()) return kInvalidHandle;
    --open_keys_;
    return kRegistrySuccess;
  }
  std::string NativePath(const std::string& registry_path) override { return registry_path; }

  int open_keys() const { return open_keys_; }

 private:
  std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>> keys_;
  std::vector<std::string> handles_;
  int open_keys_ = 0;
};

class FakeSurroundings : public RunSurroundings {
 public:
  explicit FakeSurroundings(std::string app_folder) : app_folder_(std::move(app_folder)) {}

  std::string AppFolder() override { return app_folder_; }
  RegistryApi& Registry() override { return registry_; }
  CalendarDate Today() override { return {2026, 12, 5}; }
  void Navigate(const std::string& page_path) override { navigations_.push_back(page_path); }

  FakeRegistry& registry() { return registry_; }
  const std::vector<std::string>& navigations() const { return navigations_; }

 private:
  std::string app_folder_;
  FakeRegistry registry_;
  std::vector<std::string> navigations_;
};

}  // namespace qv::testing
