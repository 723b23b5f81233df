// The windowed screen's child window: its creation, its fitting and the hooks' installation.
#include "runtime/screen/windowed_child.h"

#include "runtime/core/program.h"

HWND WindowedChild_Create(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height) {
    return CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, x, y, width, height, parent,
                           nullptr, Program_Globals().module_handle, nullptr);
}

void WindowedChild_Fit(HWND parent, HWND child, int32_t x, int32_t y, int32_t rightOffset,
                       int32_t bottomOffset) {
    RECT client{0, 0, 0, 0};
    GetClientRect(parent, &client);
    SetWindowPos(child, nullptr, 0, 0, client.right - rightOffset - x,
                 client.bottom - bottomOffset - y, SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
}

void WindowedChild_HookParent(HWND parent, const char* property, WNDPROC hook, WNDPROC* oldProc) {
    if (GetPropA(parent, property)) return;
    *oldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook)));
    SetPropA(parent, property, reinterpret_cast<HANDLE>(1));
}

WNDPROC WindowedChild_HookChild(HWND child, WNDPROC hook) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(child, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook)));
}
