// The screen library's state on the Direct3D 9 backend, and the internal operations the sprite,
// quad and drawing code of this backend share: the render-state cache, the back buffer, the
// sprite table. Screen output (the drawing library) reads the open screen through this header.
#pragma once
#include <cstdint>

#include "platform/d3d9/d3d9.h"
#include "platform/win32/window.h"

struct ObjectTable;
struct DrawingContext;

struct ScreenState {
    HWND window;        // the shared window (full screen) or the caller's parent (windowed)
    HWND sharedWindow;  // the hidden "MultimediaBase Class" window
    HWND childWindow;   // the "STATIC" child of a windowed screen
    int32_t windowed;
    int32_t initialised;
    int32_t screenOpen;
    int32_t active;
    int32_t inScene;
    int32_t width, height;              // current render target
    int32_t screenWidth, screenHeight;  // as opened; 0 when closed
    int32_t depth;
    int32_t pixelFormatCode;  // 0x40 X8R8G8B8, 4 R5G6B5, 2 X1R5G5B5
    int32_t refreshRate;
    IDirect3D9* direct3d;
    IDirect3DDevice9* device;
    IDirect3DSurface9* backBuffer;
    D3DPRESENT_PARAMETERS presentParameters;
    int32_t renderTarget;  // sprite number, or -1 for the back buffer
    int32_t cacheAlphaBlend, cacheSrcBlend, cacheDestBlend, cacheFvf;  // -1: not yet sent
    int32_t autoStretch, childX, childY, rightOffset, bottomOffset;
    WNDPROC oldParentProc, oldChildProc;
    // Beyond the published fields: the loaded library, the sprite table, the cursor hidden by
    // the full-screen open.
    HMODULE library;
    ObjectTable* sprites;
    int32_t cursorHidden;
    // Storage of the screen's drawing context, made by the first Screen_Output and reused by
    // every later one (no heap call per frame); freed when the screen closes.
    DrawingContext* outputContext;
};

ScreenState& Screen_State();

// Render-state cache: the state goes to the device only when it differs from what was sent.
void Screen_CacheAlphaBlend(int32_t value);
void Screen_CacheSrcBlend(int32_t value);
void Screen_CacheDestBlend(int32_t value);
// Returns false when the device refuses the format.
bool Screen_CacheFvf(int32_t fvf);
// Forgets everything sent (after device creation, reset and open).
void Screen_ForgetRenderStates();

// Pixel-format code and depth of a back-buffer format.
int32_t Screen_FormatCode(D3DFORMAT format);
int32_t Screen_FormatDepth(D3DFORMAT format);
