// How often programs have called the private heaps: tests and benchmarks read these to check
// that a path allocates nothing (the frame loop in its steady state).
#pragma once
#include <cstdint>

struct HeapCallCounts {
    uint64_t allocations;    // HeapAlloc calls that returned a block
    uint64_t reallocations;  // HeapReAlloc calls that returned a block
    uint64_t frees;          // HeapFree calls with a block
};

HeapCallCounts& Heap_CallCounts();
