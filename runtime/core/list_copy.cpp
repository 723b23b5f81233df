// Copying one list's elements into another, deep through the element layout. Serves list
// fields of structures.
#include <cstring>

#include "runtime/core/list.h"

int32_t List_Copy(ListHeader* source, ListHeader* destination, int32_t clear) {
    // A list copied into itself would grow under its own walk.
    if (!source || !destination || source == destination) return 0;
    if (source->node_size != destination->node_size || source->layout != destination->layout) {
        return 0;
    }
    if (clear) List_Clear(destination);
    int32_t size = source->node_size - static_cast<int32_t>(sizeof(ListNode));
    for (ListNode* node = source->first; node; node = node->next) {
        void* data = List_Add(destination);
        if (!data) return 0;
        if (source->layout) {
            StructureLayout_Copy(source->layout, data, ListNode_Data(node), size);
        } else {
            std::memcpy(data, ListNode_Data(node), static_cast<size_t>(size));
        }
    }
    return 1;
}
