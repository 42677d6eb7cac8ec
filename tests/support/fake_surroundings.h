// Surroundings for a generation run under test: a given program folder, a
// registry that holds what the test puts in it, a fixed date, and a record of
// the preview's navigate requests.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "generator/surroundings.h"

namespace qv::testing {

// A registry of one level: values by key path and value name.
class FakeRegistry : public RegistryApi {
 public:
  struct StoredValue {
    std::uint32_t type = kRegistryText;
    std::string data;  // the bytes as the registry holds them, zero included
  };

  void SetText(const std::string& key_path, const std::string& name, const std::string& text);
  void SetNumber(const std::string& key_path, const std::string& name, std::int32_t number);
  void SetRaw(const std::string& key_path, const std::string& name, StoredValue value);

  std::int32_t OpenKey(RegistryKey root, const std::string& key_path, std::uint32_t options,
                       std::uint32_t access, RegistryKey* opened) override;
  std::int32_t QueryValue(RegistryKey key, const std::string& value_name, std::uint32_t* type,
                          unsigned char* data, std::uint32_t* size) override;
  std::int32_t CloseKey(RegistryKey key) override;
  std::string NativePath(const std::string& registry_path) override { return registry_path; }

  int open_keys() const { return open_keys_; }

 private:
  std::map<std::string, std::map<std::string, StoredValue>> keys_;
  std::vector<std::string> handles_;  // handle n + 1 is key path handles_[n]
  int open_keys_ = 0;
};

class FakeSurroundings : public RunSurroundings {
 public:
  explicit FakeSurroundings(std::string app_folder) : app_folder_(std::move(app_folder)) {}

  std::string AppFolder() override { return app_folder_; }
  RegistryApi& Registry() override { return registry_; }
  CalendarDate Today() override { return today_; }
  void Navigate(const std::string& page_path) override { navigations_.push_back(page_path); }

  FakeRegistry& registry() { return registry_; }
  void set_today(CalendarDate date) { today_ = date; }
  const std::vector<std::string>& navigations() const { return navigations_; }

 private:
  std::string app_folder_;
  FakeRegistry registry_;
  CalendarDate today_{2026, 12, 5};
  std::vector<std::string> navigations_;
};

}  // namespace qv::testing
