// One pixel of the Direct3D 7 pipeline: texel fetch with the colour key, the texture stage, the
// blend and the store. Shared by the general rasteriser and the rectangle fast paths, so both
// compute every pixel the same way. Private to platform/ddraw7.
#pragma once
#include <cstdint>

#include "platform/ddraw7/d3d7_raster.h"
#include "platform/ddraw7/pixel_format.h"

namespace d3d7px {

// The texel as ARGB; false when the colour key removes it.
inline bool Texel(const D7Texture& t, int32_t tx, int32_t ty, uint32_t* argb) {
    if (!t.bits) {
        *argb = 0xFF000000u;
        return true;
    }
    uint32_t raw = dd7px::Raw(t.format, t.bits + static_cast<int64_t>(ty) * t.pitch, tx);
    if (t.keyed && (raw & dd7px::UsedBits(t.format)) == t.key) return false;
    *argb = dd7px::ToArgb(t.format, raw);
    return true;
}

inline uint32_t Pick(D7Arg a, uint32_t texel, uint32_t diffuse) {
    return a == D7Arg::kTexture ? texel : diffuse;
}

// The alpha of the stage's output for one texel and the pixel's diffuse colour.
inline uint32_t ShadeAlpha(const D7Stage& s, uint32_t texel, uint32_t diffuse) {
    uint32_t a1 = Pick(s.alpha_arg1, texel, diffuse) >> 24;
    uint32_t a2 = Pick(s.alpha_arg2, texel, diffuse) >> 24;
    return s.alpha_op == D7Op::kArg1 ? a1 : s.alpha_op == D7Op::kArg2 ? a2 : dd7px::Mul8(a1, a2);
}

// The stage's output (ARGB) for one texel and the pixel's diffuse colour.
inline uint32_t Shade(const D7Stage& s, uint32_t texel, uint32_t diffuse) {
    using dd7px::Mul8;
    uint32_t c1 = Pick(s.color_arg1, texel, diffuse);
    uint32_t c2 = Pick(s.color_arg2, texel, diffuse);
    uint32_t rgb;
    if (s.color_op == D7Op::kArg1) {
        rgb = c1 & 0xFFFFFF;
    } else if (s.color_op == D7Op::kArg2) {
        rgb = c2 & 0xFFFFFF;
    } else {
        rgb = dd7px::Pack(0, Mul8((c1 >> 16) & 0xFF, (c2 >> 16) & 0xFF),
                          Mul8((c1 >> 8) & 0xFF, (c2 >> 8) & 0xFF), Mul8(c1 & 0xFF, c2 & 0xFF));
    }
    return (ShadeAlpha(s, texel, diffuse) << 24) | rgb;
}

inline uint32_t Factor(D7Factor f, uint32_t src_alpha) {
    switch (f) {
        case D7Factor::kZero:
            return 0;
        case D7Factor::kOne:
            return 255;
        case D7Factor::kSrcAlpha:
            return src_alpha;
        default:
            return 255 - src_alpha;
    }
}

inline uint32_t BlendChannel(uint32_t s, uint32_t fs, uint32_t d, uint32_t fd) {
    uint32_t v = dd7px::Mul8(s, fs) + dd7px::Mul8(d, fd);
    return v > 255 ? 255 : v;
}

// The colour written for source colour `src` over the target's colour `dst`.
inline uint32_t Blend(const D7Blend& b, uint32_t src, uint32_t dst) {
    if (!b.enabled) return src;
    uint32_t sa = src >> 24;
    uint32_t fs = Factor(b.src, sa), fd = Factor(b.dest, sa);
    return dd7px::Pack(BlendChannel(sa, fs, dst >> 24, fd),
                       BlendChannel((src >> 16) & 0xFF, fs, (dst >> 16) & 0xFF, fd),
                       BlendChannel((src >> 8) & 0xFF, fs, (dst >> 8) & 0xFF, fd),
                       BlendChannel(src & 0xFF, fs, dst & 0xFF, fd));
}

// Shades pixel x of a target row from texel (tx, ty) and the diffuse colour.
inline bool DrawPixel(const D7Setup& s, uint8_t* row, int32_t x, int32_t tx, int32_t ty,
                      uint32_t diffuse) {
    uint32_t texel;
    if (!Texel(s.texture, tx, ty, &texel)) return false;
    const DDFormat f = s.target.format;
    uint32_t colour = Shade(s.stage, texel, diffuse);
    if (s.blend.enabled) colour = Blend(s.blend, colour, dd7px::ToArgb(f, dd7px::Raw(f, row, x)));
    dd7px::StoreRaw(f, row, x, dd7px::FromArgb(f, colour));
    return true;
}

}  // namespace d3d7px
