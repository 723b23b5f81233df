// Counting of the C library's and C++'s allocations in a benchmark program: malloc and its
// relatives and every operator new, in all threads. The private heaps count their own calls
// (platform/win32/heap_counts.h).
#pragma once
#include <cstdint>

// False in sanitizer builds, whose allocator must not be replaced: nothing is counted there.
bool BenchAllocationsCounted();
// Allocations so far (a realloc counts as one).
uint64_t BenchAllocations();
