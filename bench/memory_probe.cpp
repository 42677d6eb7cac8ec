#include "memory_probe.h"

#include <malloc.h>
#include <sys/resource.h>

#include <cstdlib>
#include <fstream>
#include <new>
#include <string>

namespace qv::bench {
namespace {

// The benchmark runs on one thread; plain counters suffice.
std::size_t heap_in_use = 0;
std::size_t heap_peak = 0;

void Count(void* block) {
  heap_in_use += malloc_usable_size(block);
  if (heap_in_use > heap_peak) heap_peak = heap_in_use;
}

void* Allocate(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  Count(block);
  return block;
}

void* AllocateAligned(std::size_t size, std::align_val_t alignment) {
  const auto align = static_cast<std::size_t>(alignment);
  const std::size_t rounded = ((size == 0 ? 1 : size) + align - 1) / align * align;
  void* block = std::aligned_alloc(align, rounded);
  if (block == nullptr) throw std::bad_alloc();
  Count(block);
  return block;
}

void Release(void* block) noexcept {
  if (block == nullptr) return;
  heap_in_use -= malloc_usable_size(block);
  std::free(block);
}

// A "Vm...:   1234 kB" line of /proc/self/status, in bytes.
std::size_t StatusField(const std::string& field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.compare(0, field.size(), field) == 0 && line.size() > field.size() &&
        line[field.size()] == ':') {
      return std::strtoull(line.c_str() + field.size() + 1, nullptr, 10) * 1024;
    }
  }
  return 0;
}

}  // namespace

std::size_t HeapInUse() {
  return heap_in_use;
}

void ResetHeapPeak() {
  heap_peak = heap_in_use;
}

std::size_t HeapPeak() {
  return heap_peak;
}

void TrimHeap() {
  malloc_trim(0);
}

bool ResetResidentPeak() {
  // Writing 5 to clear_refs sets the peak resident set back to the current one.
  std::ofstream clear_refs("/proc/self/clear_refs");
  clear_refs << "5";
  clear_refs.flush();
  return static_cast<bool>(clear_refs);
}

std::size_t ResidentNow() {
  return StatusField("VmRSS");
}

std::size_t ResidentPeak() {
  return StatusField("VmHWM");
}

std::size_t ProcessMaxResident() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<std::size_t>(usage.ru_maxrss) * 1024;  // kilobytes on Linux
}

}  // namespace qv::bench

// Every heap allocation of the program goes through these, so the counters
// see the core's strings and tables as well as the benchmark's own.
void* operator new(std::size_t size) {
  return qv::bench::Allocate(size);
}
void* operator new[](std::size_t size) {
  return qv::bench::Allocate(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
  return qv::bench::AllocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return qv::bench::AllocateAligned(size, alignment);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return qv::bench::Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* block) noexcept {
  qv::bench::Release(block);
}
void operator delete[](void* block) noexcept {
  qv::bench::Release(block);
}
void operator delete(void* block, std::size_t) noexcept {
  qv::bench::Release(block);
}
void operator delete[](void* block, std::size_t) noexcept {
  qv::bench::Release(block);
}
void operator delete(void* block, std::align_val_t) noexcept {
  qv::bench::Release(block);
}
void operator delete[](void* block, std::align_val_t) noexcept {
  qv::bench::Release(block);
}
void operator delete(void* block, std::size_t, std::align_val_t) noexcept {
  qv::bench::Release(block);
}
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept {
  qv::bench::Release(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
  qv::bench::Release(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
  qv::bench::Release(block);
}
