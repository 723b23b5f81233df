// Lists: creation, adding after the current element, walking, clearing and destruction.
#include "runtime/core/list.h"

#include <cstring>

#include "platform/win32/heap.h"
#include "runtime/core/program.h"

namespace {

// Nodes per pool chunk: one heap call serves many additions.
constexpr int32_t kMinNodesPerChunk = 16;
constexpr int32_t kMaxNodesPerChunk = 65536;
constexpr int32_t kLinksSize = static_cast<int32_t>(sizeof(ListNode));
// Element sizes beyond this are refused; the pool takes no larger blocks.
constexpr int32_t kMaxElementSize = (1 << 24) - kLinksSize;

void Publish(ListHeader* list) {
    if (list->published_current) *list->published_current = list->current;
}

}  // namespace

void List_Init() {
    StructureLayout_SetListHooks(&List_Create, &List_Copy, &List_Destroy);
}

ListHeader* List_Create(int32_t element_size, void* variable, StructureLayout layout,
                        int32_t type_code) {
    if (element_size < 0 || element_size > kMaxElementSize) return nullptr;
    HHEAP heap = Runtime_Heap();
    auto* list = static_cast<ListHeader*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(ListHeader)));
    if (!list) return nullptr;
    list->node_size = element_size + kLinksSize;
    list->pool = BlockPool_Create(list->node_size, kMinNodesPerChunk, kMaxNodesPerChunk);
    auto* words = static_cast<ListVariable*>(variable);
    if (!words) {
        words = static_cast<ListVariable*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(ListVariable)));
        list->owns_variable = 1;
    }
    if (!list->pool || !words) {
        BlockPool_Destroy(list->pool);
        if (list->owns_variable) HeapFree(heap, 0, words);
        HeapFree(heap, 0, list);
        return nullptr;
    }
    list->layout = layout;
    list->type_code = type_code;
    list->variable = words;
    list->published_current = &words->current;
    list->before_first = 1;
    list->needs_set_up = StructureLayout_NeedsSetUp(layout) ? 1 : 0;
    words->header = list;
    words->current = nullptr;
    return list;
}

void* List_Add(ListHeader* list) {
    if (!list) return nullptr;
    auto* node = static_cast<ListNode*>(BlockPool_Allocate(list->pool));
    if (!node) return nullptr;
    std::memset(node, 0, static_cast<size_t>(list->node_size));
    if (list->needs_set_up) StructureLayout_SetUp(list->layout, ListNode_Data(node));
    ++list->count;
    if (!list->current) {
        // At the front.
        node->next = list->first;
        if (list->first) list->first->previous = node;
        list->current_index = 0;
        list->before_first = 0;
    } else {
        // Right after the current element.
        ListNode* current = list->current;
        node->previous = current;
        node->next = current->next;
        if (current->next) current->next->previous = node;
        current->next = node;
        ++list->current_index;
    }
    list->current = node;
    if (!node->previous) list->first = node;
    if (!node->next) list->last = node;
    Publish(list);
    return ListNode_Data(node);
}

void* List_Next(ListHeader* list) {
    if (!list) return nullptr;
    void* data = nullptr;
    if (!list->current) {
        if (list->first) {
            list->current = list->first;
            list->current_index = 0;
            data = ListNode_Data(list->current);
        }
    } else if (list->current->next) {
        list->current = list->current->next;
        ++list->current_index;
        data = ListNode_Data(list->current);
    }
    Publish(list);
    return data;
}

void List_Reset(ListHeader* list) {
    if (!list) return;
    list->current = nullptr;
    list->before_first = 1;
    Publish(list);
}

void List_Clear(ListHeader* list) {
    if (!list) return;
    if (list->layout) {
        for (ListNode* node = list->first; node; node = node->next) {
            StructureLayout_CleanUp(list->layout, ListNode_Data(node));
        }
    }
    BlockPool_Clear(list->pool);
    list->first = list->last = list->current = nullptr;
    list->count = 0;
    list->current_index = 0;
    list->before_first = 1;
    Publish(list);
}

int32_t List_Size(ListHeader* list) {
    return list ? list->count : 0;
}

void List_Destroy(ListHeader* list) {
    if (!list) return;
    List_Clear(list);
    BlockPool_Destroy(list->pool);
    HHEAP heap = Runtime_Heap();
    if (ListVariable* words = list->variable) {
        words->header = nullptr;
        words->current = nullptr;
        if (list->owns_variable) HeapFree(heap, 0, words);
    }
    HeapFree(heap, 0, list);
}
