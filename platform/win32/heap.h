// Private growable heaps (kernel32 Heap*). Destroying a heap frees all of its blocks at once.
#pragma once
#include "platform/win32/types.h"

HHEAP HeapCreate(DWORD options, SIZE_T initial_size, SIZE_T maximum_size);
// With HEAP_ZERO_MEMORY the block is zeroed. Returns null when the memory is not to be had.
void* HeapAlloc(HHEAP heap, DWORD flags, SIZE_T size);
// Keeps the contents; with HEAP_ZERO_MEMORY the part beyond the old size is zeroed.
// Returns null (and leaves the old block valid) on failure.
void* HeapReAlloc(HHEAP heap, DWORD flags, void* block, SIZE_T size);
BOOL HeapFree(HHEAP heap, DWORD flags, void* block);
// The size the block was last allocated with.
SIZE_T HeapSize(HHEAP heap, DWORD flags, const void* block);
BOOL HeapDestroy(HHEAP heap);
