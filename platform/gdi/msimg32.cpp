// msimg32's AlphaBlend: a source rectangle scaled onto a destination rectangle and laid over it
// with a constant alpha and, with AC_SRC_ALPHA, the source's own premultiplied alpha. Channels
// are 8-bit; products round as (a·b + 127) / 255.

#include "platform/gdi/blit_map.h"

namespace {

struct Argb {
    uint32_t a, r, g, b;
};

uint32_t Mul(uint32_t a, uint32_t b) {
    return (a * b + 127) / 255;
}
uint32_t Cap(uint32_t v) {
    return v > 255 ? 255 : v;
}

Argb Read(GdiPixelFormat f, uint32_t p) {
    const COLORREF c = Gdi_ColourFromPixel(f, p);
    Argb out{255, c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF};
    if (f == GdiPixelFormat::kA8R8G8B8) out.a = p >> 24;
    if (f == GdiPixelFormat::kA1R5G5B5) out.a = (p & 0x8000) ? 255 : 0;
    return out;
}

uint32_t Write(GdiPixelFormat f, const Argb& v) {
    const uint32_t p = Gdi_PixelFromColour(f, v.r | (v.g << 8) | (v.b << 16));
    if (f == GdiPixelFormat::kA8R8G8B8) return (p & 0x00FFFFFFu) | (v.a << 24);
    if (f == GdiPixelFormat::kA1R5G5B5) return (p & 0x7FFFu) | (v.a >= 128 ? 0x8000u : 0);
    return p;
}

}  // namespace

BOOL AlphaBlend(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                BLENDFUNCTION blend) {
    DeviceContext* d = Gdi_Context(dest);
    DeviceContext* s = Gdi_Context(src);
    if (!d || !s || w < 0 || h < 0 || sw < 0 || sh < 0) return FALSE;
    if (blend.BlendOp != AC_SRC_OVER || blend.BlendFlags != 0) return FALSE;
    if ((blend.AlphaFormat & ~AC_SRC_ALPHA) != 0) return FALSE;
    const GdiSurface& ds = d->pixels;
    const GdiSurface& ss = s->pixels;
    // The source rectangle must lie inside the source, as the real call demands.
    if (sx < 0 || sy < 0 || int64_t{sx} + sw > ss.width || int64_t{sy} + sh > ss.height) {
        return FALSE;
    }
    const std::vector<BlitPair> columns = Blit_Pairs(x, w, ds.width, sx, sw, ss.width);
    const std::vector<BlitPair> rows = Blit_Pairs(y, h, ds.height, sy, sh, ss.height);
    if (columns.empty() || rows.empty()) return TRUE;
    std::vector<uint8_t> copy;
    const GdiSurface from = Blit_SharesMemory(ds, ss) ? Blit_CopyOf(ss, &copy) : ss;

    const uint32_t constant = blend.SourceConstantAlpha;
    const bool per_pixel = (blend.AlphaFormat & AC_SRC_ALPHA) != 0;
    for (const BlitPair& r : rows) {
        for (const BlitPair& c : columns) {
            const Argb sp = Read(from.format, Gdi_ReadPixel(from, c.src, r.src));
            const Argb dp = Read(ds.format, Gdi_ReadPixel(ds, c.dest, r.dest));
            Argb out;
            if (per_pixel) {
                // The source is premultiplied: its colours are already scaled by its alpha.
                const uint32_t sa = Mul(sp.a, constant);
                const uint32_t keep = 255 - sa;
                out.r = Cap(Mul(sp.r, constant) + Mul(dp.r, keep));
                out.g = Cap(Mul(sp.g, constant) + Mul(dp.g, keep));
                out.b = Cap(Mul(sp.b, constant) + Mul(dp.b, keep));
                out.a = Cap(sa + Mul(dp.a, keep));
            } else {
                const uint32_t keep = 255 - constant;
                out.r = Mul(sp.r, constant) + Mul(dp.r, keep);
                out.g = Mul(sp.g, constant) + Mul(dp.g, keep);
                out.b = Mul(sp.b, constant) + Mul(dp.b, keep);
                out.a = Cap(constant + Mul(dp.a, keep));
            }
            Gdi_WritePixel(ds, c.dest, r.dest, Write(ds.format, out));
        }
    }
    return TRUE;
}
