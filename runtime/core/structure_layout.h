// Structure layouts: read-only tables that name the fields of a structure type which need
// set-up or clean-up (strings, nested structures, fixed arrays of structures, dynamic-array
// and list fields), and the walks over them that arrays and lists use for their elements.
//
// A layout is a table of pointer-sized words (so that nested layouts fit in a word), ending
// with kLayoutEnd. Entries:
//   k >= 0                                          string variable at byte offset k
//   kLayoutFixedArray, count, offset, stride, layout   count nested structures, stride apart
//   kLayoutNested, offset, (unused), layout            one nested structure
//   kLayoutArray, offset, element size, count, type code, layout   dynamic-array field
//   kLayoutList, offset, element size, type code, layout           list field (two words)
//   kLayoutMap, offset and three words                 map field (no map hooks exist)
// A list field is a list variable of two words: the ListHeader, then the current node.
#pragma once
#include <cstdint>

using StructureLayoutWord = intptr_t;
using StructureLayout = const StructureLayoutWord*;

constexpr StructureLayoutWord kLayoutEnd = -1;
constexpr StructureLayoutWord kLayoutFixedArray = -2;
constexpr StructureLayoutWord kLayoutNested = -3;
constexpr StructureLayoutWord kLayoutArray = -4;
constexpr StructureLayoutWord kLayoutList = -5;
constexpr StructureLayoutWord kLayoutMap = -6;

// A nested layout as a word of a layout table.
inline StructureLayoutWord LayoutWordOf(StructureLayout layout) {
    return reinterpret_cast<StructureLayoutWord>(layout);
}

struct ListHeader;

// The hooks through which elements create, copy and free their array and list fields,
// registered by Array_Init and List_Init.
struct StructureHooks {
    void* (*array_create)(int32_t element_size, int32_t count, int32_t type_code,
                          StructureLayout layout, void* variable);
    int32_t (*array_copy)(void* source, void* destination, int32_t recreate);
    void (*array_free)(void* array);
    ListHeader* (*list_create)(int32_t element_size, void* variable, StructureLayout layout,
                               int32_t type_code);
    int32_t (*list_copy)(ListHeader* source, ListHeader* destination, int32_t clear);
    void (*list_destroy)(ListHeader* list);
};

void StructureLayout_SetArrayHooks(void* (*create)(int32_t, int32_t, int32_t, StructureLayout,
                                                   void*),
                                   int32_t (*copy)(void*, void*, int32_t), void (*free)(void*));
void StructureLayout_SetListHooks(ListHeader* (*create)(int32_t, void*, StructureLayout, int32_t),
                                  int32_t (*copy)(ListHeader*, ListHeader*, int32_t),
                                  void (*destroy)(ListHeader*));
const StructureHooks& StructureLayout_Hooks();

// True when elements of this layout need set-up: it holds an array, list or map field,
// directly or in nested structures. A null layout needs none.
bool StructureLayout_NeedsSetUp(StructureLayout layout);
// Creates the array and list fields of one zeroed element.
void StructureLayout_SetUp(StructureLayout layout, void* element);
// Frees the strings, arrays and lists of one element and zeroes those fields, so that a
// second clean-up of the same element does nothing.
void StructureLayout_CleanUp(StructureLayout layout, void* element);
// After an element moved in memory: its array and list fields point back to their new place.
void StructureLayout_Relocate(StructureLayout layout, void* element);
// Makes `destination` a deep copy of `source` (`size` bytes): its own fields are cleaned up,
// the bytes copied, then strings, arrays and lists duplicated.
void StructureLayout_Copy(StructureLayout layout, void* destination, const void* source,
                          int32_t size);
