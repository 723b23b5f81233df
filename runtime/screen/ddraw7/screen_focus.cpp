// The pixel-saving hook of the full-screen window's procedure: when the window is deactivated,
// or Tab or Alt is released (the start of a switch to another program), every sprite's pixels
// are copied to the heap once, before the display is taken away and the surfaces are lost.
#include "platform/win32/messages.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"

namespace {

LRESULT FocusHook(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    ScreenState& s = Screen_State();
    if (s.screenOpen && !s.windowed) {
        const bool deactivated = message == WM_ACTIVATE && LOWORD(wparam) == WA_INACTIVE;
        const bool switch_key =
            (message == WM_KEYUP || message == WM_SYSKEYUP) &&
            (wparam == static_cast<WPARAM>(VK_TAB) || wparam == static_cast<WPARAM>(VK_MENU));
        if (deactivated || switch_key) Screen_SavePixelsOnce();
    }
    return s.oldWindowProc ? CallWindowProcA(s.oldWindowProc, window, message, wparam, lparam)
                           : DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace

void Screen_InstallFocusHook() {
    ScreenState& s = Screen_State();
    if (s.oldWindowProc || !s.sharedWindow || !IsWindow(s.sharedWindow)) return;
    s.oldWindowProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(s.sharedWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FocusHook)));
}

void Screen_RemoveFocusHook() {
    ScreenState& s = Screen_State();
    if (!s.oldWindowProc) return;
    // Only while it is the window's procedure; a hook installed after it keeps calling it, and
    // it then passes everything on.
    if (IsWindow(s.sharedWindow) &&
        GetWindowLongPtrA(s.sharedWindow, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&FocusHook)) {
        SetWindowLongPtrA(s.sharedWindow, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(s.oldWindowProc));
        s.oldWindowProc = nullptr;
    }
}

void Screen_SavePixelsOnce() {
    ScreenState& s = Screen_State();
    if (s.pixelsSaved) return;
    Sprite_SavePixels();
    s.pixelsSaved = 1;
}
