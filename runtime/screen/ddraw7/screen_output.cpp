// Screen_Output on DirectDraw 7: the back buffer as a drawing output. `outputDC` tells what the
// output holds: the back buffer's device context, its lock while the drawing library writes the
// pixels directly, or nothing; the routines below move between them, and the flip gives up
// whatever is still held so a missing Drawing_Stop cannot block it.
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/drawing.h"
#include "runtime/screen/screen_output_context.h"

namespace {

bool Holds(const ScreenState& s, const DrawingContext* c) {
    return s.output == c && s.backBuffer;
}

HDC AcquireDC(DrawingContext* c) {
    ScreenState& s = Screen_State();
    if (!Holds(s, c)) return nullptr;
    if (s.outputDC != 0 && s.outputDC != kOutputLocked) return reinterpret_cast<HDC>(s.outputDC);
    if (s.outputDC == kOutputLocked) {
        s.backBuffer->Unlock(nullptr);
        s.outputDC = 0;
        c->bufferBits = nullptr;
    }
    HDC dc = nullptr;
    if (s.backBuffer->GetDC(&dc) != DD_OK) return nullptr;
    s.outputDC = reinterpret_cast<intptr_t>(dc);
    return dc;
}

void* LockBuffer(DrawingContext* c) {
    ScreenState& s = Screen_State();
    if (!Holds(s, c)) return nullptr;
    if (s.outputDC == kOutputLocked) return c->bufferBits;
    if (s.outputDC != 0) {
        s.backBuffer->ReleaseDC(reinterpret_cast<HDC>(s.outputDC));
        s.outputDC = 0;
        c->dc = nullptr;
    }
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof(locked);
    if (s.backBuffer->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr) != DD_OK) return nullptr;
    s.outputDC = kOutputLocked;
    c->bufferBits = locked.lpSurface;
    c->bufferPitch = locked.lPitch;
    return c->bufferBits;
}

void ReleaseOutput(DrawingContext* c, int32_t) {
    ScreenState& s = Screen_State();
    // A context whose output the flip took back releases nothing: the back buffer may be
    // another output's by now.
    if (s.output != c) return;
    Screen_DropOutput();
}

constexpr ScreenOutputRoutines kRoutines{&AcquireDC, &LockBuffer, &ReleaseOutput};

}  // namespace

void Screen_DropOutput() {
    ScreenState& s = Screen_State();
    if (s.backBuffer) {
        if (s.outputDC == kOutputLocked)
            s.backBuffer->Unlock(nullptr);
        else if (s.outputDC != 0)
            s.backBuffer->ReleaseDC(reinterpret_cast<HDC>(s.outputDC));
    }
    s.outputDC = 0;
    if (DrawingContext* c = s.output) {
        // The context stays current until Drawing_Stop, but has nothing left to draw on.
        c->dc = nullptr;
        c->bufferBits = nullptr;
        c->dcState = 1;
        c->acquireDC = nullptr;
        c->lockBuffer = nullptr;
        s.output = nullptr;
    }
}

DrawingContext* Screen_Output() {
    ScreenState& s = Screen_State();
    // The back buffer is the output's until Drawing_Stop or the next flip.
    if (s.outputDC != 0 || !s.backBuffer) return nullptr;
    HDC dc = nullptr;
    if (s.backBuffer->GetDC(&dc) != DD_OK) return nullptr;
    DrawingContext* c = ScreenOutput_MakeContext(&s.outputContext, dc, kRoutines, s.pixelFormatCode,
                                                 s.screenWidth, s.screenHeight, s.depth);
    if (!c) {
        s.backBuffer->ReleaseDC(dc);
        return nullptr;
    }
    s.outputDC = reinterpret_cast<intptr_t>(dc);
    s.output = c;
    return c;
}
