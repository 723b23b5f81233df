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

namespace {

using raster::Mul8Pair;

struct Span {
    uint8_t* dst;          // the destination row
    const uint8_t* src;    // the texel row
    int32_t dst_x, src_x;  // first pixel and texel
    int32_t count;
};

// A rectangle of the 32-bit loops: `rows` rows of `count` pixels from the first span on.
struct Block {
    Span first;
    int32_t dst_pitch, src_pitch;
    int32_t rows;
};

// The loops take whole rectangles: a call per row costs as much as a tile's row. Each is
// written once as an inline body and built twice through the entry points further down, for
// AVX2 and for any x86-64, the loader picking the copy the processor can run; called through
// that choice they are never inlined into the rectangle loop (where the compiler would no
// longer vectorise them).

// Texel colours replace the pixels; with a key, key texels leave them.
template <bool kKeyed>
[[gnu::always_inline]] inline void CopyBody32(const Block& b, uint32_t key) {
    const int32_t n = b.first.count;  // locals: stores through d may not change them
    const int32_t rows = b.rows;
    uint8_t* dst_row = b.first.dst + static_cast<int64_t>(b.first.dst_x) * 4;
    const uint8_t* src_row = b.first.src + static_cast<int64_t>(b.first.src_x) * 4;
    for (int32_t r = 0; r < rows; ++r, dst_row += b.dst_pitch, src_row += b.src_pitch) {
        uint32_t* d = reinterpret_cast<uint32_t*>(dst_row);
        const uint32_t* t = reinterpret_cast<const uint32_t*>(src_row);
        for (int32_t i = 0; i < n; ++i) {
            const uint32_t texel = t[i] & 0x00FFFFFFu;
            if constexpr (kKeyed) {
                d[i] = texel == key ? d[i] : texel;
            } else {
                d[i] = texel;
            }
        }
    }
}

// Texel colours at source alpha `a`, blended SRCALPHA / INVSRCALPHA: per channel
// Mul8(s, a) + Mul8(d, 255 - a), which never exceeds 255, so the halves never overflow.
template <bool kKeyed>
[[gnu::always_inline]] inline void AlphaBody32(const Block& b, uint32_t a, uint32_t key) {
    const int32_t n = b.first.count;
    const int32_t rows = b.rows;
    const uint32_t ia = 255 - a;
    uint8_t* dst_row = b.first.dst + static_cast<int64_t>(b.first.dst_x) * 4;
    const uint8_t* src_row = b.first.src + static_cast<int64_t>(b.first.src_x) * 4;
    for (int32_t r = 0; r < rows; ++r, dst_row += b.dst_pitch, src_row += b.src_pitch) {
        uint32_t* d = reinterpret_cast<uint32_t*>(dst_row);
        const uint32_t* t = reinterpret_cast<const uint32_t*>(src_row);
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
    }
}

// Named apart from the Direct3D 9 stand-in's loops: clang gives the resolver of a multi-versioned
// function an external name even in an unnamed namespace, so equal names clash at link time.
#define KAVRO_ROW_LOOP [[gnu::target_clones("avx2", "default")]]
KAVRO_ROW_LOOP void D7CopyBlock32(const Block& b) {
    CopyBody32<false>(b, 0);
}
KAVRO_ROW_LOOP void D7CopyKeyedBlock32(const Block& b, uint32_t key) {
    CopyBody32<true>(b, key);
}
KAVRO_ROW_LOOP void D7AlphaBlock32(const Block& b, uint32_t a) {
    AlphaBody32<false>(b, a, 0);
}
KAVRO_ROW_LOOP void D7AlphaKeyedBlock32(const Block& b, uint32_t a, uint32_t key) {
    AlphaBody32<true>(b, a, key);
}
#undef KAVRO_ROW_LOOP

// Any formats and states, through the same per-pixel pipeline as the general rasteriser.
void GenericRow(const D7Setup& setup, const Span& s, int32_t texel_row, uint32_t diffuse) {
    for (int32_t i = 0; i < s.count; ++i) {
        d3d7px::DrawPixel(setup, s.dst, s.dst_x + i, s.src_x + i, texel_row, diffuse);
    }
}

enum class Loop { kGeneric, kCopy32, kAlpha32 };

// The 32-bit loops serve textures without alpha, where the source alpha is one value for the
// whole rectangle and the colour is the texel's.
Loop ChooseLoop(const D7Setup& setup, uint32_t diffuse, uint32_t* alpha) {
    const D7Texture& tex = setup.texture;
    if (!tex.bits || tex.format != DDFormat::kX8R8G8B8 ||
        setup.target.format != DDFormat::kX8R8G8B8) {
        return Loop::kGeneric;
    }
    const D7Stage& s = setup.stage;
    bool white = (diffuse & 0xFFFFFF) == 0xFFFFFF;
    bool colour_is_texel =
        s.color_op == D7Op::kArg1 ? s.color_arg1 == D7Arg::kTexture
        : s.color_op == D7Op::kArg2
            ? s.color_arg2 == D7Arg::kTexture
            : white && (s.color_arg1 == D7Arg::kTexture) != (s.color_arg2 == D7Arg::kTexture);
    if (!colour_is_texel) return Loop::kGeneric;
    *alpha = d3d7px::Shade(s, 0xFF000000u, diffuse) >> 24;
    const D7Blend& b = setup.blend;
    if (!b.enabled || (b.src == D7Factor::kOne && b.dest == D7Factor::kZero)) return Loop::kCopy32;
    if (b.src == D7Factor::kSrcAlpha && b.dest == D7Factor::kInvSrcAlpha) {
        return *alpha == 255 ? Loop::kCopy32 : Loop::kAlpha32;
    }
    return Loop::kGeneric;
}

}  // namespace

bool D7Raster_DrawRectangle(const D7Setup& setup, const D7Vertex* v, D3D7TestCounters* counters) {
    // Clockwise culling removes both triangles; the general path does that.
    if (setup.cull == D3DCULL_CW) return false;
    const D7Image& target = setup.target;
    const D7Texture& tex = setup.texture;
    raster::RectMapping m;
    const raster::RectMatch match =
        raster::MatchRectangle(v, tex.bits != nullptr, tex.width, tex.height, &m);
    if (match == raster::RectMatch::kNotRectangle) return false;
    if (match == raster::RectMatch::kNoPixels) return true;
    const int64_t c0 = m.c0, c1 = m.c1, r0 = m.r0, r1 = m.r1;
    const int32_t tx0 = m.tx0, ty0 = m.ty0;
    const uint32_t diffuse = m.diffuse;
    const RECT& clip = setup.clip;
    int64_t cx0 = c0 < clip.left ? clip.left : c0, cx1 = c1 > clip.right ? clip.right : c1;
    int64_t cy0 = r0 < clip.top ? clip.top : r0, cy1 = r1 > clip.bottom ? clip.bottom : r1;
    if (counters) ++counters->fast_rectangles;
    if (cx0 >= cx1 || cy0 >= cy1) return true;

    uint32_t alpha = 255;
    const Loop loop = ChooseLoop(setup, diffuse, &alpha);
    const uint32_t key = tex.key & 0x00FFFFFFu;
    Span span{nullptr, nullptr, static_cast<int32_t>(cx0), static_cast<int32_t>(tx0 + (cx0 - c0)),
              static_cast<int32_t>(cx1 - cx0)};
    if (loop != Loop::kGeneric) {
        span.dst = target.bits + cy0 * target.pitch;
        span.src = tex.bits + (ty0 + (cy0 - r0)) * tex.pitch;
        const Block block{span, target.pitch, tex.pitch, static_cast<int32_t>(cy1 - cy0)};
        // A texture the key covers wholly draws nothing; one it leaves untouched needs no test.
        if (tex.keyed && tex.coverage == DDKeyCoverage::kAll) return true;
        const bool keyed = tex.keyed && tex.coverage == DDKeyCoverage::kSome;
        if (loop == Loop::kCopy32) {
            keyed ? D7CopyKeyedBlock32(block, key) : D7CopyBlock32(block);
        } else {
            keyed ? D7AlphaKeyedBlock32(block, alpha, key) : D7AlphaBlock32(block, alpha);
        }
        return true;
    }
    for (int64_t y_px = cy0; y_px < cy1; ++y_px) {
        const int32_t texel_row = static_cast<int32_t>(ty0 + (y_px - r0));
        span.dst = target.bits + y_px * target.pitch;
        span.src = tex.bits ? tex.bits + static_cast<int64_t>(texel_row) * tex.pitch : nullptr;
        GenericRow(setup, span, texel_row, diffuse);
    }
    return true;
}
