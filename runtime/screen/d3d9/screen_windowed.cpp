// A screen inside a "STATIC" child window of the caller's window: the child sized to the
// parent's client area when asked, hooks that refit and redraw it, presentation at the
// vertical blank.
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_device.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"
#include "runtime/screen/windowed_child.h"

namespace {

constexpr char kHookedProperty[] = "zq_dxsize";

constexpr WNDPROC kParentHook = &WindowedChild_ParentHook<&Screen_State, &Screen_Flip>;
constexpr WNDPROC kChildHook = &WindowedChild_ChildHook<&Screen_State, &Screen_Flip>;

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
    WindowedChild_Place(s, parent, x, y, width, height, autoStretch, rightOffset, bottomOffset);
    s.childWindow = WindowedChild_Create(parent, x, y, width, height);
    if (!s.childWindow) {
        Abandon(s);
        return 0;
    }
    WindowedChild_Refit(s);
    // The windowed entry always presents at the vertical blank.
    if (!Screen_FillPresentParameters(s.childWindow, width, height, 1, 0, 0x20) ||
        !Screen_CreateDevice(s.childWindow, D3DCREATE_HARDWARE_VERTEXPROCESSING)) {
        Abandon(s);
        return 0;
    }
    WindowedChild_HookParent(parent, kHookedProperty, kParentHook, &s.oldParentProc);
    D3DDISPLAYMODE mode{};
    if (s.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode) == D3D_OK) {
        s.refreshRate = static_cast<int32_t>(mode.RefreshRate);
    }
    s.oldChildProc = WindowedChild_HookChild(s.childWindow, kChildHook);
    Screen_ApplyDefaultStates();
    s.screenOpen = 1;
    s.active = 1;
    return 1;
}
