// The screen library's state on the DirectDraw 7 backend, and the internal operations its
// sprite, quad and drawing code share: the shared DirectDraw object, the render target, the
// pixel-saving hook of the window procedure.
#pragma once
#include <cstdint>

#include "platform/ddraw7/ddraw.h"
#include "platform/win32/window.h"

struct ObjectTable;
struct DrawingContext;

// `outputDC` while the screen output holds the back buffer locked.
constexpr intptr_t kOutputLocked = -1;

struct ScreenState {
    HWND window;        // the shared window (full screen) or the caller's parent (windowed)
    HWND sharedWindow;  // the hidden "MultimediaBase Class" window
    HWND childWindow;   // the "STATIC" child of a windowed screen
    int32_t windowed;
    int32_t initialised;
    int32_t screenOpen;
    int32_t active;         // 0 while the full-screen window is deactivated: no flips, no displays
    int32_t width, height;  // current render target
    int32_t screenWidth, screenHeight;  // as opened; 0 when closed
    int32_t depth;
    int32_t pixelFormatCode;  // from the primary surface's format
    int32_t refreshRate;      // asked for; 0 is the display's default
    IDirectDraw7* directDraw;
    IDirectDrawSurface7* primary;
    IDirectDrawSurface7* backBuffer;
    IDirectDrawSurface7* renderSurface;  // the back buffer or a sprite's surface
    int32_t renderTarget;                // sprite number, or -1 for the back buffer
    int32_t flipMode;                    // 0, 1 or 2: how the flip meets the vertical blank
    int32_t monitorFrequency;
    int32_t frameRate;    // windowed only: flips are paced to it; 0 otherwise
    int64_t framePeriod;  // performance-counter ticks per frame at frameRate
    int64_t lastFlip;     // performance counter at the last flip
    intptr_t outputDC;    // 0 none, kOutputLocked, else the back buffer's device context
    IDirectDrawClipper* clipper;
    int32_t autoStretch, childX, childY, rightOffset, bottomOffset;
    WNDPROC oldParentProc, oldChildProc;
    // Beyond the published fields: the sprite table, the cursor hidden by the full-screen open,
    // the window procedure under the pixel-saving hook, whether the sprites' pixels are copied
    // (from the saving until the copies are restored or no longer needed), the drawing context
    // holding the screen output, and the storage that context is made in, kept from frame to
    // frame so the per-frame texts allocate nothing.
    ObjectTable* sprites;
    int32_t cursorHidden;
    WNDPROC oldWindowProc;
    int32_t pixelsSaved;
    DrawingContext* output;
    DrawingContext* outputContext;
};

ScreenState& Screen_State();

// The DirectDraw object, loaded from "DDRAW.DLL" on first use and shared: each acquisition
// counts a user, the last release releases it and unloads the library.
IDirectDraw7* Screen_AcquireDirectDraw();
void Screen_ReleaseDirectDraw();

// Screen format code of a pixel format: depth 32: 32 with red mask 0xFF, else 64; depth 24: 8
// with red mask 0xFF, else 16; depth 16: 4 with green mask 0x7E0, else 2; other depths: 1.
int32_t Screen_PixelFormatCode(const DDPIXELFORMAT& format);

// The pixel-saving hook of the full-screen window's procedure (screen_focus.cpp).
void Screen_InstallFocusHook();
void Screen_RemoveFocusHook();
// Copies every sprite's pixels to the heap once until the next activation (deactivation).
void Screen_SavePixelsOnce();

// Gives up the screen output's device context or lock (Screen_Flip, Screen_Close); the context
// that held it draws nothing more.
void Screen_DropOutput();
