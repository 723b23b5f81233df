// BitBlt and StretchBlt: rectangles of pixels between device contexts through a ternary raster
// operation of source, destination and brush, converted between the pixel formats.
#include <cstring>

#include "platform/gdi/blit_map.h"

namespace {

// Ternary raster operation: bit (P·4 + S·2 + D) of the operation's code byte gives the result.
uint32_t Rop3(uint32_t code, uint32_t p, uint32_t s, uint32_t d) {
    uint32_t out = 0;
    for (uint32_t i = 0; i < 8; ++i) {
        if (!(code & (1u << i))) continue;
        out |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return out;
}

bool UsesSource(uint32_t code) {
    return ((code >> 2) & 0x33) != (code & 0x33);
}

// Source pixel in the destination's format.
uint32_t Convert(GdiPixelFormat from, GdiPixelFormat to, uint32_t p) {
    if (from == to) return p;
    return Gdi_PixelFromColour(to, Gdi_ColourFromPixel(from, p));
}

// The plain copy between equal formats: whole rows, in an order that is safe when the source
// and destination overlap.
void CopyRows(const GdiSurface& d, int32_t x, int32_t y, int32_t w, int32_t h, const GdiSurface& s,
              int32_t sx, int32_t sy) {
    const size_t bytes = static_cast<size_t>(w) * Gdi_BytesPerPixel(d.format);
    const int bpp = Gdi_BytesPerPixel(d.format);
    const bool upward = Blit_SharesMemory(d, s) && y > sy;
    for (int32_t i = 0; i < h; ++i) {
        const int32_t r = upward ? h - 1 - i : i;
        std::memmove(Gdi_Row(d, y + r) + x * bpp, Gdi_Row(s, sy + r) + sx * bpp, bytes);
    }
}

BOOL Blit(HDC dest, int64_t x, int64_t y, int64_t w, int64_t h, HDC src, int64_t sx, int64_t sy,
          int64_t sw, int64_t sh, DWORD rop) {
    DeviceContext* d = Gdi_Context(dest);
    if (!d) return FALSE;
    const uint32_t code = (rop >> 16) & 0xFF;
    const bool uses_source = UsesSource(code);
    DeviceContext* s = Gdi_Context(src);
    if (uses_source && !s) return FALSE;
    const GdiSurface& ds = d->pixels;
    if (!uses_source) {
        // Without a source the destination rectangle maps onto itself.
        s = d;
        sx = x;
        sy = y;
        sw = w;
        sh = h;
    }
    const GdiSurface& ss = s->pixels;

    if (code == 0xCC && w == sw && h == sh && w > 0 && h > 0 && ds.format == ss.format) {
        // Equal sizes: clip once to both surfaces, then copy rows.
        int64_t x0 = x, y0 = y, x1 = x + w, y1 = y + h;
        if (x0 < 0) x0 = 0;
        if (y0 < 0) y0 = 0;
        if (x0 < x - sx) x0 = x - sx;
        if (y0 < y - sy) y0 = y - sy;
        if (x1 > ds.width) x1 = ds.width;
        if (y1 > ds.height) y1 = ds.height;
        if (x1 > x - sx + ss.width) x1 = x - sx + ss.width;
        if (y1 > y - sy + ss.height) y1 = y - sy + ss.height;
        if (x0 < x1 && y0 < y1) {
            CopyRows(ds, static_cast<int32_t>(x0), static_cast<int32_t>(y0),
                     static_cast<int32_t>(x1 - x0), static_cast<int32_t>(y1 - y0), ss,
                     static_cast<int32_t>(sx + (x0 - x)), static_cast<int32_t>(sy + (y0 - y)));
        }
        return TRUE;
    }

    const std::vector<BlitPair> columns = Blit_Pairs(x, w, ds.width, sx, sw, ss.width);
    const std::vector<BlitPair> rows = Blit_Pairs(y, h, ds.height, sy, sh, ss.height);
    if (columns.empty() || rows.empty()) return TRUE;
    std::vector<uint8_t> copy;
    const GdiSurface from =
        (uses_source && Blit_SharesMemory(ds, ss)) ? Blit_CopyOf(ss, &copy) : ss;
    const uint32_t mask = Gdi_ColourMask(ds.format), fill = Gdi_FillBits(ds.format);
    const uint32_t pattern =
        (d->brush && !d->brush->null) ? Gdi_PixelFromColour(ds.format, d->brush->colour) : 0;
    for (const BlitPair& r : rows) {
        for (const BlitPair& c : columns) {
            const uint32_t sp =
                uses_source ? Convert(from.format, ds.format, Gdi_ReadPixel(from, c.src, r.src))
                            : 0;
            const uint32_t dp = Gdi_ReadPixel(ds, c.dest, r.dest);
            const uint32_t v =
                code == 0xCC ? ((sp & mask) | fill) : ((Rop3(code, pattern, sp, dp) & mask) | fill);
            Gdi_WritePixel(ds, c.dest, r.dest, v);
        }
    }
    return TRUE;
}

}  // namespace

BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop) {
    if (w < 0 || h < 0) return FALSE;
    return Blit(dest, x, y, w, h, src, sx, sy, w, h, rop);
}

BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                DWORD rop) {
    return Blit(dest, x, y, w, h, src, sx, sy, sw, sh, rop);
}
