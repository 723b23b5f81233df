// Opening and closing the full-screen screen: back-buffer format, present parameters, device
// creation in the shared window, and the close that undoes both open operations.
#include "platform/win32/time.h"
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_device.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"
#include "runtime/screen/screen_output_context.h"

namespace {

bool Passes(IDirect3D9* d3d, D3DFORMAT format) {
    return d3d->CheckDeviceType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, format, format, FALSE) ==
           D3D_OK;
}

// The first depth format the adapter matches, in the order the flags ask for; 0 for none.
D3DFORMAT DepthFormat(IDirect3D9* d3d, D3DFORMAT back_buffer, int32_t flags) {
    static const D3DFORMAT kAny[] = {D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8,       D3DFMT_D24X4S4,
                                     D3DFMT_D32, D3DFMT_D15S1, D3DFMT_D16_LOCKABLE};
    static const D3DFORMAT kStencil[] = {D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D15S1};
    const D3DFORMAT* list = (flags & 0x10) ? kStencil : kAny;
    int count = (flags & 0x10) ? 3 : 7;
    for (int i = 0; i < count; ++i) {
        if (d3d->CheckDepthStencilMatch(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, back_buffer,
                                        back_buffer, list[i]) == D3D_OK) {
            return list[i];
        }
    }
    return D3DFMT_UNKNOWN;
}

}  // namespace

D3DFORMAT Screen_FullScreenFormat(int32_t depth) {
    IDirect3D9* d3d = Screen_State().direct3d;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    if (depth == 16) {
        if (Passes(d3d, D3DFMT_R5G6B5)) format = D3DFMT_R5G6B5;
        if (Passes(d3d, D3DFMT_X1R5G5B5)) format = D3DFMT_X1R5G5B5;
    } else if (depth == 32) {
        if (Passes(d3d, D3DFMT_X8R8G8B8)) format = D3DFMT_X8R8G8B8;
    }
    return format;
}

bool Screen_FillPresentParameters(HWND window, int32_t width, int32_t height, int32_t windowed,
                                  int32_t depth, int32_t flags) {
    ScreenState& s = Screen_State();
    D3DPRESENT_PARAMETERS& p = s.presentParameters;
    p = D3DPRESENT_PARAMETERS{};
    p.BackBufferWidth = static_cast<UINT>(width);
    p.BackBufferHeight = static_cast<UINT>(height);
    p.hDeviceWindow = window;
    p.Windowed = windowed;
    if (windowed) {
        D3DDISPLAYMODE mode;
        if (s.direct3d->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode) != D3D_OK) return false;
        p.BackBufferFormat = mode.Format;
    } else {
        p.BackBufferFormat = Screen_FullScreenFormat(depth);
    }
    p.BackBufferCount = (flags & 1) ? 2 : (flags & 2) ? 3 : 1;
    if (windowed) {
        p.BackBufferCount = 1;
        p.SwapEffect = D3DSWAPEFFECT_COPY;
    } else {
        p.FullScreen_RefreshRateInHz = static_cast<UINT>(s.refreshRate);
        p.SwapEffect = D3DSWAPEFFECT_FLIP;
    }
    p.PresentationInterval = (flags & 4) ? D3DPRESENT_INTERVAL_IMMEDIATE : D3DPRESENT_INTERVAL_ONE;
    if (flags & 0x18) {
        p.EnableAutoDepthStencil = static_cast<BOOL>(0xFFFFFFFFu);
        p.AutoDepthStencilFormat = DepthFormat(s.direct3d, p.BackBufferFormat, flags);
        if (p.AutoDepthStencilFormat == D3DFMT_UNKNOWN) return false;
    }
    if (flags & 0x20) p.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
    return true;
}

bool Screen_CreateDevice(HWND focus, DWORD hardware_behaviour) {
    ScreenState& s = Screen_State();
    D3DCAPS9 caps;
    if (s.direct3d->GetDeviceCaps(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, &caps) != D3D_OK) {
        return false;
    }
    DWORD behaviour = (caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT)
                          ? hardware_behaviour
                          : D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    IDirect3DDevice9* device = nullptr;
    if (s.direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, focus, behaviour,
                                 &s.presentParameters, &device) != D3D_OK ||
        !device) {
        return false;
    }
    s.device = device;
    D3DFORMAT format = s.presentParameters.BackBufferFormat;
    s.pixelFormatCode = Screen_FormatCode(format);
    s.depth = Screen_FormatDepth(format);
    if (device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &s.backBuffer) != D3D_OK) {
        s.backBuffer = nullptr;
    }
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 0.0f, 0);
    return true;
}

int32_t Screen_FormatCode(D3DFORMAT format) {
    switch (format) {
        case D3DFMT_X8R8G8B8:
            return 0x40;
        case D3DFMT_R5G6B5:
            return 4;
        case D3DFMT_X1R5G5B5:
            return 2;
        default:
            return 0;
    }
}

int32_t Screen_FormatDepth(D3DFORMAT format) {
    switch (format) {
        case 20:
            return 24;
        case 21:
        case 22:
        case 31:
        case 34:
        case 35:
            return 32;
        case 23:
        case 24:
        case 25:
        case 26:
        case 29:
        case 30:
            return 16;
        case 27:
        case 28:
            return 8;
        case 36:
            return 64;
        default:
            return 0;
    }
}

int32_t Screen_Open(int32_t width, int32_t height, int32_t depth, const char* title,
                    int32_t flags) {
    ScreenState& s = Screen_State();
    if (!s.initialised) return 0;
    // A second open replaces the first instead of losing its device.
    Screen_Close();
    s.window = s.sharedWindow;
    if (!s.window || !IsWindow(s.window)) return 0;
    SetWindowTextA(s.window, title ? title : "");
    MoveWindow(s.window, 0, 0, static_cast<int16_t>(width), static_cast<int16_t>(height), TRUE);
    s.depth = static_cast<int16_t>(depth);
    s.renderTarget = -1;
    Screen_ForgetRenderStates();
    s.refreshRate = 0;
    s.width = s.screenWidth = width;
    s.height = s.screenHeight = height;
    if (!s.cursorHidden) {
        ShowCursor(FALSE);
        s.cursorHidden = 1;
    }
    if (!Screen_FillPresentParameters(s.window, width, height, 0, s.depth,
                                      flags == 0 ? 0x24 : 0x20) ||
        !Screen_CreateDevice(s.window, D3DCREATE_MIXED_VERTEXPROCESSING)) {
        Sprite_FreeAll();
        ShowCursor(TRUE);
        s.cursorHidden = 0;
        s.screenWidth = s.screenHeight = 0;
        return 0;
    }
    Screen_ApplyDefaultStates();
    timeBeginPeriod(1);
    ShowWindow(s.window, SW_SHOWMAXIMIZED);
    s.screenOpen = 1;
    s.active = 1;
    return 1;
}

void Screen_Close() {
    ScreenState& s = Screen_State();
    if (!s.screenOpen) return;
    // Drawing on the screen ends with it: the back buffer's device context goes back first.
    ScreenOutput_FreeContext(&s.outputContext);
    Sprite_FreeAll();
    if (s.device) {
        Screen_EndScene();
        if (s.backBuffer) s.backBuffer->Release();
        s.backBuffer = nullptr;
        s.device->Release();
        s.device = nullptr;
    }
    s.renderTarget = -1;
    s.screenWidth = s.screenHeight = 0;
    if (!s.windowed) {
        if (s.cursorHidden) ShowCursor(TRUE);
        s.cursorHidden = 0;
        timeEndPeriod(1);
        ShowWindow(s.window, SW_HIDE);
    } else {
        DestroyWindow(s.childWindow);
        s.childWindow = nullptr;
        s.windowed = 0;
        InvalidateRect(s.window, nullptr, TRUE);
    }
    s.screenOpen = 0;
}
