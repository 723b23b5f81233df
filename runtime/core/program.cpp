#include "runtime/core/program.h"

#include <cstring>

#include "platform/win32/heap.h"
#include "platform/win32/process.h"

namespace {
alignas(16) GlobalBlock g_globals;
}

GlobalBlock& Program_Globals() {
    return g_globals;
}

void Program_Start() {
    // The global block starts all zeros.
    std::memset(&g_globals, 0, sizeof(g_globals));
    // The module handle.
    g_globals.module_handle = GetModuleHandleA(nullptr);
    // The runtime heap.
    g_globals.runtime_heap = HeapCreate(0, 4096, 0);
    // The library start-up chain.
    for (int i = 0; i < Runtime_Chains.startup_count; ++i) Runtime_Chains.startup[i].run();
}

void Runtime_Shutdown() {
    for (int i = 0; i < Runtime_Chains.cleanup_count; ++i) Runtime_Chains.cleanup[i].run();
}

void Program_End() {
    Runtime_Shutdown();
    HeapDestroy(g_globals.runtime_heap);
    g_globals.runtime_heap = nullptr;
    ExitProcess(0);
}
