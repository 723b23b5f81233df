// The test behind the rectangle fast paths: a four-vertex strip that is an axis-aligned
// rectangle mapping texels one to one onto pixels can be drawn row by row, without edge
// functions or interpolation, and give exactly the general rasteriser's pixels.
//
// Why: by the top-left rule the strip's two triangles cover exactly the pixel centres in
// [left, right) x [top, bottom) once each; with texture coordinates constant along the
// rectangle's sides the sampled texel column depends only on the pixel column (the row only on
// the pixel row); and a mapping is taken only when the ideal texel coordinate at the first and
// last pixel lies at least 1/16 texel inside a texel, with exactly one texel per pixel in
// between, which leaves a margin far above the general path's rounding.
#pragma once
#include <cstdint>
#include <cstring>

#include "platform/raster/rows.h"
#include "platform/raster/subpixel.h"

namespace raster {

// The first texel index of a one-to-one mapping of pixels [p0, p1) onto texels, or -1. The
// coordinate runs from c_start at the snapped edge e_start to c_end at e_end, and p0 and p1 are
// the first pixel centres at or after e_start and e_end.
int32_t OneToOne(double c_start, double c_end, int64_t e_start, int64_t e_end, int64_t p0,
                 int64_t p1, int32_t size);

// OneToOne with its common case inline: the whole texture at its own size on the half-pixel
// grid (every quad the game draws), where each pixel centre lies on a texel centre, so the
// texel of pixel p is p minus the pixel under the first texel's centre, exactly.
inline int32_t OneToOneAt(double c_start, double c_end, int64_t e_start, int64_t e_end, int64_t p0,
                          int64_t p1, int32_t size) {
    constexpr int64_t kHalf = int64_t{1} << (kSubpixelBits - 1);
    if (c_start == 0.0 && c_end == 1.0 && e_end - e_start == int64_t{size} << kSubpixelBits &&
        ((e_start + kHalf) & ((int64_t{1} << kSubpixelBits) - 1)) == 0) {
        return static_cast<int32_t>(p0 - ((e_start + kHalf) >> kSubpixelBits));
    }
    return OneToOne(c_start, c_end, e_start, e_end, p0, p1, size);
}

// The rectangle a strip covers, before clipping: pixel columns [c0, c1) and rows [r0, r1),
// with texel (tx0, ty0) on pixel (c0, r0) and one texel per pixel from there.
struct RectMapping {
    int64_t c0, c1, r0, r1;
    int32_t tx0, ty0;
    uint32_t diffuse;  // the vertices' one colour (ARGB)
};

// A matched rectangle made ready for a stand-in's row loops (`Loop`, its own kinds): the pixels
// it covers cut to what the draw may write, the texel that lands on its first pixel (one texel
// per pixel from there) and where the texels are, the loop, and whether it overwrites every
// pixel it covers whatever the target held there (so nothing drawn under it before can show).
template <class Loop>
struct PreparedRect {
    int32_t x0, y0, x1, y1;  // [x0, x1) x [y0, y1); empty when it draws nothing
    int32_t tx0, ty0;
    const uint8_t* texels;  // the texture's pixels, or null without a texture
    int32_t texel_pitch;
    Loop loop;
    bool opaque;
    uint32_t alpha;    // the loop's source alpha, as the stand-in defines it
    uint32_t key;      // the keyed loops' key
    uint32_t diffuse;  // the vertices' colour
    bool Empty() const { return x0 >= x1 || y0 >= y1; }
};

// The rows of the part [x0, x1) x [y0, y1) of a prepared rectangle, on a target's pixels `bits`
// with rows `pitch` bytes apart: its first pixel and texel at `bytes` bytes a pixel and a texel
// (with 0, the rows' starts), or a null source without texels.
template <class Loop>
RowBlock PartRows(const PreparedRect<Loop>& r, uint8_t* bits, int64_t pitch, int32_t bytes,
                  int32_t x0, int32_t x1, int32_t y0, int32_t y1) {
    const int64_t tx = r.tx0 + (x0 - r.x0), ty = r.ty0 + (y0 - r.y0);
    return RowBlock{bits + y0 * pitch + int64_t{x0} * bytes,
                    r.texels ? r.texels + ty * r.texel_pitch + tx * bytes : nullptr,
                    pitch,
                    r.texel_pitch,
                    x1 - x0,
                    y1 - y0};
}

// kNotRectangle: the general rasteriser must draw the strip. kNoPixels: a rectangle (diffuse
// is set) that covers no pixel centre. kMapped: every field is set.
enum class RectMatch : uint8_t { kNotRectangle, kNoPixels, kMapped };

// The bits of a float, for tests that are exact in them.
inline uint32_t FloatBits(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof(bits));
    return bits;
}

// The common case, decided in floats without snapping: the whole texture (coordinates 0 and 1)
// at its own size with its corners on pixel corners, that is at half-integer positions (every
// quad the game draws). It gives what MatchRectangle's general path gives for such a strip: a
// corner at k - 0.5 snaps to 256k - 128, whose first pixel centre is k, and pixel k shows
// texel 0. False, having set nothing, for any other strip.
//
// The equalities are tested on the bits, all at once: two floats that are equal but differ in
// their bits are zeros of both signs, and every corner that matches is a half-integer, never
// zero; a coordinate is 0 when its bits without the sign are, and 1 has one form.
template <class V>
[[gnu::always_inline]] inline bool MatchWholeTexture(const V* v, int32_t tex_width,
                                                     int32_t tex_height, RectMapping* out) {
    constexpr uint32_t kOne = 0x3F800000u, kNoSign = 0x7FFFFFFFu;
    const uint32_t diffuse = v[0].diffuse;
    const uint32_t apart =
        (FloatBits(v[2].x) ^ FloatBits(v[0].x)) | (FloatBits(v[1].y) ^ FloatBits(v[0].y)) |
        (FloatBits(v[3].x) ^ FloatBits(v[1].x)) | (FloatBits(v[3].y) ^ FloatBits(v[2].y)) |
        ((FloatBits(v[0].u) | FloatBits(v[2].u) | FloatBits(v[0].v) | FloatBits(v[1].v)) &
         kNoSign) |
        (FloatBits(v[1].u) ^ kOne) | (FloatBits(v[3].u) ^ kOne) | (FloatBits(v[2].v) ^ kOne) |
        (FloatBits(v[3].v) ^ kOne) | (v[1].diffuse ^ diffuse) | (v[2].diffuse ^ diffuse) |
        (v[3].diffuse ^ diffuse);
    if (apart != 0) return false;
    const float left = v[0].x, top = v[0].y;
    // Well inside the guard band, where half-integers and the sums below are exact in floats.
    constexpr float kLimit = 32768.0f;
    if (!(left > -kLimit && left < kLimit && top > -kLimit && top < kLimit)) return false;
    const float column = left + 0.5f, row = top + 0.5f;
    const int32_t c0 = static_cast<int32_t>(column), r0 = static_cast<int32_t>(row);
    if (static_cast<float>(c0) != column || static_cast<float>(r0) != row) return false;
    if (tex_width > 16384 || tex_height > 16384 || v[1].x != left + static_cast<float>(tex_width) ||
        v[2].y != top + static_cast<float>(tex_height)) {
        return false;
    }
    RectMapping& m = *out;
    m.diffuse = diffuse;
    m.c0 = c0;
    m.c1 = int64_t{c0} + tex_width;
    m.r0 = r0;
    m.r1 = int64_t{r0} + tex_height;
    m.tx0 = 0;
    m.ty0 = 0;
    return true;
}

// Cuts a mapped rectangle to `box`: the pixels and first texel of `out` (the other fields are
// left as they are). False when no pixel is left.
template <class Loop>
bool ClipRectangle(const RectMapping& m, const PixelBox& box, PreparedRect<Loop>* out) {
    const int64_t x0 = m.c0 < box.left ? box.left : m.c0;
    const int64_t x1 = m.c1 > box.right ? box.right : m.c1;
    const int64_t y0 = m.r0 < box.top ? box.top : m.r0;
    const int64_t y1 = m.r1 > box.bottom ? box.bottom : m.r1;
    if (x0 >= x1 || y0 >= y1) return false;
    out->x0 = static_cast<int32_t>(x0);
    out->x1 = static_cast<int32_t>(x1);
    out->y0 = static_cast<int32_t>(y0);
    out->y1 = static_cast<int32_t>(y1);
    out->tx0 = static_cast<int32_t>(m.tx0 + (x0 - m.c0));
    out->ty0 = static_cast<int32_t>(m.ty0 + (y0 - m.r0));
    return true;
}

// The snapping path of MatchRectangle, for any strip (out of line: the common case is matched
// before it).
template <class V>
[[gnu::noinline]] RectMatch MatchSnappedRectangle(const V* v, bool textured, int32_t tex_width,
                                                  int32_t tex_height, RectMapping* out) {
    int64_t x[4], y[4];
    for (int i = 0; i < 4; ++i) {
        if (!Snap(v[i].x, &x[i]) || !Snap(v[i].y, &y[i])) return RectMatch::kNotRectangle;
    }
    if (x[0] != x[2] || x[1] != x[3] || y[0] != y[1] || y[2] != y[3]) {
        return RectMatch::kNotRectangle;
    }
    if (!(x[0] < x[1] && y[0] < y[2])) return RectMatch::kNotRectangle;
    if (!(v[0].u == v[2].u && v[1].u == v[3].u && v[0].v == v[1].v && v[2].v == v[3].v)) {
        return RectMatch::kNotRectangle;
    }
    const uint32_t diffuse = v[0].diffuse;
    if (v[1].diffuse != diffuse || v[2].diffuse != diffuse || v[3].diffuse != diffuse) {
        return RectMatch::kNotRectangle;
    }
    RectMapping& m = *out;
    m.diffuse = diffuse;
    m.c0 = CeilPixel(x[0]);
    m.c1 = CeilPixel(x[1]);
    m.r0 = CeilPixel(y[0]);
    m.r1 = CeilPixel(y[2]);
    if (m.c0 >= m.c1 || m.r0 >= m.r1) return RectMatch::kNoPixels;
    m.tx0 = 0;
    m.ty0 = 0;
    if (textured) {
        m.tx0 = OneToOneAt(v[0].u, v[1].u, x[0], x[1], m.c0, m.c1, tex_width);
        m.ty0 = OneToOneAt(v[0].v, v[2].v, y[0], y[2], m.r0, m.r1, tex_height);
        if (m.tx0 < 0 || m.ty0 < 0) return RectMatch::kNotRectangle;
    }
    return RectMatch::kMapped;
}

// Matches a strip of four vertices (anything with x, y, u, v and diffuse) in the order
// top-left, top-right, bottom-left, bottom-right. Without a texture (textured false) any
// texture coordinates map, and tx0, ty0 are 0.
template <class V>
[[gnu::always_inline]] inline RectMatch MatchRectangle(const V* v, bool textured, int32_t tex_width,
                                                       int32_t tex_height, RectMapping* out) {
    if (textured && tex_width > 0 && tex_height > 0 &&
        MatchWholeTexture(v, tex_width, tex_height, out)) {
        return RectMatch::kMapped;
    }
    return MatchSnappedRectangle(v, textured, tex_width, tex_height, out);
}

// The first step of both stand-ins' rectangle draws: matches the strip against the texture
// (`texels` null: none) and makes `out` ready but for its loop, which is left `generic` (with
// source alpha 255, not opaque, and `key`), cut to `box`. kNotRectangle sets nothing; kNoPixels
// leaves `out` empty (no pixel shows, also after the cut); kMapped has it ready. A strip that
// maps pixels counts in `fast_rectangles` (when given).
template <class V, class Loop>
[[gnu::always_inline]] inline RectMatch MatchAndClip(const V* v, const uint8_t* texels,
                                                     int32_t texel_pitch, int32_t tex_width,
                                                     int32_t tex_height, uint32_t key,
                                                     const PixelBox& box, Loop generic,
                                                     PreparedRect<Loop>* out,
                                                     uint64_t* fast_rectangles) {
    RectMapping m;
    const RectMatch match = MatchRectangle(v, texels != nullptr, tex_width, tex_height, &m);
    if (match == RectMatch::kNotRectangle) return match;
    PreparedRect<Loop>& r = *out;
    r.texels = texels;
    r.texel_pitch = texel_pitch;
    r.key = key;
    r.diffuse = m.diffuse;
    r.alpha = 255;
    r.opaque = false;
    r.loop = generic;
    bool shows = match == RectMatch::kMapped;
    if (shows) {
        if (fast_rectangles) ++*fast_rectangles;
        shows = ClipRectangle(m, box, &r);
    }
    if (shows) return RectMatch::kMapped;
    r.x0 = r.x1 = r.y0 = r.y1 = r.tx0 = r.ty0 = 0;
    return RectMatch::kNoPixels;
}

}  // namespace raster
