// The program frame: the global block, the runtime heap, and the single start and end of
// every program built on the runtime.
#pragma once
#include <cstdint>
#include <type_traits>

#include "platform/win32/types.h"

// 400 bytes of program globals, zeroed before anything else runs. The first two words belong
// to the runtime; the rest holds the program's own variables.
struct GlobalBlock {
    HHEAP runtime_heap;     // word 0
    HMODULE module_handle;  // word 1
    unsigned char program[400 - 2 * sizeof(void*)];
};
static_assert(sizeof(GlobalBlock) == 400);

GlobalBlock& Program_Globals();

// The program's own variables, laid over the rest of the global block.
template <typename T>
T& Program_Variables() {
    static_assert(sizeof(T) <= sizeof(GlobalBlock::program));
    static_assert(std::is_trivially_copyable_v<T>);
    return *reinterpret_cast<T*>(Program_Globals().program);
}

// The heap every library keeps its tables and records on.
inline HHEAP Runtime_Heap() {
    return Program_Globals().runtime_heap;
}

// Prepares the global block and the runtime heap, then runs the start-up chain.
void Program_Start();
// Runs the cleanup chain, destroys the runtime heap and ends the process with exit code 0.
[[noreturn]] void Program_End();
void Runtime_Shutdown();

// One routine of a start-up or cleanup chain.
struct ChainRoutine {
    const char* name;
    void (*run)();
};
struct RuntimeChains {
    const ChainRoutine* startup;
    int startup_count;
    const ChainRoutine* cleanup;
    int cleanup_count;
};
// The chains of this deliverable, defined by the deliverable's chain file.
extern const RuntimeChains Runtime_Chains;
