#include "runtime/core/library_state.h"

#include "platform/win32/heap.h"
#include "runtime/core/fatal.h"
#include "runtime/core/program.h"

void* LibraryState_Create(int32_t size, LibraryStateHook init, LibraryStateHook) {
    if (size < 0) return nullptr;
    void* block = HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY, static_cast<SIZE_T>(size));
    if (!block) Runtime_OutOfMemory();
    if (init) init(block);
    return block;
}
