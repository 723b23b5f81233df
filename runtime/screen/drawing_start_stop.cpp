// The start and stop operations of a drawing context: the black brush and pen it starts with,
// the device context's own objects kept aside, and everything deleted again at the stop.
#include "runtime/screen/drawing_private.h"

HDC DrawingOp_Start(DrawingContext* c) {
    c->initialBrush = CreateSolidBrush(0);
    c->initialPen = CreatePen(PS_SOLID, 0, 0);
    c->drawingMode = 0;
    c->dcState = 1;
    if (c->dc) {
        SetTextAlign(c->dc, TA_UPDATECP);
        if (c->initialBrush) c->savedBrush = SelectObject(c->dc, c->initialBrush);
        if (c->initialPen) c->savedPen = SelectObject(c->dc, c->initialPen);
        c->font = GetStockObject(SYSTEM_FONT);
        c->frontBrush = CreateSolidBrush(0);
        return c->dc;
    }
    // Nothing to draw on: the start fails, and its objects would outlive the context.
    if (c->initialBrush) DeleteObject(c->initialBrush);
    if (c->initialPen) DeleteObject(c->initialPen);
    c->initialBrush = nullptr;
    c->initialPen = nullptr;
    return nullptr;
}

void DrawingOp_Stop(DrawingContext* c) {
    // While the pixels are locked there is no device context to put the objects back into; it
    // already let go of them when it was released.
    if (c->dc && c->dcState == 1) {
        if (c->savedBrush) SelectObject(c->dc, c->savedBrush);
        if (c->savedPen) SelectObject(c->dc, c->savedPen);
    }
    if (c->frontBrush) DeleteObject(c->frontBrush);
    if (c->frontPen) DeleteObject(c->frontPen);
    if (c->rotatedFont) DeleteObject(c->rotatedFont);
    if (c->initialBrush) DeleteObject(c->initialBrush);
    if (c->initialPen) DeleteObject(c->initialPen);
    c->frontBrush = nullptr;
    c->frontPen = nullptr;
    c->rotatedFont = nullptr;
    c->initialBrush = nullptr;
    c->initialPen = nullptr;
}
