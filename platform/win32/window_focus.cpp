// user32 activation and focus: the foreground window, the thread's active window, the focused
// window, and the WM_ACTIVATE/WM_SETFOCUS messages that tell the windows about changes.
#include "platform/win32/process.h"
#include "platform/win32/window.h"
#include "platform/win32/window_record.h"

void User32_Activate(HWND window) {
    User32State& st = User32();
    if (window && !User32_Live(window)) return;
    if (window) window = GetAncestor(window, GA_ROOT);
    HWND old = User32_Live(st.foreground) ? st.foreground : nullptr;
    if (old == window) return;
    st.foreground = window;
    if (old) {
        SendMessageA(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(window));
    }
    if (window && User32_Live(window) && st.foreground == window) {
        SendMessageA(window, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
    }
}

void User32_Deactivate(HWND window) {
    User32State& st = User32();
    if (!window || st.foreground != window) return;
    st.foreground = nullptr;
    SendMessageA(window, WM_ACTIVATE, WA_INACTIVE, 0);
}

HWND GetForegroundWindow() {
    HWND w = User32().foreground;
    return User32_Live(w) ? w : nullptr;
}

BOOL SetForegroundWindow(HWND window) {
    if (!User32_Live(window)) return FALSE;
    User32_Activate(window);
    return TRUE;
}

HWND GetActiveWindow() {
    HWND w = GetForegroundWindow();
    if (w && w->thread == GetCurrentThreadId()) return w;
    return nullptr;
}

HWND SetActiveWindow(HWND window) {
    HWND old = GetActiveWindow();
    if (!User32_Live(window) || (window->style & WS_CHILD)) return nullptr;
    User32_Activate(window);
    return old;
}

HWND GetFocus() {
    HWND w = User32().focus;
    return User32_Live(w) ? w : nullptr;
}

HWND SetFocus(HWND window) {
    User32State& st = User32();
    HWND old = GetFocus();
    if (window && !User32_Live(window)) return nullptr;
    if (old == window) return old;
    st.focus = window;
    if (old) SendMessageA(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    if (window && User32_Live(window) && st.focus == window) {
        SendMessageA(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    }
    return old;
}
