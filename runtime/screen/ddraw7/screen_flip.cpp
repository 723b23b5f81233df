// Screen_Flip on DirectDraw 7: the screen output given up, the message pump, the flip by flip
// mode (immediate, at the vertical blank, or after waiting for the beam to near the bottom), and
// the restore sequence when the surfaces were lost: exclusive mode and the display mode again,
// every surface restored and the sprites' pixels copied back.
#include "platform/win32/messages.h"
#include "platform/win32/time.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"
#include "runtime/screen/screen.h"

namespace {

constexpr DWORD kExclusiveFullScreen = DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN;
constexpr DWORD kFlipImmediate = DDFLIP_WAIT | DDFLIP_NOVSYNC;  // 9
// Flip mode 2 flips once the beam is this many lines above the bottom or lower.
constexpr int32_t kLinesBeforeBottom = 150;

void PumpMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Flip mode 2: sleeps in 1 ms steps until the beam reaches the last 150 lines.
void WaitForLowBeam(ScreenState& s) {
    for (;;) {
        DWORD line = 0;
        if (s.directDraw->GetScanLine(&line) != DD_OK) break;
        if (static_cast<int64_t>(line) >= int64_t{s.screenHeight} - kLinesBeforeBottom) break;
        Sleep(1);
    }
}

HRESULT FullScreenFlip(ScreenState& s) {
    DWORD flags = kFlipImmediate;
    if (s.flipMode == 1) {
        flags = DDFLIP_WAIT;
    } else if (s.flipMode == 2) {
        WaitForLowBeam(s);
    }
    return s.primary->Flip(nullptr, flags);
}

// The windowed screen: one frame period since the last flip, the beam past the child window
// (flip modes other than 0), then the back buffer into the child's part of the desktop.
HRESULT WindowedFlip(ScreenState& s) {
    if (s.frameRate && s.monitorFrequency != s.refreshRate && s.framePeriod > 0) {
        LARGE_INTEGER now{0};
        do {
            QueryPerformanceCounter(&now);
        } while (now.QuadPart - s.lastFlip <= s.framePeriod);
        s.lastFlip = now.QuadPart;
    }
    RECT area{0, 0, 0, 0};
    if (!GetWindowRect(s.childWindow, &area)) return DDERR_INVALIDPARAMS;
    if (s.flipMode != 0) {
        for (;;) {
            DWORD line = 0;
            if (s.directDraw->GetScanLine(&line) != DD_OK) break;
            if (static_cast<int64_t>(line) >= area.bottom) break;
            Sleep(1);
        }
    }
    RECT source{0, 0, s.screenWidth, s.screenHeight};
    return s.primary->Blt(&area, s.backBuffer, &source, DDBLT_WAIT, nullptr);
}

// The display came back after a loss: the surfaces get their memory again and the sprites
// their pixels. (Displays of 8 bits, whose palette would need setting again, are not offered.)
void RestoreSurfaces(ScreenState& s) {
    if (!s.windowed) {
        s.directDraw->SetCooperativeLevel(s.window, kExclusiveFullScreen);
        s.directDraw->SetDisplayMode(
            static_cast<DWORD>(s.screenWidth), static_cast<DWORD>(s.screenHeight),
            static_cast<DWORD>(s.depth), static_cast<DWORD>(s.refreshRate), 0);
    }
    s.directDraw->RestoreAllSurfaces();
    if (!s.windowed) ShowWindow(s.window, SW_SHOWMAXIMIZED);
    Sprite_RestorePixels();
    s.pixelsSaved = 0;
}

}  // namespace

int32_t Screen_Flip() {
    ScreenState& s = Screen_State();
    Screen_DropOutput();
    // Drawing goes to the back buffer again.
    Screen_SetRenderTarget(-1);
    // A windowed screen leaves the messages to the caller's event loop.
    if (!s.windowed) PumpMessages();
    if (!s.screenOpen || !s.primary || !s.backBuffer) return 0;
    // A screen without the focus presents nothing.
    if (!s.active) return 1;
    HRESULT r = s.windowed ? WindowedFlip(s) : FullScreenFlip(s);
    // Lost surfaces are restored; other errors are let pass: the next frame flips again.
    if (r == DDERR_SURFACELOST) {
        RestoreSurfaces(s);
    } else if (r == DD_OK && s.pixelsSaved) {
        // Copies taken for a switch that did not come (Tab or Alt released in the game) would
        // go stale as the sprites change: the surfaces were kept, so the copies go.
        Sprite_DropSavedPixels();
        s.pixelsSaved = 0;
    }
    return 1;
}
