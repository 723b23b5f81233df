// The hidden shared window: its class, its creation and its window procedure.
#include "runtime/screen/shared_window.h"

#include "platform/gdi/gdi.h"
#include "platform/win32/window.h"
#include "runtime/core/program.h"

namespace {

constexpr char kClassName[] = "MultimediaBase Class";

struct SharedWindowState {
    HWND window;
    bool class_registered;
    SharedWindowActivateHandler on_activate;
};

SharedWindowState& State() {
    static SharedWindowState state{};
    return state;
}

}  // namespace

LRESULT SharedWindow_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_ACTIVATE:
            if (State().on_activate) State().on_activate(LOWORD(wparam) != 0);
            return 0;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            return 0;
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            return 1;
        }
        // The full-screen window is closed by the program only.
        case WM_CLOSE:
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return 0;
        default:
            return DefWindowProcA(window, message, wparam, lparam);
    }
}

HWND SharedWindow_Create() {
    SharedWindowState& s = State();
    if (s.window && IsWindow(s.window)) return s.window;
    s.window = nullptr;
    HINSTANCE instance = Program_Globals().module_handle;
    if (!s.class_registered) {
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &SharedWindow_Procedure;
        wc.hInstance = instance;
        wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
        wc.hCursor = nullptr;
        wc.hbrBackground = GetStockObject(BLACK_BRUSH);
        wc.lpszClassName = kClassName;
        // A refusal means the class exists already; creating the window tells.
        s.class_registered = RegisterClassA(&wc) != 0;
    }
    s.window = CreateWindowExA(0, kClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance,
                               nullptr);
    return s.window;
}

HWND SharedWindow_Handle() {
    SharedWindowState& s = State();
    return s.window && IsWindow(s.window) ? s.window : nullptr;
}

void SharedWindow_SetActivateHandler(SharedWindowActivateHandler handler) {
    State().on_activate = handler;
}
