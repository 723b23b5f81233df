// ExtFloodFill: the brush over the area around a point that is bounded by a colour or made of
// one, found row run by row run with an explicit stack.
#include <vector>

#include "platform/gdi/gdi_internal.h"

BOOL ExtFloodFill(HDC dc, int x, int y, COLORREF colour, UINT type) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c || (type != FLOODFILLBORDER && type != FLOODFILLSURFACE)) return FALSE;
    const GdiSurface& s = c->pixels;
    if (!Gdi_Inside(s, x, y) || !c->brush || c->brush->null) return FALSE;

    const uint32_t mask = Gdi_ColourMask(s.format);
    const uint32_t key = Gdi_PixelFromColour(s.format, colour) & mask;
    const bool surface = type == FLOODFILLSURFACE;
    // Pixels are compared as they were before the fill: each is read only while unvisited.
    std::vector<uint8_t> visited(static_cast<size_t>(s.width) * static_cast<size_t>(s.height));
    auto fillable = [&](int32_t px, int32_t py) {
        if (visited[static_cast<size_t>(py) * s.width + px]) return false;
        const bool match = (Gdi_ReadPixel(s, px, py) & mask) == key;
        return surface ? match : !match;
    };
    if (!fillable(x, y)) return FALSE;

    const GdiSpanWriter brush(s, Gdi_PixelFromColour(s.format, c->brush->colour), R2_COPYPEN);
    struct Seed {
        int32_t x, y;
    };
    std::vector<Seed> stack{{x, y}};
    while (!stack.empty()) {
        const Seed seed = stack.back();
        stack.pop_back();
        if (!fillable(seed.x, seed.y)) continue;
        int32_t x0 = seed.x, x1 = seed.x;
        while (x0 > 0 && fillable(x0 - 1, seed.y)) --x0;
        while (x1 + 1 < s.width && fillable(x1 + 1, seed.y)) ++x1;
        uint8_t* row = &visited[static_cast<size_t>(seed.y) * s.width];
        for (int32_t px = x0; px <= x1; ++px) row[px] = 1;
        brush.Span(seed.y, x0, x1);
        for (int32_t ny : {seed.y - 1, seed.y + 1}) {
            if (ny < 0 || ny >= s.height) continue;
            bool in_run = false;
            for (int32_t px = x0; px <= x1; ++px) {
                const bool f = fillable(px, ny);
                if (f && !in_run) stack.push_back(Seed{px, ny});
                in_run = f;
            }
        }
    }
    return TRUE;
}
