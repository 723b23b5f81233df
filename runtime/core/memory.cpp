// Raw memory blocks on the memory heap.
#include "runtime/core/memory.h"

#include "platform/win32/heap.h"

namespace {
struct MemoryLibrary {
    HHEAP heap;
};
MemoryLibrary g_memory;
}  // namespace

void Memory_Init() {
    if (!g_memory.heap) g_memory.heap = HeapCreate(0, 4096, 0);
}

void Memory_End() {}

void* Memory_Allocate(int32_t size) {
    if (size <= 0 || !g_memory.heap) return nullptr;
    return HeapAlloc(g_memory.heap, HEAP_ZERO_MEMORY, static_cast<SIZE_T>(size));
}

void Memory_Free(void* block) {
    if (block && g_memory.heap) HeapFree(g_memory.heap, 0, block);
}
