// Copying one array over another: byte for byte, or deep through the element layout. Serves
// array fields of structures.
#include <cstring>

#include "runtime/core/array.h"

int32_t Array_Copy(void* source, void* destination, int32_t recreate) {
    if (!source || !destination) return 0;
    if (source == destination) return 1;
    ArrayHeader* from = Array_HeaderOf(source);
    if (recreate) {
        ArrayHeader* old = Array_HeaderOf(destination);
        void* variable = old->variable;
        // The new array can only be handed back through the variable that holds the old one.
        void* held = nullptr;
        if (variable) std::memcpy(&held, variable, sizeof(held));
        if (held != destination) return 0;
        destination =
            Array_Create(from->element_size, from->count, from->type_code, from->layout, variable);
        if (!destination) return 0;
    }
    ArrayHeader* to = Array_HeaderOf(destination);
    // Copying between arrays of other shapes would write past the destination.
    if (from->count != to->count || from->element_size != to->element_size ||
        from->layout != to->layout) {
        return 0;
    }
    if (!from->layout) {
        std::memcpy(destination, source, static_cast<size_t>(from->count) * from->element_size);
        return 1;
    }
    for (int32_t i = 0; i < from->count; ++i) {
        int64_t offset = static_cast<int64_t>(i) * from->element_size;
        StructureLayout_Copy(from->layout, static_cast<uint8_t*>(destination) + offset,
                             static_cast<const uint8_t*>(source) + offset, from->element_size);
    }
    return 1;
}
