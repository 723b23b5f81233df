#include "platform/win32/loader.h"

#include <strings.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/host.h"
#include "platform/win32/module_record.h"

namespace {

struct LoaderState {
    std::vector<std::unique_ptr<ModuleRecord>> loaded;
};

LoaderState& State() {
    static LoaderState state;
    return state;
}

// "d3d9" and "D3D9.DLL" name the same library.
bool SameLibrary(const char* table_name, const char* asked) {
    size_t n = std::strlen(asked);
    if (strcasecmp(table_name, asked) == 0) return true;
    size_t t = std::strlen(table_name);
    return t == n + 4 && strncasecmp(table_name, asked, n) == 0 &&
           strcasecmp(table_name + n, ".dll") == 0;
}

const ModuleEntry* FindEntry(const char* name) {
    size_t count = 0;
    const ModuleEntry* modules = Loader_Modules(&count);
    for (size_t i = 0; i < count; ++i) {
        if (SameLibrary(modules[i].name, name)) return &modules[i];
    }
    return nullptr;
}

}  // namespace

HMODULE LoadLibraryA(LPCSTR name) {
    if (!name || !*name) return nullptr;
    const ModuleEntry* entry = FindEntry(name);
    if (!entry) return nullptr;
    if (Host_IsMarkedMissing(entry->name)) return nullptr;
    for (auto& rec : State().loaded) {
        if (rec->entry == entry && rec->references > 0) {
            ++rec->references;
            return rec.get();
        }
    }
    if (entry->available && !entry->available()) return nullptr;
    auto rec = std::make_unique<ModuleRecord>(ModuleRecord{entry->name, entry, 1});
    State().loaded.push_back(std::move(rec));
    return State().loaded.back().get();
}

FARPROC GetProcAddress(HMODULE module, LPCSTR proc_name) {
    if (!module || !module->entry || !proc_name || module->references <= 0) return nullptr;
    const ModuleEntry* e = module->entry;
    for (size_t i = 0; i < e->export_count; ++i) {
        if (std::strcmp(e->exports[i].name, proc_name) == 0) return e->exports[i].proc;
    }
    return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
    auto& loaded = State().loaded;
    for (size_t i = 0; i < loaded.size(); ++i) {
        if (loaded[i].get() == module) {
            if (--loaded[i]->references <= 0) loaded.erase(loaded.begin() + i);
            return TRUE;
        }
    }
    return FALSE;
}

int Loader_ReferenceCount(LPCSTR name) {
    const ModuleEntry* entry = name ? FindEntry(name) : nullptr;
    for (auto& rec : State().loaded) {
        if (rec->entry == entry) return rec->references;
    }
    return 0;
}
