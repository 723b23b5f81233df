// user32 painting: the update state of windows, WM_PAINT's BeginPaint/EndPaint bracket and the
// background erase.
#include <cstring>

#include "platform/win32/window.h"
#include "platform/win32/window_record.h"

BOOL InvalidateRect(HWND window, const RECT*, BOOL erase) {
    if (!window) {
        // A null window repaints every window.
        for (auto& rec : User32().windows) {
            if (rec->alive) InvalidateRect(rec.get(), nullptr, erase);
        }
        return TRUE;
    }
    if (!User32_Live(window)) return FALSE;
    window->needs_paint = true;
    if (erase) window->needs_erase = true;
    return TRUE;
}

BOOL ValidateRect(HWND window, const RECT*) {
    if (!User32_Live(window)) return FALSE;
    window->needs_paint = false;
    window->needs_erase = false;
    return TRUE;
}

BOOL UpdateWindow(HWND window) {
    if (!User32_Live(window)) return FALSE;
    if (window->needs_paint && IsWindowVisible(window)) SendMessageA(window, WM_PAINT, 0, 0);
    return TRUE;
}

HDC BeginPaint(HWND window, PAINTSTRUCT* paint) {
    if (!User32_Live(window) || !paint) return nullptr;
    std::memset(paint, 0, sizeof(*paint));
    GetClientRect(window, &paint->rcPaint);
    bool erase = window->needs_erase;
    window->needs_paint = false;
    window->needs_erase = false;
    if (erase) {
        // fErase tells the painter that the background still needs erasing.
        paint->fErase = SendMessageA(window, WM_ERASEBKGND, 0, 0) == 0 ? TRUE : FALSE;
    }
    return nullptr;
}

BOOL EndPaint(HWND window, const PAINTSTRUCT*) {
    return User32_Live(window) ? TRUE : FALSE;
}
