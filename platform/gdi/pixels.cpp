// Single pixels and filled rectangles: SetPixel, SetPixelV, GetPixel and FillRect. These do not
// go through the raster operation.
#include "platform/gdi/gdi_internal.h"

COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c || !Gdi_Inside(c->pixels, x, y)) return CLR_INVALID;
    const uint32_t p = Gdi_PixelFromColour(c->pixels.format, colour);
    Gdi_WritePixel(c->pixels, x, y, p);
    return Gdi_ColourFromPixel(c->pixels.format, p);
}

BOOL SetPixelV(HDC dc, int x, int y, COLORREF colour) {
    return SetPixel(dc, x, y, colour) != CLR_INVALID;
}

COLORREF GetPixel(HDC dc, int x, int y) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c || !Gdi_Inside(c->pixels, x, y)) return CLR_INVALID;
    return Gdi_ColourFromPixel(c->pixels.format, Gdi_ReadPixel(c->pixels, x, y));
}

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) {
    DeviceContext* c = Gdi_Context(dc);
    brush = Gdi_Object(brush);
    if (!c || !rect || !brush || brush->kind != GdiKind::kBrush) return 0;
    if (brush->null) return 1;
    const GdiSpanWriter writer(c->pixels, Gdi_PixelFromColour(c->pixels.format, brush->colour),
                               R2_COPYPEN);
    const int64_t from = rect->top < 0 ? 0 : rect->top;
    const int64_t to = rect->bottom > c->pixels.height ? c->pixels.height : rect->bottom;
    for (int64_t y = from; y < to; ++y) writer.Span(y, rect->left, int64_t{rect->right} - 1);
    return 1;
}
