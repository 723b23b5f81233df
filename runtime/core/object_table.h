// Numbered object tables: records indexed by a caller-chosen number, plus dynamic objects whose
// number the table chooses (caller passes -1).
#pragma once
#include <cstdint>
#include <cstring>

#include "runtime/core/linked_block.h"

using ObjectFreeHook = void (*)(int32_t number);

struct ObjectTable {
    int32_t record_size;
    int32_t growth_step;
    int32_t capacity;
    LinkedBlockHeader* dynamic_list;  // newest dynamic object block
    ObjectFreeHook free_hook;
    int32_t iteration_index;
    LinkedBlockHeader* iteration_cursor;
    uint8_t* slots;
    // Record addresses do not fit a 32-bit number on 64-bit machines, so dynamic objects get
    // numbers from this counter, in a range no slot number can reach.
    int32_t next_dynamic;
};

// Slot numbers stop below this bound; a larger number is refused rather than growing the table
// to a giant size. The game's highest slot numbers are near 55,000.
constexpr int32_t kObjectTableSlotLimit = 1 << 24;
// Dynamic objects are numbered from here up to INT32_MAX, never below.
constexpr int32_t kObjectTableDynamicBase = 0x40000000;

// A record is in use while its first word (pointer-sized) is non-zero.
ObjectTable* ObjectTable_Create(int32_t record_size, int32_t initial_slots, ObjectFreeHook hook);
// Returns the zeroed record to fill, or null when the number is refused (below -1, at or above
// the slot limit) or the memory is not to be had. For -1, the new object's number is written
// to `*dynamic_number` when that is given.
void* ObjectTable_Allocate(ObjectTable* table, int32_t number, int32_t* dynamic_number = nullptr);
// ObjectTable_Get for the numbers that are not a slot of the table: dynamic objects, and the
// refusals (no table, a negative number).
void* ObjectTable_GetOther(ObjectTable* table, int32_t number);
// The record of a live object, or null. Never reads outside the table for any number. Every
// draw looks its object up, so the slot case is inline.
inline void* ObjectTable_Get(ObjectTable* table, int32_t number) {
    if (table && number >= 0 && number < table->capacity) {
        uint8_t* record = table->slots + static_cast<int64_t>(number) * table->record_size;
        uintptr_t word;
        std::memcpy(&word, record, sizeof(word));
        return word != 0 ? record : nullptr;
    }
    return ObjectTable_GetOther(table, number);
}
// Like ObjectTable_Get; kept as its own name for the places that expect stale numbers.
void* ObjectTable_Find(ObjectTable* table, int32_t number);
// The number of a record returned by ObjectTable_Allocate, or -1 for an unknown address.
int32_t ObjectTable_NumberOf(ObjectTable* table, const void* record);
void ObjectTable_Release(ObjectTable* table, int32_t number);
// Iteration: slots in ascending number, then dynamic objects oldest first. The cursor moves on
// before a record is returned, so the caller may free that object.
void ObjectTable_First(ObjectTable* table);
void* ObjectTable_Next(ObjectTable* table, int32_t* number);
// Calls the free hook for every object.
void ObjectTable_FreeAll(ObjectTable* table);
