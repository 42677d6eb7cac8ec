// The surroundings of a benchmark run: a program folder of its own, a
// registry that names nothing (the settings name the Favorites folder), a
// fixed date and no preview.
#pragma once

#include <string>

#include "generator/surroundings.h"
#include "settings/registry.h"

namespace qv::bench {

class EmptyRegistry : public RegistryApi {
 public:
  std::int32_t OpenKey(RegistryKey, const std::string&, std::uint32_t, std::uint32_t,
                       RegistryKey*) override;
  std::int32_t QueryValue(RegistryKey, const std::string&, std::uint32_t*, unsigned char*,
                          std::uint32_t*) override;
  std::int32_t CloseKey(RegistryKey) override;
  std::string NativePath(const std::string&) override;
};

class BenchSurroundings : public RunSurroundings {
 public:
  explicit BenchSurroundings(std::string program_folder);
  std::string AppFolder() override;
  RegistryApi& Registry() override;
  CalendarDate Today() override;
  void Navigate(const std::string& page_path) override;

 private:
  std::string program_folder_;
  EmptyRegistry registry_;
};

}  // namespace qv::bench
