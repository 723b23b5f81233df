// Two-link block lists: blocks of a header (older, newer) and a payload, newest at the head.
#pragma once
#include <cstdint>

struct LinkedBlockHeader {
    LinkedBlockHeader* older;
    LinkedBlockHeader* newer;
};

// Allocates a zeroed block of `total_size` bytes (header included) on the runtime heap, pushes
// it at the head and returns its payload, or null when the memory is not to be had.
void* LinkedBlock_Add(LinkedBlockHeader** head, int64_t total_size);
// Unlinks the block of this payload and frees it.
void LinkedBlock_Remove(LinkedBlockHeader** head, void* payload);

inline LinkedBlockHeader* LinkedBlock_HeaderOf(void* payload) {
    return static_cast<LinkedBlockHeader*>(payload) - 1;
}
inline void* LinkedBlock_PayloadOf(LinkedBlockHeader* block) {
    return block + 1;
}
