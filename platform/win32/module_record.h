// The record behind an HMODULE: the program itself or a loaded stand-in library.
#pragma once
#include "platform/win32/loader.h"

struct ModuleRecord {
    const char* name;
    const ModuleEntry* entry;  // null for the program's own module
    int references;
};
