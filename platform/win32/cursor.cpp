// user32 icons and cursors: handles for the program's icon resource and the system's standard
// icons and cursors, and the cursor's display counter.
#include <cstdint>

#include "platform/host/video.h"
#include "platform/win32/process.h"
#include "platform/win32/window.h"
#include "platform/win32/window_record.h"

namespace {

// What a handle names: a resource id of a module (null for the system's own).
struct ResourceHandle {
    HINSTANCE module;
    uintptr_t id;
};

// The program carries one icon, resource 1; the system offers the standard ids.
ResourceHandle g_program_icon{nullptr, 1};
ResourceHandle g_system_icons[] = {{nullptr, 32512}, {nullptr, 32513}, {nullptr, 32514},
                                   {nullptr, 32515}, {nullptr, 32516}, {nullptr, 32517}};
ResourceHandle g_system_cursors[] = {
    {nullptr, 32512}, {nullptr, 32513}, {nullptr, 32514}, {nullptr, 32515}, {nullptr, 32516},
    {nullptr, 32640}, {nullptr, 32641}, {nullptr, 32642}, {nullptr, 32643}, {nullptr, 32644},
    {nullptr, 32645}, {nullptr, 32646}, {nullptr, 32648}, {nullptr, 32649}, {nullptr, 32650}};

// Names written as MAKEINTRESOURCE are small numbers; real strings are pointers above 64K.
bool IsIntResource(LPCSTR name) {
    return reinterpret_cast<uintptr_t>(name) < 0x10000;
}

}  // namespace

HICON LoadIconA(HINSTANCE instance, LPCSTR name) {
    if (!name || !IsIntResource(name)) return nullptr;
    uintptr_t id = reinterpret_cast<uintptr_t>(name);
    if (instance) {
        if (instance == GetModuleHandleA(nullptr) && id == g_program_icon.id) {
            g_program_icon.module = instance;
            return &g_program_icon;
        }
        return nullptr;
    }
    for (ResourceHandle& r : g_system_icons) {
        if (r.id == id) return &r;
    }
    return nullptr;
}

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (instance || !name || !IsIntResource(name)) return nullptr;
    uintptr_t id = reinterpret_cast<uintptr_t>(name);
    for (ResourceHandle& r : g_system_cursors) {
        if (r.id == id) return &r;
    }
    return nullptr;
}

int ShowCursor(BOOL show) {
    User32State& st = User32();
    bool was_visible = st.cursor_count >= 0;
    st.cursor_count += show ? 1 : -1;
    bool visible = st.cursor_count >= 0;
    if (visible != was_visible) Host_SetCursorVisible(visible);
    return st.cursor_count;
}
