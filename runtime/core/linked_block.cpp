#include "runtime/core/linked_block.h"

#include "platform/win32/heap.h"
#include "runtime/core/program.h"

void* LinkedBlock_Add(LinkedBlockHeader** head, int64_t total_size) {
    if (!head || total_size < static_cast<int64_t>(sizeof(LinkedBlockHeader))) return nullptr;
    auto* block = static_cast<LinkedBlockHeader*>(
        HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY, static_cast<SIZE_T>(total_size)));
    if (!block) return nullptr;
    block->older = *head;
    block->newer = nullptr;
    if (*head) (*head)->newer = block;
    *head = block;
    return LinkedBlock_PayloadOf(block);
}

void LinkedBlock_Remove(LinkedBlockHeader** head, void* payload) {
    if (!head || !payload) return;
    LinkedBlockHeader* block = LinkedBlock_HeaderOf(payload);
    if (block->newer)
        block->newer->older = block->older;
    else
        *head = block->older;
    if (block->older) block->older->newer = block->newer;
    HeapFree(Runtime_Heap(), 0, block);
}
