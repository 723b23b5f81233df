// Dynamic arrays: one block on the runtime heap, an ArrayHeader followed by the zeroed
// elements. An array variable is a pointer-sized word that holds null or the address of
// element 0; the program indexes elements directly (element i at address + i * size).
#pragma once
#include <cstdint>

#include "runtime/core/structure_layout.h"

struct ArrayHeader {
    int32_t dimensions;      // 1, or the dimension count given to Array_CreateMulti
    int32_t element_size;    // bytes per element
    StructureLayout layout;  // fields of structure elements, or null for plain elements
    void* variable;          // address of the array variable that owns the array
    int32_t count;           // number of elements
    int32_t type_code;       // element kind chosen by the caller; stored, not interpreted
};

inline ArrayHeader* Array_HeaderOf(void* array) {
    return static_cast<ArrayHeader*>(array) - 1;
}

// Registers the array create, copy and free hooks used for array fields of structures.
void Array_Init();

// Frees the array the variable holds, then makes a new one of `count` zeroed elements (set up
// through the layout when it needs it) and stores element 0's address in the variable.
// Returns that address, or null (the variable then holds null) when the memory is not to be
// had or the size is negative or overflows. `variable` is the address of the array variable.
void* Array_Create(int32_t element_size, int32_t count, int32_t type_code, StructureLayout layout,
                   void* variable);
// `descriptor`: pointer-sized words, the array variable first, then one word per dimension.
// The words hold each dimension's element count before the call and its stride in elements
// after it (the product of the counts after it; 1 for the last), so that element (i, j, k) is
// at index i * stride0 + j * stride1 + k * stride2.
void* Array_CreateMulti(int32_t dimension_count, int32_t element_size, int32_t type_code,
                        StructureLayout layout, void* descriptor);
// Resizes the array the variable holds; old elements keep their values, new ones are zeroed
// (and set up). A variable that holds no array is left alone. When the new size cannot be had
// (no memory, a negative count, an overflowing size) the array is freed and the variable holds
// null, as after a failed Array_Create.
void Array_Resize(int32_t new_count, void* variable);
// Cleans up every element through the layout, sets the owning variable to null (when it still
// holds this array) and frees the block. Null does nothing.
void Array_Free(void* array);
// Copies the elements of `source` over those of `destination` (deep through the layout).
// With `recreate`, the destination is first made again like the source, through the variable
// that holds it. Returns 1, or 0 when either is null, when the two do not have the same count,
// element size and layout, or when a destination to recreate is held by no variable.
int32_t Array_Copy(void* source, void* destination, int32_t recreate);
