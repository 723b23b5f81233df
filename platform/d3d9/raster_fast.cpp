// The rectangle fast paths: a four-vertex strip that is an axis-aligned rectangle mapping
// texels one to one onto pixels (every sprite and tile the game draws) is drawn row by row
// without edge functions or interpolation.
//
// Why the pixels equal the general rasteriser's: by the top-left rule the two triangles cover
// exactly the pixel centres in [left, right) x [top, bottom) once each; with texture coordinates
// constant along the rectangle's sides the sampled texel column depends only on the pixel
// column (the row only on the pixel row); and a mapping is taken only when the ideal texel
// coordinate at the first and last pixel lies at least 1/16 texel inside a texel, with exactly
// one texel per pixel in between, which leaves a margin far above the general path's rounding.
// The per-pixel arithmetic is the same inline code (pixel_math.h); the specialised loops
// below only drop factors that the 8-bit rule makes exact (x * 255 = x, x * 0 = 0).
#include <cmath>

#include "platform/d3d9/raster.h"
#include "platform/d3d9/raster_internal.h"

namespace {

using namespace d3d9px;

constexpr double kMargin = 1.0 / 16.0;

// The first texel index of a one-to-one mapping of pixels [p0, p1) onto texels, or -1. The
// coordinate runs from c_start at the snapped edge e_start to c_end at e_end.
int32_t OneToOne(double c_start, double c_end, int64_t e_start, int64_t e_end, int64_t p0,
                 int64_t p1, int32_t size) {
    // The whole texture at its own size on the half-pixel grid (every quad the game draws):
    // each pixel centre lies on a texel centre, so the texel of pixel p is p minus the pixel
    // under the first texel's centre, exactly.
    constexpr int64_t kHalf = int64_t{1} << (kRasterSubpixelBits - 1);
    if (c_start == 0.0 && c_end == 1.0 && e_end - e_start == int64_t{size} << kRasterSubpixelBits &&
        ((e_start + kHalf) & ((int64_t{1} << kRasterSubpixelBits) - 1)) == 0) {
        return static_cast<int32_t>(p0 - ((e_start + kHalf) >> kRasterSubpixelBits));
    }
    auto ideal = [&](int64_t p) {
        double t = static_cast<double>((p << kRasterSubpixelBits) - e_start) /
                   static_cast<double>(e_end - e_start);
        return (c_start + t * (c_end - c_start)) * size;
    };
    double first = ideal(p0);
    double last = ideal(p1 - 1);
    if (!(first >= 0.0) || !(last < static_cast<double>(size))) return -1;
    double first_floor = std::floor(first);
    double last_floor = std::floor(last);
    if (first - first_floor < kMargin || first - first_floor > 1.0 - kMargin) return -1;
    if (last - last_floor < kMargin || last - last_floor > 1.0 - kMargin) return -1;
    if (last_floor - first_floor != static_cast<double>(p1 - 1 - p0)) return -1;
    return static_cast<int32_t>(first_floor);
}

// What the stage makes of a texel, when it is simple enough for a specialised loop.
struct Resolved {
    bool color_is_texel;    // output colour = texel colour
    bool alpha_from_texel;  // output alpha = Mul8(texel alpha, alpha_scale)
    uint32_t alpha_scale;
};

Resolved Resolve(const Stage& s, uint32_t diffuse) {
    Resolved r{false, false, 0};
    bool white = (diffuse & 0xFFFFFF) == 0xFFFFFF;
    if (s.color_op == StageOp::kArg1)
        r.color_is_texel = s.color_arg1 == StageArg::kTexture;
    else if (s.color_op == StageOp::kArg2)
        r.color_is_texel = s.color_arg2 == StageArg::kTexture;
    else
        r.color_is_texel =
            white && (s.color_arg1 == StageArg::kTexture) != (s.color_arg2 == StageArg::kTexture);
    if (s.alpha_op == StageOp::kArg1 && s.alpha_arg1 == StageArg::kTexture) {
        r.alpha_from_texel = true;
        r.alpha_scale = 255;
    } else if (s.alpha_op == StageOp::kArg2 && s.alpha_arg2 == StageArg::kTexture) {
        r.alpha_from_texel = true;
        r.alpha_scale = 255;
    } else if (s.alpha_op == StageOp::kModulate &&
               (s.alpha_arg1 == StageArg::kTexture) != (s.alpha_arg2 == StageArg::kTexture)) {
        r.alpha_from_texel = true;
        r.alpha_scale = diffuse >> 24;
    }
    return r;
}

// A block of rows to fill: `width` pixels from `dst` and texels from `src` on each of `rows`
// rows, the rows `dst_pitch` and `src_pitch` bytes apart.
struct Block {
    uint8_t* dst;
    const uint8_t* src;
    int64_t dst_pitch, src_pitch;
    int32_t width, rows;
};

// Each loop has its rows inside, so the compiler vectorises the row, and is built twice, for
// AVX2 and for any x86-64, the loader picking the copy the processor can run. Called through
// that choice, the loops are never inlined into the switch below (where they would no longer
// be vectorised).
#define KAVRO_ROW_LOOP [[gnu::target_clones("avx2", "default")]]

// Opaque copy of a 32-bit texture onto a 32-bit target.
KAVRO_ROW_LOOP void CopyBlock32(const Block& b) {
    const int32_t n = b.width;  // a local: stores through d may not change it
    for (int32_t y = 0; y < b.rows; ++y) {
        uint32_t* d = reinterpret_cast<uint32_t*>(b.dst + y * b.dst_pitch);
        const uint32_t* t = reinterpret_cast<const uint32_t*>(b.src + y * b.src_pitch);
        for (int32_t i = 0; i < n; ++i) d[i] = t[i] | 0xFF000000u;
    }
}

// Binary alpha: a texel of alpha 255 replaces the pixel, one of alpha 0 leaves its colour.
KAVRO_ROW_LOOP void KeyedBlock32(const Block& b) {
    const int32_t n = b.width;
    for (int32_t y = 0; y < b.rows; ++y) {
        uint32_t* d = reinterpret_cast<uint32_t*>(b.dst + y * b.dst_pitch);
        const uint32_t* t = reinterpret_cast<const uint32_t*>(b.src + y * b.src_pitch);
        for (int32_t i = 0; i < n; ++i) {
            uint32_t texel = t[i];
            d[i] = (texel >> 24) ? texel : (d[i] | 0xFF000000u);
        }
    }
}

// Mul8 of two channels at once, in the low bytes of the two 16-bit halves of `pair`: each
// product and its rounding fit their half, so no carry crosses over and each half gets exactly
// Mul8(channel, a).
inline uint32_t Mul8Pair(uint32_t pair, uint32_t a) {
    uint32_t t = pair * a + 0x00800080u;
    return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// Source alpha = Mul8(texel alpha, k), blended SRCALPHA / INVSRCALPHA. Per channel this is
// Mul8(s, a) + Mul8(d, 255 - a), which never exceeds 255, so the halves never overflow.
KAVRO_ROW_LOOP void AlphaBlock32(const Block& b, uint32_t k) {
    const int32_t n = b.width;
    for (int32_t y = 0; y < b.rows; ++y) {
        uint32_t* d = reinterpret_cast<uint32_t*>(b.dst + y * b.dst_pitch);
        const uint32_t* t = reinterpret_cast<const uint32_t*>(b.src + y * b.src_pitch);
        for (int32_t i = 0; i < n; ++i) {
            uint32_t texel = t[i];
            uint32_t pixel = d[i];
            uint32_t a = Mul8(texel >> 24, k);
            uint32_t ia = 255 - a;
            uint32_t rb = Mul8Pair(texel & 0x00FF00FFu, a) + Mul8Pair(pixel & 0x00FF00FFu, ia);
            uint32_t g = Mul8Pair((texel >> 8) & 0xFFu, a) + Mul8Pair((pixel >> 8) & 0xFFu, ia);
            d[i] = 0xFF000000u | rb | (g << 8);
        }
    }
}

#undef KAVRO_ROW_LOOP

// Any formats and states, through the same per-pixel functions as the general rasteriser.
// `dst_x` and `src_x` are the first pixel's and texel's columns in their rows.
void GenericBlock(const RasterSetup& setup, const Block& b, int32_t dst_x, int32_t src_x,
                  uint32_t diffuse) {
    const D3DFORMAT tf = setup.texture.format;
    const D3DFORMAT df = setup.target.format;
    for (int32_t y = 0; y < b.rows; ++y) {
        uint8_t* d = b.dst + y * b.dst_pitch;
        const uint8_t* t = b.src ? b.src + y * b.src_pitch : nullptr;
        for (int32_t i = 0; i < b.width; ++i) {
            uint32_t texel = t ? Load(tf, t, src_x + i) : 0xFF000000u;
            uint32_t src = Shade(setup.stage, texel, diffuse);
            uint32_t dst = setup.blend.enabled ? Load(df, d, dst_x + i) : 0;
            Store(df, d, dst_x + i, BlendPixel(setup.blend, src, dst));
        }
    }
}

// The loop for a draw, and whether its output ignores what the target held.
RasterLoop ChooseLoop(const RasterSetup& setup, uint32_t diffuse, uint32_t* alpha_scale,
                      bool* opaque) {
    const RasterTexture& tex = setup.texture;
    const Blend& b = setup.blend;
    // Without blending, or with ONE / ZERO, the target's colour drops out of every path.
    const bool replaces = !b.enabled || (b.src == Factor::kOne && b.dest == Factor::kZero);
    *opaque = replaces;
    if (!tex.bits || tex.format != D3DFMT_A8R8G8B8 || setup.target.format != D3DFMT_X8R8G8B8) {
        return RasterLoop::kGeneric;
    }
    Resolved r = Resolve(setup.stage, diffuse);
    if (!r.color_is_texel) return RasterLoop::kGeneric;
    if (replaces) return RasterLoop::kCopy32;
    if (b.src == Factor::kSrcAlpha && b.dest == Factor::kInvSrcAlpha && r.alpha_from_texel) {
        *alpha_scale = r.alpha_scale;
        if (r.alpha_scale == 255 && tex.alpha_opaque) {
            // Source alpha 255 everywhere: Mul8(s, 255) + Mul8(d, 0) = s, a plain copy.
            *opaque = true;
            return RasterLoop::kCopy32;
        }
        if (r.alpha_scale == 255 && tex.alpha_binary) return RasterLoop::kKeyed32;
        return RasterLoop::kAlpha32;
    }
    return RasterLoop::kGeneric;
}

}  // namespace

bool Raster_PrepareRectangle(const RasterSetup& setup, const RasterVertex* v, RasterRect* out,
                             RasterCounters* counters) {
    // Clockwise culling removes both triangles; the general path does that.
    if (setup.cull == D3DCULL_CW) return false;
    int64_t x[4], y[4];
    for (int i = 0; i < 4; ++i) {
        if (!d3d9raster::Snap(v[i].x, &x[i]) || !d3d9raster::Snap(v[i].y, &y[i])) return false;
    }
    // Strip order top-left, top-right, bottom-left, bottom-right.
    if (x[0] != x[2] || x[1] != x[3] || y[0] != y[1] || y[2] != y[3]) return false;
    if (!(x[0] < x[1] && y[0] < y[2])) return false;
    if (!(v[0].u == v[2].u && v[1].u == v[3].u && v[0].v == v[1].v && v[2].v == v[3].v)) {
        return false;
    }
    uint32_t diffuse = v[0].diffuse;
    if (v[1].diffuse != diffuse || v[2].diffuse != diffuse || v[3].diffuse != diffuse) return false;

    const RasterImage& target = setup.target;
    const RasterTexture& tex = setup.texture;
    RasterRect& r = *out;
    r = RasterRect{0, 0, 0, 0, 0, 0, RasterLoop::kGeneric, false, 255, diffuse};
    int64_t c0 = d3d9raster::CeilPixel(x[0]), c1 = d3d9raster::CeilPixel(x[1]);
    int64_t r0 = d3d9raster::CeilPixel(y[0]), r1 = d3d9raster::CeilPixel(y[2]);
    if (c0 >= c1 || r0 >= r1) return true;  // covers no pixel centre
    int32_t tx0 = 0, ty0 = 0;
    if (tex.bits) {
        tx0 = OneToOne(v[0].u, v[1].u, x[0], x[1], c0, c1, tex.width);
        ty0 = OneToOne(v[0].v, v[2].v, y[0], y[2], r0, r1, tex.height);
        if (tx0 < 0 || ty0 < 0) return false;
    }
    int64_t cx0 = c0 < 0 ? 0 : c0, cx1 = c1 > target.width ? target.width : c1;
    int64_t cy0 = r0 < 0 ? 0 : r0, cy1 = r1 > target.height ? target.height : r1;
    if (counters) ++counters->fast_rectangles;
    if (cx0 >= cx1 || cy0 >= cy1) return true;

    r.x0 = static_cast<int32_t>(cx0);
    r.x1 = static_cast<int32_t>(cx1);
    r.y0 = static_cast<int32_t>(cy0);
    r.y1 = static_cast<int32_t>(cy1);
    r.tx0 = static_cast<int32_t>(tx0 + (cx0 - c0));
    r.ty0 = static_cast<int32_t>(ty0 + (cy0 - r0));
    r.loop = ChooseLoop(setup, diffuse, &r.alpha_scale, &r.opaque);
    if (counters) counters->pixels += static_cast<uint64_t>((cx1 - cx0) * (cy1 - cy0));
    return true;
}

void Raster_FillRectangle(const RasterSetup& setup, const RasterRect& r, int32_t x0, int32_t x1,
                          int32_t y0, int32_t y1) {
    const RasterImage& target = setup.target;
    const RasterTexture& tex = setup.texture;
    if (x0 >= x1 || y0 >= y1) return;
    const int32_t tx = r.tx0 + (x0 - r.x0);
    const int32_t ty = r.ty0 + (y0 - r.y0);
    if (r.loop == RasterLoop::kGeneric) {
        Block b{target.bits + int64_t{y0} * target.pitch,
                tex.bits ? tex.bits + int64_t{ty} * tex.pitch : nullptr,
                target.pitch,
                tex.pitch,
                x1 - x0,
                y1 - y0};
        GenericBlock(setup, b, x0, tx, r.diffuse);
        return;
    }
    // The 32-bit loops address their first pixel and texel directly.
    Block b{target.bits + int64_t{y0} * target.pitch + int64_t{x0} * 4,
            tex.bits + int64_t{ty} * tex.pitch + int64_t{tx} * 4,
            target.pitch,
            tex.pitch,
            x1 - x0,
            y1 - y0};
    switch (r.loop) {
        case RasterLoop::kCopy32:
            CopyBlock32(b);
            break;
        case RasterLoop::kKeyed32:
            KeyedBlock32(b);
            break;
        default:
            AlphaBlock32(b, r.alpha_scale);
            break;
    }
}

bool Raster_DrawRectangle(const RasterSetup& setup, const RasterVertex* v,
                          RasterCounters* counters) {
    RasterRect r;
    if (!Raster_PrepareRectangle(setup, v, &r, counters)) return false;
    if (!r.Empty()) Raster_FillRectangle(setup, r, r.x0, r.x1, r.y0, r.y1);
    return true;
}

void Raster_DrawStrip(const RasterSetup& setup, const RasterVertex* v, int32_t count,
                      RasterCounters* counters) {
    if (!v || count < 3 || !setup.target.bits) return;
    if (count == 4 && setup.allow_fast_paths && Raster_DrawRectangle(setup, v, counters)) return;
    // Every second triangle of a strip has its winding reversed.
    for (int32_t i = 0; i + 2 < count; ++i) {
        if (i & 1)
            Raster_DrawTriangle(setup, v[i + 1], v[i], v[i + 2], counters);
        else
            Raster_DrawTriangle(setup, v[i], v[i + 1], v[i + 2], counters);
    }
}
