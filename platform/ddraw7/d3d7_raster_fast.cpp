// The rectangle fast paths: a four-vertex strip that is an axis-aligned rectangle mapping
// texels one to one onto pixels (every tile the game draws) is drawn row by row without edge
// functions or interpolation.
//
// Why the pixels equal the general rasteriser's: by the top-left rule the two triangles cover
// exactly the pixel centres in [left, right) x [top, bottom) once each; with texture coordinates
// constant along the rectangle's sides the sampled texel column depends only on the pixel
// column (the row only on the pixel row); and a mapping is taken only when the ideal texel
// coordinate at the first and last pixel lies at least 1/16 texel inside a texel, with exactly
// one texel per pixel in between, which leaves a margin far above the general path's rounding.
// Every pixel goes through the inline pipeline of d3d7_pixel.h, except in the two loops for
// 32-bit textures without alpha on a 32-bit target, which only drop factors the 8-bit rule makes
// exact (x * 255 = x, x * 0 = 0).
#include <cmath>

#include "platform/ddraw7/d3d7.h"
#include "platform/ddraw7/d3d7_pixel.h"

namespace {

constexpr double kMargin = 1.0 / 16.0;

// The first texel index of a one-to-one mapping of pixels [p0, p1) onto texels, or -1. The
// coordinate runs from c_start at the snapped edge e_start to c_end at e_end.
int32_t OneToOne(double c_start, double c_end, int64_t e_start, int64_t e_end, int64_t p0,
                 int64_t p1, int32_t size) {
    auto ideal = [&](int64_t p) {
        double t = static_cast<double>((p << kD7SubpixelBits) - e_start) /
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

// Mul8 of two channels at once, in the low bytes of the two 16-bit halves of `pair`: each
// product and its rounding fit their half, so no carry crosses over.
inline uint32_t Mul8Pair(uint32_t pair, uint32_t a) {
    uint32_t t = pair * a + 0x00800080u;
    return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
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
    int64_t x[4], y[4];
    for (int i = 0; i < 4; ++i) {
        if (!d3d7px::Snap(v[i].x, &x[i]) || !d3d7px::Snap(v[i].y, &y[i])) return false;
    }
    // Strip order top-left, top-right, bottom-left, bottom-right.
    if (x[0] != x[2] || x[1] != x[3] || y[0] != y[1] || y[2] != y[3]) return false;
    if (!(x[0] < x[1] && y[0] < y[2])) return false;
    if (!(v[0].u == v[2].u && v[1].u == v[3].u && v[0].v == v[1].v && v[2].v == v[3].v)) {
        return false;
    }
    uint32_t diffuse = v[0].diffuse;
    if (v[1].diffuse != diffuse || v[2].diffuse != diffuse || v[3].diffuse != diffuse) return false;

    const D7Image& target = setup.target;
    const D7Texture& tex = setup.texture;
    int64_t c0 = d3d7px::CeilPixel(x[0]), c1 = d3d7px::CeilPixel(x[1]);
    int64_t r0 = d3d7px::CeilPixel(y[0]), r1 = d3d7px::CeilPixel(y[2]);
    if (c0 >= c1 || r0 >= r1) return true;  // covers no pixel centre
    int32_t tx0 = 0, ty0 = 0;
    if (tex.bits) {
        tx0 = OneToOne(v[0].u, v[1].u, x[0], x[1], c0, c1, tex.width);
        ty0 = OneToOne(v[0].v, v[2].v, y[0], y[2], r0, r1, tex.height);
        if (tx0 < 0 || ty0 < 0) return false;
    }
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
