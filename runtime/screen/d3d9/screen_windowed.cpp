// A screen inside a "STATIC" child window of the caller's window: the child sized to the
// parent's client area when asked, hooks that refit and redraw it, presentation at the
// vertical blank.
#include "runtime/core/program.h"
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_device.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"

namespace {

constexpr char kHookedProperty[] = "zq_dxsize";

void FitChild(ScreenState& s) {
    if (!s.autoStretch) return;
    RECT client{0, 0, 0, 0};
    GetClientRect(s.window, &client);
    SetWindowPos(s.childWindow, nullptr, 0, 0, client.right - s.rightOffset - s.childX,
                 client.bottom - s.bottomOffset - s.childY,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOOWNERZORDER);
}

LRESULT ParentHook(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    ScreenState& s = Screen_State();
    if (message == WM_SIZE && s.screenOpen && s.windowed) {
        FitChild(s);
        if (s.screenWidth) Screen_Flip();
    }
    return CallWindowProcA(s.oldParentProc, window, message, wparam, lparam);
}

LRESULT ChildHook(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    ScreenState& s = Screen_State();
    if (message == WM_PAINT && s.screenOpen) {
        LRESULT result = CallWindowProcA(s.oldChildProc, window, message, wparam, lparam);
        if (s.screenWidth) Screen_Flip();
        return result;
    }
    return CallWindowProcA(s.oldChildProc, window, message, wparam, lparam);
}

void Abandon(ScreenState& s) {
    Sprite_FreeAll();
    if (s.childWindow) DestroyWindow(s.childWindow);
    s.childWindow = nullptr;
    s.windowed = 0;
    s.screenWidth = s.screenHeight = 0;
}

}  // namespace

int32_t Screen_OpenWindowed(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height,
                            int32_t autoStretch, int32_t rightOffset, int32_t bottomOffset) {
    ScreenState& s = Screen_State();
    Screen_Close();
    if (!parent || !IsWindow(parent) || !s.initialised) return 0;
    Screen_ForgetRenderStates();
    s.renderTarget = -1;
    s.childX = x;
    s.childY = y;
    s.rightOffset = rightOffset;
    s.bottomOffset = bottomOffset;
    s.autoStretch = autoStretch;
    s.windowed = 1;
    s.window = parent;
    s.width = s.screenWidth = width;
    s.height = s.screenHeight = height;
    s.childWindow = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, x, y, width, height,
                                    parent, nullptr, Program_Globals().module_handle, nullptr);
    if (!s.childWindow) {
        Abandon(s);
        return 0;
    }
    FitChild(s);
    // The windowed entry always presents at the vertical blank.
    if (!Screen_FillPresentParameters(s.childWindow, width, height, 1, 0, 0x20) ||
        !Screen_CreateDevice(s.childWindow, D3DCREATE_HARDWARE_VERTEXPROCESSING)) {
        Abandon(s);
        return 0;
    }
    if (!GetPropA(parent, kHookedProperty)) {
        s.oldParentProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ParentHook)));
        SetPropA(parent, kHookedProperty, reinterpret_cast<HANDLE>(1));
    }
    D3DDISPLAYMODE mode{};
    if (s.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode) == D3D_OK) {
        s.refreshRate = static_cast<int32_t>(mode.RefreshRate);
    }
    s.oldChildProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(s.childWindow, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ChildHook)));
    Screen_ApplyDefaultStates();
    s.screenOpen = 1;
    s.active = 1;
    return 1;
}
