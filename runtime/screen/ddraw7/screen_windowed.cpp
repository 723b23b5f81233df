// A screen inside a "STATIC" child window of the caller's window on DirectDraw 7: the desktop's
// primary surface with a clipper on the child, a back buffer of the screen's size, hooks that
// refit and redraw the child, and flips paced at 60 frames a second that blit the back buffer
// into the child's part of the desktop.
#include "platform/win32/loader.h"
#include "platform/win32/time.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/windowed_child.h"

namespace {

constexpr char kHookedProperty[] = "zq_dxpaint";
constexpr int32_t kWindowedFrameRate = 60;

using RegisterSessionProc = BOOL (*)(HWND, DWORD);

template <typename T>
void ReleaseInterface(T*& p) {
    if (p) p->Release();
    p = nullptr;
}

constexpr WNDPROC kParentHook = &WindowedChild_ParentHook<&Screen_State, &Screen_Flip>;
constexpr WNDPROC kChildHook = &WindowedChild_ChildHook<&Screen_State, &Screen_Flip>;

void Abandon(ScreenState& s) {
    ReleaseInterface(s.backBuffer);
    ReleaseInterface(s.primary);
    ReleaseInterface(s.clipper);
    if (s.directDraw) s.directDraw->SetCooperativeLevel(nullptr, DDSCL_NORMAL);
    if (s.childWindow) DestroyWindow(s.childWindow);
    s.childWindow = nullptr;
    s.windowed = 0;
    s.width = s.height = s.screenWidth = s.screenHeight = 0;
}

// The desktop's primary surface clipped to the child, and a back buffer the device can render
// into; false when any of them is refused.
bool MakeSurfaces(ScreenState& s, int32_t width, int32_t height) {
    IDirectDraw7* dd = s.directDraw;
    if (dd->SetCooperativeLevel(s.window, DDSCL_NORMAL) != DD_OK) return false;
    DDSURFACEDESC2 primary{};
    primary.dwSize = sizeof(primary);
    primary.dwFlags = DDSD_CAPS;
    primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (dd->CreateSurface(&primary, &s.primary, nullptr) != DD_OK) return false;
    if (dd->CreateClipper(0, &s.clipper, nullptr) != DD_OK ||
        s.clipper->SetHWnd(0, s.childWindow) != DD_OK ||
        s.primary->SetClipper(s.clipper) != DD_OK) {
        return false;
    }
    DDSURFACEDESC2 back{};
    back.dwSize = sizeof(back);
    back.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    back.dwWidth = static_cast<DWORD>(width);
    back.dwHeight = static_cast<DWORD>(height);
    back.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    return dd->CreateSurface(&back, &s.backBuffer, nullptr) == DD_OK;
}

// Session changes (another user at the console) reach the parent where the system offers them.
void RegisterSessionNotification(HWND parent) {
    HMODULE library = LoadLibraryA("Wtsapi32.dll");
    if (!library) return;
    auto reg = reinterpret_cast<RegisterSessionProc>(
        GetProcAddress(library, "WTSRegisterSessionNotification"));
    if (reg) reg(parent, 0);
    FreeLibrary(library);
}

}  // namespace

int32_t Screen_OpenWindowed(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height,
                            int32_t autoStretch, int32_t rightOffset, int32_t bottomOffset) {
    ScreenState& s = Screen_State();
    Screen_Close();
    if (!parent || !IsWindow(parent) || !s.initialised || !s.directDraw) return 0;
    WindowedChild_Place(s, parent, x, y, width, height, autoStretch, rightOffset, bottomOffset);
    s.childWindow = WindowedChild_Create(parent, x, y, width, height);
    if (!s.childWindow) {
        Abandon(s);
        return 0;
    }
    WindowedChild_Refit(s);
    if (!MakeSurfaces(s, width, height)) {
        Abandon(s);
        return 0;
    }
    WindowedChild_HookParent(parent, kHookedProperty, kParentHook, &s.oldParentProc);
    s.oldChildProc = WindowedChild_HookChild(s.childWindow, kChildHook);
    RegisterSessionNotification(parent);
    // Flips are paced on the performance counter: one period is 1 / (frame rate + 1) seconds.
    LARGE_INTEGER frequency{0}, now{0};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    s.frameRate = kWindowedFrameRate;
    s.framePeriod = frequency.QuadPart / (kWindowedFrameRate + 1);
    s.lastFlip = now.QuadPart;
    DWORD monitor = 0;
    s.directDraw->GetMonitorFrequency(&monitor);
    s.monitorFrequency = static_cast<int32_t>(monitor);
    s.refreshRate = 0;
    s.flipMode = 0;
    DDPIXELFORMAT format{};
    format.dwSize = sizeof(format);
    s.backBuffer->GetPixelFormat(&format);
    s.pixelFormatCode = Screen_PixelFormatCode(format);
    s.depth = static_cast<int32_t>(format.dwRGBBitCount);
    s.renderSurface = s.backBuffer;
    s.renderTarget = -1;
    s.outputDC = 0;
    s.pixelsSaved = 0;
    s.screenOpen = 1;
    s.active = 1;
    return 1;
}
