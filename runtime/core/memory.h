// Raw memory blocks on the memory heap, a private heap of their own.
#pragma once
#include <cstdint>

// Creates the memory heap (once: a second call keeps the first heap).
void Memory_Init();
// No work: the heap ends with the process.
void Memory_End();
// A zeroed block of `size` bytes, or null when size <= 0 or the memory is not to be had.
void* Memory_Allocate(int32_t size);
// Frees a block of Memory_Allocate; null does nothing.
void Memory_Free(void* block);
