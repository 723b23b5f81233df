// The numbered object tables both screen backends keep their sprites and quads in: making one,
// looking records up, and the numbering of a creation (a number asked for, or -1 for one the
// table chooses). Inline, as the look-ups sit on every draw.
#pragma once
#include <cstdint>

#include "runtime/core/object_table.h"
#include "runtime/screen/sprite.h"

// Slots a new table starts with.
constexpr int32_t kSpriteTableFirstSlots = 64;

// A table of `Record`s whose objects are freed through `freeOne`.
template <typename Record>
ObjectTable* SpriteTable_Create(ObjectFreeHook freeOne) {
    return ObjectTable_Create(static_cast<int32_t>(sizeof(Record)), kSpriteTableFirstSlots,
                              freeOne);
}

// The record of a live object (fast lookup), or null; also without a table.
template <typename Record>
Record* SpriteTable_Get(ObjectTable* table, int32_t number) {
    return table ? static_cast<Record*>(ObjectTable_Get(table, number)) : nullptr;
}

// Like SpriteTable_Get, for the places that expect stale numbers.
template <typename Record>
Record* SpriteTable_Find(ObjectTable* table, int32_t number) {
    return table ? static_cast<Record*>(ObjectTable_Find(table, number)) : nullptr;
}

inline void SpriteTable_FreeAll(ObjectTable* table) {
    if (table) ObjectTable_FreeAll(table);
}

// The number a creation fills: the one asked for, or the table's choice when -1 was asked.
inline int32_t SpriteTable_Number(int32_t number, int32_t dynamicNumber) {
    return number == -1 ? dynamicNumber : number;
}

// What a creation returns (see SpriteId): the number of a dynamic object, else `address`, the
// address the backend identifies the object by.
inline SpriteId SpriteTable_Id(int32_t number, int32_t dynamicNumber, const void* address) {
    return number == -1 ? static_cast<SpriteId>(dynamicNumber)
                        : reinterpret_cast<SpriteId>(address);
}
