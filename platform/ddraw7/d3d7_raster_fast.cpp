// The rectangle fast paths: a four-vertex strip that the shared rectangle test
// (platform/raster/rectangle.h) finds to map texels one to one onto pixels (every tile the game
// draws) is drawn row by row without edge functions or interpolation, with exactly the general
// rasteriser's pixels. Every pixel goes through the inline pipeline of d3d7_pixel.h, except in
// the two loops for 32-bit textures without alpha on a 32-bit target, which only drop factors
// the 8-bit rule makes exact (x * 255 = x, x * 0 = 0).
#include "platform/ddraw7/d3d7.h"
#include "platform/ddraw7/d3d7_pixel.h"
#include "platform/raster/mul8.h"
#include "platform/raster/rectangle.h"
#include "platform/raster/rows.h"

namespace {

using raster::Mul8Pair;

using raster::RowBlock;

// The loops take whole rectangles: a call per row costs as much as a tile's row. Each is
// written once as an inline body and built twice through the entry points further down, for
// AVX2 and for any x86-64, the loader picking the copy the processor can run; called through
// that choice they are never inlined into the rectangle loop (where the compiler would no
// longer vectorise them).

// Texel colours replace the pixels; with a key, key texels leave them.
template <bool kKeyed>
[[gnu::always_inline]] inline void CopyBody32(const RowBlock& b, uint32_t key) {
    raster::ForEachRow<uint32_t, uint32_t>(b, [=](uint32_t* d, const uint32_t* t, int32_t n) {
        for (int32_t i = 0; i < n; ++i) {
            const uint32_t texel = t[i] & 0x00FFFFFFu;
            if constexpr (kKeyed) {
                d[i] = texel == key ? d[i] : texel;
            } else {
                d[i] = texel;
            }
        }
    });
}

// Texel colours at source alpha `a`, blended SRCALPHA / INVSRCALPHA: per channel
// Mul8(s, a) + Mul8(d, 255 - a), which never exceeds 255, so the halves never overflow.
template <bool kKeyed>
[[gnu::always_inline]] inline void AlphaBody32(const RowBlock& b, uint32_t a, uint32_t key) {
    const uint32_t ia = 255 - a;
    raster::ForEachRow<uint32_t, uint32_t>(b, [=](uint32_t* d, const uint32_t* t, int32_t n) {
        for (int32_t i = 0; i < n; ++i) {
            const uint32_t texel = t[i] & 0x00FFFFFFu;
            const uint32_t pixel = d[i];
            const uint32_t rb =
                Mul8Pair(texel & 0x00FF00FFu, a) + Mul8Pair(pixel & 0x00FF00FFu, ia);
            const uint32_t g =
                Mul8Pair((texel >> 8) & 0xFFu, a) + Mul8Pair((pixel >> 8) & 0xFFu, ia);
            const uint32_t blended = rb | (g << 8);
            if constexpr (kKeyed) {
                d[i] = texel == key ? pixel : blended;
            } else {
                d[i] = blended;
            }
        }
    });
}

// Named apart from the Direct3D 9 stand-in's loops: clang gives the resolver of a multi-versioned
// function an external name even in an unnamed namespace, so equal names clash at link time.
#define KAVRO_ROW_LOOP [[gnu::target_clones("avx2", "default")]]
KAVRO_ROW_LOOP void D7CopyBlock32(const RowBlock& b) {
    CopyBody32<false>(b, 0);
}
KAVRO_ROW_LOOP void D7CopyKeyedBlock32(const RowBlock& b, uint32_t key) {
    CopyBody32<true>(b, key);
}
KAVRO_ROW_LOOP void D7AlphaBlock32(const RowBlock& b, uint32_t a) {
    AlphaBody32<false>(b, a, 0);
}
KAVRO_ROW_LOOP void D7AlphaKeyedBlock32(const RowBlock& b, uint32_t a, uint32_t key) {
    AlphaBody32<true>(b, a, key);
}
#undef KAVRO_ROW_LOOP

// The 32-bit loop for textures without alpha on a 32-bit target, before the key is looked at,
// with its source alpha; kGeneric for anything else.
D7Loop ChooseLoop(const D7Setup& setup, uint32_t diffuse, uint32_t* alpha) {
    const D7Texture& tex = setup.texture;
    if (!tex.bits || tex.format != DDFormat::kX8R8G8B8 ||
        setup.target.format != DDFormat::kX8R8G8B8) {
        return D7Loop::kGeneric;
    }
    const D7Stage& s = setup.stage;
    bool white = (diffuse & 0xFFFFFF) == 0xFFFFFF;
    bool colour_is_texel =
        s.color_op == D7Op::kArg1 ? s.color_arg1 == D7Arg::kTexture
        : s.color_op == D7Op::kArg2
            ? s.color_arg2 == D7Arg::kTexture
            : white && (s.color_arg1 == D7Arg::kTexture) != (s.color_arg2 == D7Arg::kTexture);
    if (!colour_is_texel) return D7Loop::kGeneric;
    *alpha = d3d7px::ShadeAlpha(s, 0xFF000000u, diffuse);
    const D7Blend& b = setup.blend;
    if (!b.enabled || (b.src == D7Factor::kOne && b.dest == D7Factor::kZero)) {
        return D7Loop::kCopy32;
    }
    if (b.src == D7Factor::kSrcAlpha && b.dest == D7Factor::kInvSrcAlpha) {
        return *alpha == 255 ? D7Loop::kCopy32 : D7Loop::kAlpha32;
    }
    return D7Loop::kGeneric;
}

}  // namespace

bool D7Raster_PrepareRectangle(const D7Setup& setup, const D7Vertex* v, D7Rect* out,
                               D3D7TestCounters* counters) {
    // Clockwise culling removes both triangles; the general path does that.
    if (setup.cull == D3DCULL_CW) return false;
    const D7Texture& tex = setup.texture;
    const RECT& clip = setup.clip;
    D7Rect& r = *out;
    const raster::RectMatch match =
        raster::MatchAndClip(v, tex.bits, tex.pitch, tex.width, tex.height, tex.key & 0x00FFFFFFu,
                             raster::PixelBox{clip.left, clip.top, clip.right, clip.bottom},
                             D7Loop::kGeneric, &r, counters ? &counters->fast_rectangles : nullptr);
    if (match == raster::RectMatch::kNotRectangle) return false;
    if (match == raster::RectMatch::kNoPixels) return true;

    D7Loop loop = ChooseLoop(setup, r.diffuse, &r.alpha);
    // Keys count only where a texel has the key colour.
    const bool keyed = tex.keyed && tex.coverage != DDKeyCoverage::kNone;
    if (loop != D7Loop::kGeneric) {
        // A texture the key covers wholly draws nothing; one it leaves untouched needs no test.
        if (keyed && tex.coverage == DDKeyCoverage::kAll) {
            r.x1 = r.x0;
            return true;
        }
        if (keyed) loop = loop == D7Loop::kCopy32 ? D7Loop::kCopyKeyed32 : D7Loop::kAlphaKeyed32;
        r.opaque = loop == D7Loop::kCopy32;
    } else {
        const D7Blend& b = setup.blend;
        r.opaque = !keyed && (!b.enabled || (b.src == D7Factor::kOne && b.dest == D7Factor::kZero));
    }
    r.loop = loop;
    return true;
}

void D7Raster_FillRectangle(const D7Image& target, const D7Setup* setup, const D7Rect& r,
                            int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
    if (x0 >= x1 || y0 >= y1) return;
    if (r.loop == D7Loop::kGeneric) {
        // Any formats and states, through the same per-pixel pipeline as the general rasteriser.
        const int32_t tx = r.tx0 + (x0 - r.x0), ty = r.ty0 + (y0 - r.y0);
        for (int32_t y = y0; y < y1; ++y) {
            uint8_t* row = target.bits + static_cast<int64_t>(y) * target.pitch;
            for (int32_t i = 0; i < x1 - x0; ++i)
                d3d7px::DrawPixel(*setup, row, x0 + i, tx + i, ty + (y - y0), r.diffuse);
        }
        return;
    }
    const RowBlock b = raster::PartRows(r, target.bits, target.pitch, 4, x0, x1, y0, y1);
    switch (r.loop) {
        case D7Loop::kCopy32:
            D7CopyBlock32(b);
            break;
        case D7Loop::kCopyKeyed32:
            D7CopyKeyedBlock32(b, r.key);
            break;
        case D7Loop::kAlpha32:
            D7AlphaBlock32(b, r.alpha);
            break;
        default:
            D7AlphaKeyedBlock32(b, r.alpha, r.key);
            break;
    }
}

bool D7Raster_DrawRectangle(const D7Setup& setup, const D7Vertex* v, D3D7TestCounters* counters) {
    D7Rect r;
    if (!D7Raster_PrepareRectangle(setup, v, &r, counters)) return false;
    if (!r.Empty()) D7Raster_FillRectangle(setup.target, &setup, r, r.x0, r.x1, r.y0, r.y1);
    return true;
}
