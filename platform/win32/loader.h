// Run-time library loading (kernel32 LoadLibrary/GetProcAddress/FreeLibrary).
// A library is present when the host can back it and KAVRO_MISSING does not name it.
#pragma once
#include "platform/win32/types.h"

// Case-insensitive; a ".dll" suffix may be left out. Counts references like the real loader.
HMODULE LoadLibraryA(LPCSTR name);
FARPROC GetProcAddress(HMODULE module, LPCSTR proc_name);
BOOL FreeLibrary(HMODULE module);

// What a stand-in library offers to the loader.
struct ModuleExport {
    const char* name;
    FARPROC proc;
};
struct ModuleEntry {
    const char* name;     // e.g. "d3d9.dll"
    bool (*available)();  // null: always present
    const ModuleExport* exports;
    size_t export_count;
};
// The table of every stand-in library of this build (platform/win32/modules.cpp).
const ModuleEntry* Loader_Modules(size_t* count);
// References held on a library; 0 when it is not loaded. For tests.
int Loader_ReferenceCount(LPCSTR name);
