#include "bench_surroundings.h"

#include <utility>

#include "generator/file_system.h"

namespace qv::bench {
namespace {

// The registry's own code for a key or value that is not there.
constexpr std::int32_t kNotFound = 2;

}  // namespace

std::int32_t EmptyRegistry::OpenKey(RegistryKey, const std::string&, std::uint32_t, std::uint32_t,
                                    RegistryKey*) {
  return kNotFound;
}

std::int32_t EmptyRegistry::QueryValue(RegistryKey, const std::string&, std::uint32_t*,
                                       unsigned char*, std::uint32_t*) {
  return kNotFound;
}

std::int32_t EmptyRegistry::CloseKey(RegistryKey) {
  return kRegistrySuccess;
}

std::string EmptyRegistry::NativePath(const std::string&) {
  return "";
}

BenchSurroundings::BenchSurroundings(std::string program_folder)
    : program_folder_(WithTrailingSeparator(std::move(program_folder))) {}

std::string BenchSurroundings::AppFolder() {
  return program_folder_;
}

RegistryApi& BenchSurroundings::Registry() {
  return registry_;
}

CalendarDate BenchSurroundings::Today() {
  return CalendarDate{2026, 12, 5};
}

void BenchSurroundings::Navigate(const std::string&) {}

}  // namespace qv::bench
