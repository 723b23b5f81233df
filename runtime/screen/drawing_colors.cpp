// Colours and drawing mode of a drawing context: the back colour, the front colour with its
// brush and pen, and the mode flags (transparent text background, invert, outline only).
#include "runtime/screen/drawing_private.h"

void DrawingOp_BackColor(DrawingContext* c, int32_t color) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc) return;
    SetBkColor(dc, static_cast<COLORREF>(color) & 0xFFFFFF);
    c->appliedBack = color;
}

void DrawingOp_FrontColor(DrawingContext* c, int32_t color) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc) return;
    const COLORREF rgb = static_cast<COLORREF>(color) & 0xFFFFFF;
    // Outline mode keeps the null brush selected.
    if (!(c->drawingMode & kDrawingOutline)) {
        if (HBRUSH brush = CreateSolidBrush(rgb)) {
            SelectObject(dc, brush);
            if (c->frontBrush) DeleteObject(c->frontBrush);
            c->frontBrush = brush;
        }
    }
    if (HPEN pen = CreatePen(PS_SOLID, 0, rgb)) {
        SelectObject(dc, pen);
        if (c->frontPen) DeleteObject(c->frontPen);
        c->frontPen = pen;
    }
    SetTextColor(dc, rgb);
    c->appliedFront = color;
}

void DrawingOp_DrawingMode(DrawingContext* c, int32_t flags) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc) return;
    c->drawingMode = flags;
    SetROP2(dc, (flags & kDrawingInvert) ? R2_NOT : R2_COPYPEN);
    if (flags & kDrawingOutline) {
        SelectObject(dc, GetStockObject(NULL_BRUSH));
    } else if (c->frontBrush) {
        SelectObject(dc, c->frontBrush);
    }
    SetBkMode(dc, (flags & kDrawingTransparent) ? TRANSPARENT : OPAQUE);
    DrawingOp_FrontColor(c, static_cast<int32_t>(Drawing_FrontColour(c)));
}
