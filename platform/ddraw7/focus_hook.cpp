// Exclusive mode and the focus: the cooperative window's procedure is hooked while a DirectDraw
// object holds it, and its deactivation gives the display back to the desktop, losing the
// object's video-memory surfaces (after the program's own procedure has seen the message, so it
// can still save what it needs).
#include <algorithm>
#include <vector>

#include "platform/ddraw7/ddraw_state.h"
#include "platform/win32/window.h"

namespace {

struct Hook {
    HWND window;
    WNDPROC previous;
    IDirectDraw7* owner;  // null: the hook only passes messages on
};

std::vector<Hook>& Hooks() {
    static std::vector<Hook> hooks;
    return hooks;
}

Hook* Find(HWND window) {
    for (Hook& h : Hooks()) {
        if (h.window == window) return &h;
    }
    return nullptr;
}

LRESULT HookProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    Hook* hook = Find(window);
    if (!hook) return DefWindowProcA(window, message, wparam, lparam);
    WNDPROC previous = hook->previous;
    LRESULT result = previous ? CallWindowProcA(previous, window, message, wparam, lparam)
                              : DefWindowProcA(window, message, wparam, lparam);
    // The procedure may have changed the hooks: look again.
    hook = Find(window);
    if (!hook) return result;
    if (message == WM_ACTIVATE && LOWORD(wparam) == WA_INACTIVE && hook->owner) {
        hook->owner->LoseVideoSurfaces();
    } else if (message == WM_NCDESTROY) {
        auto& hooks = Hooks();
        hooks.erase(hooks.begin() + (hook - hooks.data()));
    }
    return result;
}

}  // namespace

void DDraw7_HookWindow(HWND window, IDirectDraw7* owner) {
    if (Hook* hook = Find(window)) {
        hook->owner = owner;
        return;
    }
    auto previous = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HookProcedure)));
    Hooks().push_back(Hook{window, previous, owner});
}

void DDraw7_UnhookWindow(HWND window, IDirectDraw7* owner) {
    Hook* hook = Find(window);
    if (!hook || hook->owner != owner) return;
    hook->owner = nullptr;
    // Taken out of the chain only when nothing hooked the window after it; otherwise it stays
    // in place and passes everything on.
    if (IsWindow(window) &&
        GetWindowLongPtrA(window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&HookProcedure)) {
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->previous));
        auto& hooks = Hooks();
        hooks.erase(hooks.begin() + (hook - hooks.data()));
    }
}

IDirectDraw7* DDraw7_ExclusiveOwner() {
    for (const Hook& h : Hooks()) {
        if (h.owner && IsWindow(h.window)) return h.owner;
    }
    return nullptr;
}
