// The drawing library: its start-up, the current context of each thread (a thread-local slot
// and a global mirror), creating contexts for outputs, and the three operations the game calls
// around its texts: Drawing_Start, Drawing_Text and Drawing_Stop.
#include "platform/win32/heap.h"
#include "platform/win32/tls.h"
#include "runtime/core/program.h"
#include "runtime/screen/drawing_private.h"

namespace {

struct DrawingLibrary {
    DWORD slot = TLS_OUT_OF_INDEXES;
    DrawingContext* mirror = nullptr;
    DrawingContext* kept = nullptr;  // made in an output's storage: not freed by the library
};
DrawingLibrary g_drawing;

void SetCurrent(DrawingContext* c) {
    if (g_drawing.slot != TLS_OUT_OF_INDEXES) TlsSetValue(g_drawing.slot, c);
    g_drawing.mirror = c;
}

void FreeContext(DrawingContext* c) {
    if (Drawing_Current() == c) SetCurrent(nullptr);
    if (c == g_drawing.kept) {
        g_drawing.kept = nullptr;
        return;
    }
    HeapFree(Runtime_Heap(), 0, c);
}

DrawingContext* InitContext(DrawingContext* c) {
    *c = DrawingContext{};
    c->operations = Drawing_DefaultOperations();
    c->frontColor = 0xFFFFFF;
    c->backColor = 0;
    c->appliedFront = -1;
    c->appliedBack = -1;
    SetCurrent(c);
    return c;
}

}  // namespace

void Drawing_Init() {
    // A program starts once; a second start keeps the slot it has.
    if (g_drawing.slot == TLS_OUT_OF_INDEXES) g_drawing.slot = TlsAlloc();
    SetCurrent(nullptr);
}

DrawingContext* Drawing_Current() {
    if (g_drawing.slot == TLS_OUT_OF_INDEXES) return g_drawing.mirror;
    return static_cast<DrawingContext*>(TlsGetValue(g_drawing.slot));
}

DrawingContext* Drawing_CreateContext() {
    auto* c = static_cast<DrawingContext*>(
        HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY, sizeof(DrawingContext)));
    if (!c) return nullptr;
    return InitContext(c);
}

DrawingContext* Drawing_CreateContextIn(DrawingContext* storage) {
    if (!storage) return nullptr;
    g_drawing.kept = storage;
    return InitContext(storage);
}

HDC Drawing_Start(DrawingContext* output) {
    if (!output) return nullptr;
    HDC dc = output->operations.start(output);
    if (dc) return dc;
    if (output->releaseOutput) output->releaseOutput(output, 0);
    FreeContext(output);
    SetCurrent(nullptr);
    return nullptr;
}

int32_t Drawing_Text(int32_t x, int32_t y, const char* text) {
    DrawingContext* c = Drawing_Current();
    if (!c) return x;
    if (c->frontColor != c->appliedFront) {
        c->appliedFront = c->frontColor;
        c->operations.frontColor(c, c->frontColor);
    }
    if (c->backColor != c->appliedBack) {
        c->appliedBack = c->backColor;
        c->operations.backColor(c, c->backColor);
    }
    return c->operations.text(c, x, y, text);
}

void Drawing_Stop() {
    DrawingContext* c = Drawing_Current();
    if (!c) return;
    c->operations.stop(c);
    if (c->releaseOutput) c->releaseOutput(c, 1);
    FreeContext(c);
}

HDC Drawing_TakeDC(DrawingContext* c) {
    if (c->outputKind != kDrawingOutputScreen || c->dcState != -1) return c->dc;
    HDC dc = c->acquireDC ? c->acquireDC(c) : nullptr;
    // Without a device context the pixels stay as they are and the next operation tries again.
    if (!dc) return nullptr;
    c->dcState = 1;
    c->dc = dc;
    c->bufferBits = nullptr;
    if (c->appliedFront != -1) SetTextColor(dc, static_cast<COLORREF>(c->appliedFront));
    SetTextAlign(dc, TA_UPDATECP);
    if (c->appliedBack != -1) SetBkColor(dc, static_cast<COLORREF>(c->appliedBack));
    if (c->drawingMode != 0) {
        DrawingOp_DrawingMode(c, c->drawingMode);
    } else if (c->frontBrush) {
        SelectObject(dc, c->frontBrush);
    }
    if (c->frontPen) SelectObject(dc, c->frontPen);
    if (c->font) SelectObject(dc, c->font);
    return dc;
}

COLORREF Drawing_FrontColour(const DrawingContext* c) {
    return static_cast<COLORREF>(c->appliedFront != -1 ? c->appliedFront : c->frontColor);
}
