// What a stretch of the benchmark costs in memory: the heap bytes the program
// asks for through new (counted exactly, every allocation of the core
// included) and the resident set as the kernel reports it.
#pragma once

#include <cstddef>

namespace qv::bench {

// Heap bytes in use right now, counted by the replaced operator new/delete.
std::size_t HeapInUse();

// Starts a new heap peak at the current use.
void ResetHeapPeak();
// Highest heap use since the last ResetHeapPeak.
std::size_t HeapPeak();

// Returns freed heap pages to the system, so that the resident set afterwards
// holds only what is in use.
void TrimHeap();

// Starts a new resident-set peak at the current resident set; false when the
// kernel does not allow it (the peak then covers the whole process).
bool ResetResidentPeak();
// Current and peak resident set in bytes; 0 when unknown.
std::size_t ResidentNow();
std::size_t ResidentPeak();

// Peak resident set of the whole process so far (getrusage ru_maxrss), bytes.
std::size_t ProcessMaxResident();

}  // namespace qv::bench
