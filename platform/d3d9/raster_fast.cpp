// The rectangle fast paths: a four-vertex strip that the shared rectangle test
// (platform/raster/rectangle.h) finds to map texels one to one onto pixels (every sprite and
// tile the game draws) is drawn row by row without edge functions or interpolation, with
// exactly the general rasteriser's pixels. The per-pixel arithmetic is the same inline code
// (pixel_math.h); the specialised loops below only drop factors that the 8-bit rule makes exact
// (x * 255 = x, x * 0 = 0).
#include "platform/d3d9/raster.h"
#include "platform/raster/mul8.h"
#include "platform/raster/rectangle.h"
#include "platform/raster/rows.h"

namespace {

using namespace d3d9px;

using raster::Mul8Pair;

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

using raster::RowBlock;

// Each loop has its rows inside, so the compiler vectorises the row, and is built twice, for
// AVX2 and for any x86-64, the loader picking the copy the processor can run. Called through
// that choice, the loops are never inlined into the switch below (where they would no longer
// be vectorised).
#define KAVRO_ROW_LOOP [[gnu::target_clones("avx2", "default")]]

// Opaque copy of a 32-bit texture onto a 32-bit target.
KAVRO_ROW_LOOP void CopyBlock32(const RowBlock& b) {
    raster::ForEachRow<uint32_t, uint32_t>(b, [](uint32_t* d, const uint32_t* t, int32_t n) {
        for (int32_t i = 0; i < n; ++i) d[i] = t[i] | 0xFF000000u;
    });
}

// Binary alpha: a texel of alpha 255 replaces the pixel, one of alpha 0 leaves its colour.
KAVRO_ROW_LOOP void KeyedBlock32(const RowBlock& b) {
    raster::ForEachRow<uint32_t, uint32_t>(b, [](uint32_t* d, const uint32_t* t, int32_t n) {
        for (int32_t i = 0; i < n; ++i) {
            uint32_t texel = t[i];
            d[i] = (texel >> 24) ? texel : (d[i] | 0xFF000000u);
        }
    });
}

// Source alpha = Mul8(texel alpha, k), blended SRCALPHA / INVSRCALPHA. Per channel this is
// Mul8(s, a) + Mul8(d, 255 - a), which never exceeds 255, so the halves never overflow.
KAVRO_ROW_LOOP void AlphaBlock32(const RowBlock& b, uint32_t k) {
    raster::ForEachRow<uint32_t, uint32_t>(b, [k](uint32_t* d, const uint32_t* t, int32_t n) {
        for (int32_t i = 0; i < n; ++i) {
            uint32_t texel = t[i];
            uint32_t pixel = d[i];
            uint32_t a = Mul8(texel >> 24, k);
            uint32_t ia = 255 - a;
            uint32_t rb = Mul8Pair(texel & 0x00FF00FFu, a) + Mul8Pair(pixel & 0x00FF00FFu, ia);
            uint32_t g = Mul8Pair((texel >> 8) & 0xFFu, a) + Mul8Pair((pixel >> 8) & 0xFFu, ia);
            d[i] = 0xFF000000u | rb | (g << 8);
        }
    });
}

#undef KAVRO_ROW_LOOP

// Any formats and states, through the same per-pixel functions as the general rasteriser.
// `dst_x` and `src_x` are the first pixel's and texel's columns in their rows.
void GenericBlock(const RasterSetup& setup, const RowBlock& b, int32_t dst_x, int32_t src_x,
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
    const RasterImage& target = setup.target;
    const RasterTexture& tex = setup.texture;
    RasterRect& r = *out;
    const raster::RectMatch match = raster::MatchAndClip(
        v, tex.bits, tex.pitch, tex.width, tex.height, 0,
        raster::PixelBox{0, 0, target.width, target.height}, RasterLoop::kGeneric, &r,
        counters ? &counters->fast_rectangles : nullptr);
    if (match == raster::RectMatch::kNotRectangle) return false;
    if (match == raster::RectMatch::kNoPixels) return true;
    r.loop = ChooseLoop(setup, r.diffuse, &r.alpha, &r.opaque);
    if (counters) counters->pixels += static_cast<uint64_t>((r.x1 - r.x0) * (r.y1 - r.y0));
    return true;
}

void Raster_FillRectangle(const RasterImage& target, const RasterSetup* setup, const RasterRect& r,
                          int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
    if (x0 >= x1 || y0 >= y1) return;
    if (r.loop == RasterLoop::kGeneric) {
        // The rows' starts, and the first pixel's and texel's columns.
        const RowBlock rows = raster::PartRows(r, target.bits, target.pitch, 0, x0, x1, y0, y1);
        GenericBlock(*setup, rows, x0, r.tx0 + (x0 - r.x0), r.diffuse);
        return;
    }
    // The 32-bit loops address their first pixel and texel directly.
    const RowBlock b = raster::PartRows(r, target.bits, target.pitch, 4, x0, x1, y0, y1);
    switch (r.loop) {
        case RasterLoop::kCopy32:
            CopyBlock32(b);
            break;
        case RasterLoop::kKeyed32:
            KeyedBlock32(b);
            break;
        default:
            AlphaBlock32(b, r.alpha);
            break;
    }
}

bool Raster_DrawRectangle(const RasterSetup& setup, const RasterVertex* v,
                          RasterCounters* counters) {
    RasterRect r;
    if (!Raster_PrepareRectangle(setup, v, &r, counters)) return false;
    if (!r.Empty()) Raster_FillRectangle(setup.target, &setup, r, r.x0, r.x1, r.y0, r.y1);
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
