// A library's global state: one zeroed block on the runtime heap, made once.
#pragma once
#include <cstdint>

using LibraryStateHook = void (*)(void* block);

// Allocates and zeroes `size` bytes and runs `init` on them when given. `free_hook` is not
// kept: each library's end routine does its own cleanup.
void* LibraryState_Create(int32_t size, LibraryStateHook init, LibraryStateHook free_hook);
// Marks each place that reads a library's state.
inline void* LibraryState_Get(void* block) {
    return block;
}
