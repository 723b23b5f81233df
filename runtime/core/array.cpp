// Dynamic arrays: creation (one and several dimensions), resizing and freeing.
#include "runtime/core/array.h"

#include <cstring>

#include "platform/win32/heap.h"
#include "runtime/core/program.h"

namespace {

// Sizes beyond this are refused before the heap is asked.
constexpr int64_t kMaxArrayBytes = int64_t{1} << 40;

void* LoadVariable(const void* variable) {
    void* value;
    std::memcpy(&value, variable, sizeof(value));
    return value;
}

void StoreVariable(void* variable, void* value) {
    if (variable) std::memcpy(variable, &value, sizeof(value));
}

uint8_t* ElementsOf(ArrayHeader* header) {
    return reinterpret_cast<uint8_t*>(header + 1);
}

// The block size of `count` elements, or -1 when it is negative or too large.
int64_t BlockSize(int32_t element_size, int64_t count) {
    if (element_size < 0 || count < 0) return -1;
    int64_t bytes = element_size * count;  // both below 2^31: no overflow in 64 bits
    if (bytes > kMaxArrayBytes) return -1;
    return bytes + static_cast<int64_t>(sizeof(ArrayHeader));
}

void SetUpElements(ArrayHeader* header, int32_t from, int32_t to) {
    for (int32_t i = from; i < to; ++i) {
        StructureLayout_SetUp(header->layout,
                              ElementsOf(header) + static_cast<int64_t>(i) * header->element_size);
    }
}

void CleanUpElements(ArrayHeader* header, int32_t from, int32_t to) {
    for (int32_t i = from; i < to; ++i) {
        StructureLayout_CleanUp(
            header->layout, ElementsOf(header) + static_cast<int64_t>(i) * header->element_size);
    }
}

}  // namespace

void Array_Init() {
    StructureLayout_SetArrayHooks(&Array_Create, &Array_Copy, &Array_Free);
}

void* Array_Create(int32_t element_size, int32_t count, int32_t type_code, StructureLayout layout,
                   void* variable) {
    // Re-declaring an array discards the old one.
    if (variable) Array_Free(LoadVariable(variable));
    // The header and the zeroed elements in one block.
    int64_t bytes = BlockSize(element_size, count);
    if (bytes < 0) return nullptr;
    auto* header = static_cast<ArrayHeader*>(
        HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY, static_cast<SIZE_T>(bytes)));
    if (!header) return nullptr;
    header->dimensions = 1;
    header->element_size = element_size;
    header->layout = layout;
    header->variable = variable;
    header->count = count;
    header->type_code = type_code;
    void* array = ElementsOf(header);
    StoreVariable(variable, array);
    if (StructureLayout_NeedsSetUp(layout)) SetUpElements(header, 0, count);
    return array;
}

void* Array_CreateMulti(int32_t dimension_count, int32_t element_size, int32_t type_code,
                        StructureLayout layout, void* descriptor) {
    if (!descriptor || dimension_count < 1) return nullptr;
    auto* words = static_cast<intptr_t*>(descriptor);
    void* variable = &words[0];
    // Counts become strides, from the last dimension back; the product is checked as it grows.
    int64_t total = 1;
    bool valid = true;
    for (int32_t d = dimension_count; d >= 1; --d) {
        intptr_t count = words[d];
        words[d] = static_cast<intptr_t>(total);
        if (count < 0 || count > INT32_MAX || (count > 0 && total > INT32_MAX / count)) {
            valid = false;
            total = 0;
        } else {
            total *= count;
        }
    }
    void* array = Array_Create(element_size, valid ? static_cast<int32_t>(total) : -1, type_code,
                               layout, variable);
    if (array) Array_HeaderOf(array)->dimensions = dimension_count;
    return array;
}

void Array_Resize(int32_t new_count, void* variable) {
    void* array = variable ? LoadVariable(variable) : nullptr;
    if (!array) return;
    ArrayHeader* header = Array_HeaderOf(array);
    int32_t old_count = header->count;
    if (new_count == old_count) return;
    int64_t bytes = BlockSize(header->element_size, new_count);
    if (bytes < 0) {
        Array_Free(array);
        StoreVariable(variable, nullptr);
        return;
    }
    // Elements cut off release what they hold.
    if (header->layout && new_count < old_count) CleanUpElements(header, new_count, old_count);
    // Clean-up zeroes what it frees, so a failure here frees nothing twice.
    auto* moved = static_cast<ArrayHeader*>(
        HeapReAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY, header, static_cast<SIZE_T>(bytes)));
    if (!moved) {
        header->count = new_count < old_count ? new_count : old_count;
        Array_Free(array);
        StoreVariable(variable, nullptr);
        return;
    }
    // Nested objects that point back into their element follow it to its new place.
    if (StructureLayout_NeedsSetUp(moved->layout)) {
        int32_t kept = new_count < old_count ? new_count : old_count;
        for (int32_t i = 0; i < kept; ++i) {
            StructureLayout_Relocate(
                moved->layout, ElementsOf(moved) + static_cast<int64_t>(i) * moved->element_size);
        }
        SetUpElements(moved, old_count, new_count);
    }
    moved->count = new_count;
    StoreVariable(variable, ElementsOf(moved));
}

void Array_Free(void* array) {
    if (!array) return;
    ArrayHeader* header = Array_HeaderOf(array);
    if (header->layout) CleanUpElements(header, 0, header->count);
    if (header->variable && LoadVariable(header->variable) == array) {
        StoreVariable(header->variable, nullptr);
    }
    HeapFree(Runtime_Heap(), 0, header);
}
