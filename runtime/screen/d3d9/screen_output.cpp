// Screen_Output on Direct3D 9: the back buffer as a drawing output. The context holds the back
// buffer's device context, or its lock while the drawing library writes the pixels directly;
// the routines below move between the two and give both up at the end.
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/drawing.h"
#include "runtime/screen/screen_output_context.h"

namespace {

// `dc` is set while the device context is held, `bufferBits` while the pixels are locked.
HDC AcquireDC(DrawingContext* c) {
    if (c->dc) return c->dc;
    IDirect3DSurface9* back = Screen_State().backBuffer;
    if (!back) return nullptr;
    if (c->bufferBits) {
        back->UnlockRect();
        c->bufferBits = nullptr;
    }
    HDC dc = nullptr;
    if (back->GetDC(&dc) != D3D_OK) return nullptr;
    c->dc = dc;
    return dc;
}

void* LockBuffer(DrawingContext* c) {
    IDirect3DSurface9* back = Screen_State().backBuffer;
    if (!back) return nullptr;
    if (c->dc) {
        back->ReleaseDC(c->dc);
        c->dc = nullptr;
    }
    D3DLOCKED_RECT locked{};
    if (back->LockRect(&locked, nullptr, 0) == D3D_OK) {
        c->bufferBits = locked.pBits;
        c->bufferPitch = locked.Pitch;
    }
    return c->bufferBits;
}

void ReleaseOutput(DrawingContext* c, int32_t) {
    IDirect3DSurface9* back = Screen_State().backBuffer;
    if (c->dc) {
        if (back) back->ReleaseDC(c->dc);
        c->dc = nullptr;
    }
    if (c->bufferBits) {
        if (back) back->UnlockRect();
        c->bufferBits = nullptr;
    }
}

constexpr ScreenOutputRoutines kRoutines{&AcquireDC, &LockBuffer, &ReleaseOutput};

}  // namespace

DrawingContext* Screen_Output() {
    ScreenState& s = Screen_State();
    // GDI draws outside the scene.
    Screen_EndScene();
    HDC dc = nullptr;
    if (!s.backBuffer || s.backBuffer->GetDC(&dc) != D3D_OK) return nullptr;
    DrawingContext* c = ScreenOutput_MakeContext(&s.outputContext, dc, kRoutines, s.pixelFormatCode,
                                                 s.screenWidth, s.screenHeight, s.depth);
    if (!c) s.backBuffer->ReleaseDC(dc);
    return c;
}
