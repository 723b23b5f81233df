// Opening and closing the full-screen screen on DirectDraw 7: exclusive mode and the display
// mode, the primary surface with its back buffer, clearing both, the monitor's frequency and the
// screen's pixel-format code; and the close that undoes both open operations.
#include "platform/win32/time.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"
#include "runtime/screen/ddraw7/sprite3d.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/screen_output_context.h"

namespace {

constexpr DWORD kExclusiveFullScreen = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;  // 0x11
constexpr DWORD kPrimaryCaps =
    DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;  // 0x2218
constexpr DWORD kBackBufferCaps = DDSCAPS_BACKBUFFER | DDSCAPS_3DDEVICE;         // 0x2004

template <typename T>
void ReleaseInterface(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

// False, with nothing kept, when the display or the surfaces are refused.
bool OpenDisplay(ScreenState& s, int32_t width, int32_t height) {
    IDirectDraw7* dd = s.directDraw;
    if (dd->SetCooperativeLevel(s.window, kExclusiveFullScreen) != DD_OK) return false;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.ddsCaps.dwCaps = kPrimaryCaps;
    desc.dwBackBufferCount = 1;
    DDSCAPS2 back_caps{kBackBufferCaps, 0, 0, 0};
    if (dd->SetDisplayMode(static_cast<DWORD>(width), static_cast<DWORD>(height),
                           static_cast<DWORD>(s.depth), static_cast<DWORD>(s.refreshRate),
                           0) == DD_OK &&
        dd->CreateSurface(&desc, &s.primary, nullptr) == DD_OK &&
        s.primary->GetAttachedSurface(&back_caps, &s.backBuffer) == DD_OK) {
        return true;
    }
    ReleaseInterface(s.backBuffer);
    ReleaseInterface(s.primary);
    dd->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    return false;
}

// GetDC, FillRect with the stock black brush, ReleaseDC.
void ClearToBlack(IDirectDrawSurface7* surface, int32_t width, int32_t height) {
    HDC dc = nullptr;
    if (surface->GetDC(&dc) != DD_OK) return;
    RECT all{0, 0, width, height};
    FillRect(dc, &all, GetStockObject(BLACK_BRUSH));
    surface->ReleaseDC(dc);
}

}  // namespace

int32_t Screen_PixelFormatCode(const DDPIXELFORMAT& format) {
    switch (format.dwRGBBitCount) {
        case 32:
            return format.dwRBitMask == 0xFF ? 32 : 64;
        case 24:
            return format.dwRBitMask == 0xFF ? 8 : 16;
        case 16:
            return format.dwGBitMask == 0x7E0 ? 4 : 2;
        default:
            return 1;
    }
}

int32_t Screen_Open(int32_t width, int32_t height, int32_t depth, const char* title,
                    int32_t flipMode) {
    ScreenState& s = Screen_State();
    if (!s.initialised || !s.directDraw) return 0;
    Screen_Close();
    Screen_InstallFocusHook();
    // The shared window becomes the screen's, titled and sized.
    s.window = s.sharedWindow;
    if (!s.window || !IsWindow(s.window)) return 0;
    SetWindowTextA(s.window, title ? title : "");
    MoveWindow(s.window, 0, 0, static_cast<int16_t>(width), static_cast<int16_t>(height), TRUE);
    s.depth = static_cast<int16_t>(depth);
    s.flipMode = flipMode;
    s.refreshRate = 0;
    s.width = s.screenWidth = width;
    s.height = s.screenHeight = height;
    if (!s.cursorHidden) {
        ShowCursor(FALSE);
        s.cursorHidden = 1;
    }
    if (!OpenDisplay(s, width, height)) {
        ShowCursor(TRUE);
        s.cursorHidden = 0;
        s.width = s.height = s.screenWidth = s.screenHeight = 0;
        Screen_RemoveFocusHook();
        return 0;
    }
    ShowWindow(s.window, SW_SHOWMAXIMIZED);
    ClearToBlack(s.backBuffer, width, height);
    ClearToBlack(s.primary, width, height);
    s.renderSurface = s.backBuffer;
    s.renderTarget = -1;
    // The refresh rate and the primary surface's pixel format, for the screen queries.
    DWORD frequency = 0;
    s.directDraw->GetMonitorFrequency(&frequency);
    s.monitorFrequency = static_cast<int32_t>(frequency);
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof(locked);
    if (s.primary->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr) == DD_OK) {
        s.pixelFormatCode = Screen_PixelFormatCode(locked.ddpfPixelFormat);
        s.primary->Unlock(nullptr);
    }
    s.outputDC = 0;
    s.pixelsSaved = 0;
    s.screenOpen = 1;
    s.active = 1;
    timeBeginPeriod(1);
    return 1;
}

void Screen_Close() {
    ScreenState& s = Screen_State();
    if (!s.screenOpen) return;
    // Drawing on the screen ends with it: the back buffer goes back first.
    ScreenOutput_FreeContext(&s.outputContext);
    Screen_DropOutput();
    // Nothing is saved or restored for a screen that is going away.
    s.screenOpen = 0;
    s.frameRate = 0;
    if (!s.windowed) timeEndPeriod(1);
    Sprite3D_ReleaseDevice();
    Sprite_FreeAll();
    s.directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    ReleaseInterface(s.backBuffer);
    ReleaseInterface(s.primary);
    s.renderSurface = nullptr;
    s.renderTarget = -1;
    if (!s.windowed && s.cursorHidden) {
        ShowCursor(TRUE);
        s.cursorHidden = 0;
    }
    ReleaseInterface(s.clipper);
    if (s.windowed) {
        InvalidateRect(s.window, nullptr, TRUE);
    } else {
        Screen_RemoveFocusHook();
        ShowWindow(s.window, SW_HIDE);
    }
    s.width = s.height = s.screenWidth = s.screenHeight = 0;
    if (s.childWindow) DestroyWindow(s.childWindow);
    s.childWindow = nullptr;
    s.windowed = 0;
    s.pixelsSaved = 0;
    s.active = 0;
}
