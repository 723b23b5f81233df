// Shapes and pixels of a drawing context: boxes, rounded boxes, circles, ellipses, lines, area
// fills, plotted points and the colour at a point, with the context's brush, pen and mode.
#include "runtime/screen/drawing_private.h"

void DrawingOp_Box(DrawingContext* c, int32_t x, int32_t y, int32_t w, int32_t h) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc) return;
    if (w == 1 && h == 1) {
        SetPixelV(dc, x, y, Drawing_FrontColour(c));
        return;
    }
    Rectangle(dc, x, y, Drawing_Add(x, w), Drawing_Add(y, h));
}

void DrawingOp_RoundedBox(DrawingContext* c, int32_t x, int32_t y, int32_t w, int32_t h, int32_t rx,
                          int32_t ry) {
    HDC dc = Drawing_TakeDC(c);
    if (dc) {
        RoundRect(dc, x, y, Drawing_Add(x, w), Drawing_Add(y, h), Drawing_Add(rx, rx),
                  Drawing_Add(ry, ry));
    }
}

void DrawingOp_Circle(DrawingContext* c, int32_t x, int32_t y, int32_t r) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc) return;
    if (r == 1) {
        Rectangle(dc, x, y, Drawing_Add(x, 1), Drawing_Add(y, 1));
        return;
    }
    Ellipse(dc, Drawing_Add(x, -int64_t{r}), Drawing_Add(y, -int64_t{r}),
            Drawing_Add(x, int64_t{r} + 1), Drawing_Add(y, int64_t{r} + 1));
}

void DrawingOp_Ellipse(DrawingContext* c, int32_t x, int32_t y, int32_t rx, int32_t ry) {
    HDC dc = Drawing_TakeDC(c);
    if (dc) {
        Ellipse(dc, Drawing_Add(x, -int64_t{rx}), Drawing_Add(y, -int64_t{ry}),
                Drawing_Add(x, int64_t{rx} + 1), Drawing_Add(y, int64_t{ry} + 1));
    }
}

void DrawingOp_Fill(DrawingContext* c, int32_t x, int32_t y, int32_t border) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc) return;
    if (border == kDrawingFillArea) {
        const COLORREF area = GetPixel(dc, x, y);
        if (area != CLR_INVALID) ExtFloodFill(dc, x, y, area, FLOODFILLSURFACE);
        return;
    }
    ExtFloodFill(dc, x, y, static_cast<COLORREF>(border) & 0xFFFFFF, FLOODFILLBORDER);
}

void DrawingOp_Line(DrawingContext* c, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc) return;
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
    // LineTo leaves the end point out; a line here includes it.
    SetPixelV(dc, x2, y2, Drawing_FrontColour(c));
}

void DrawingOp_Plot(DrawingContext* c, int32_t x, int32_t y) {
    HDC dc = Drawing_TakeDC(c);
    if (dc) SetPixelV(dc, x, y, Drawing_FrontColour(c));
}

int32_t DrawingOp_Point(DrawingContext* c, int32_t x, int32_t y) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc) return -1;
    return static_cast<int32_t>(GetPixel(dc, x, y));
}
