// Pixel arithmetic of the software device: format conversions, the texture stage and the blend.
// Every path that writes a pixel (the general rasteriser, the rectangle fast paths, Clear) uses
// these inline functions, so the paths cannot drift apart.
#pragma once
#include <cstdint>

#include "platform/d3d9/d3d9_types.h"
#include "platform/raster/mul8.h"

namespace d3d9px {

// Every 8-bit product (texture-stage MODULATE and both blend factors) rounds by the shared rule.
using raster::Mul8;

// Colours inside the pipeline are 8-bit ARGB packed as 0xAARRGGBB.
inline uint32_t Alpha(uint32_t c) {
    return c >> 24;
}
inline uint32_t Red(uint32_t c) {
    return (c >> 16) & 0xFF;
}
inline uint32_t Green(uint32_t c) {
    return (c >> 8) & 0xFF;
}
inline uint32_t Blue(uint32_t c) {
    return c & 0xFF;
}
inline uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
    return (a << 24) | (r << 16) | (g << 8) | b;
}

// 5- and 6-bit fields widen by repeating their top bits, so 0 and the maximum map to 0 and 255.
inline uint32_t Widen5(uint32_t v) {
    return (v << 3) | (v >> 2);
}
inline uint32_t Widen6(uint32_t v) {
    return (v << 2) | (v >> 4);
}

inline uint32_t FromA1R5G5B5(uint32_t p) {
    return Pack((p & 0x8000) ? 0xFF : 0, Widen5((p >> 10) & 31), Widen5((p >> 5) & 31),
                Widen5(p & 31));
}
inline uint32_t FromX1R5G5B5(uint32_t p) {
    return FromA1R5G5B5(p | 0x8000);
}
inline uint32_t FromR5G6B5(uint32_t p) {
    return Pack(0xFF, Widen5((p >> 11) & 31), Widen6((p >> 5) & 63), Widen5(p & 31));
}

// Narrowing keeps the top bits of each channel. The X formats store their unused bits set.
inline uint32_t ToX8R8G8B8(uint32_t c) {
    return c | 0xFF000000u;
}
inline uint32_t ToR5G6B5(uint32_t c) {
    return ((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x001F);
}
inline uint32_t ToX1R5G5B5(uint32_t c) {
    return 0x8000 | ((c >> 9) & 0x7C00) | ((c >> 6) & 0x03E0) | ((c >> 3) & 0x001F);
}
inline uint32_t ToA1R5G5B5(uint32_t c) {
    return ((c >> 31) << 15) | ((c >> 9) & 0x7C00) | ((c >> 6) & 0x03E0) | ((c >> 3) & 0x001F);
}

inline int32_t BytesPerPixel(D3DFORMAT f) {
    switch (f) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8:
            return 4;
        case D3DFMT_R5G6B5:
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
            return 2;
        default:
            return 0;
    }
}

// Reads pixel x of a row in format f as ARGB.
inline uint32_t Load(D3DFORMAT f, const uint8_t* row, int32_t x) {
    if (f == D3DFMT_A8R8G8B8) return reinterpret_cast<const uint32_t*>(row)[x];
    if (f == D3DFMT_X8R8G8B8) return reinterpret_cast<const uint32_t*>(row)[x] | 0xFF000000u;
    uint32_t p = reinterpret_cast<const uint16_t*>(row)[x];
    if (f == D3DFMT_A1R5G5B5) return FromA1R5G5B5(p);
    if (f == D3DFMT_X1R5G5B5) return FromX1R5G5B5(p);
    return FromR5G6B5(p);
}

inline void Store(D3DFORMAT f, uint8_t* row, int32_t x, uint32_t c) {
    switch (f) {
        case D3DFMT_A8R8G8B8:
            reinterpret_cast<uint32_t*>(row)[x] = c;
            break;
        case D3DFMT_X8R8G8B8:
            reinterpret_cast<uint32_t*>(row)[x] = ToX8R8G8B8(c);
            break;
        case D3DFMT_R5G6B5:
            reinterpret_cast<uint16_t*>(row)[x] = uint16_t(ToR5G6B5(c));
            break;
        case D3DFMT_X1R5G5B5:
            reinterpret_cast<uint16_t*>(row)[x] = uint16_t(ToX1R5G5B5(c));
            break;
        case D3DFMT_A1R5G5B5:
            reinterpret_cast<uint16_t*>(row)[x] = uint16_t(ToA1R5G5B5(c));
            break;
        default:
            break;
    }
}

// Texture stage 0, resolved from the device's stage states for one draw.
enum class StageOp : uint8_t { kArg1, kArg2, kModulate };
enum class StageArg : uint8_t { kTexture, kDiffuse };
struct Stage {
    StageOp color_op;
    StageArg color_arg1, color_arg2;
    StageOp alpha_op;
    StageArg alpha_arg1, alpha_arg2;
};

inline uint32_t Pick(StageArg a, uint32_t texel, uint32_t diffuse) {
    return a == StageArg::kTexture ? texel : diffuse;
}

// The stage's output colour (ARGB) for one texel and the pixel's diffuse colour.
inline uint32_t Shade(const Stage& s, uint32_t texel, uint32_t diffuse) {
    uint32_t c1 = Pick(s.color_arg1, texel, diffuse);
    uint32_t c2 = Pick(s.color_arg2, texel, diffuse);
    uint32_t rgb;
    if (s.color_op == StageOp::kArg1) {
        rgb = c1 & 0xFFFFFF;
    } else if (s.color_op == StageOp::kArg2) {
        rgb = c2 & 0xFFFFFF;
    } else {
        rgb = Pack(0, Mul8(Red(c1), Red(c2)), Mul8(Green(c1), Green(c2)), Mul8(Blue(c1), Blue(c2)));
    }
    uint32_t a1 = Alpha(Pick(s.alpha_arg1, texel, diffuse));
    uint32_t a2 = Alpha(Pick(s.alpha_arg2, texel, diffuse));
    uint32_t a = s.alpha_op == StageOp::kArg1   ? a1
                 : s.alpha_op == StageOp::kArg2 ? a2
                                                : Mul8(a1, a2);
    return (a << 24) | rgb;
}

// Blend factors this device knows.
enum class Factor : uint8_t { kZero, kOne, kSrcAlpha, kInvSrcAlpha };
struct Blend {
    bool enabled;
    Factor src, dest;
};

inline uint32_t FactorValue(Factor f, uint32_t src_alpha) {
    switch (f) {
        case Factor::kZero:
            return 0;
        case Factor::kOne:
            return 255;
        case Factor::kSrcAlpha:
            return src_alpha;
        default:
            return 255 - src_alpha;
    }
}

inline uint32_t BlendChannel(uint32_t s, uint32_t fs, uint32_t d, uint32_t fd) {
    uint32_t v = Mul8(s, fs) + Mul8(d, fd);
    return v > 255 ? 255 : v;
}

// The colour written for source colour `src` over the target's colour `dst`.
inline uint32_t BlendPixel(const Blend& b, uint32_t src, uint32_t dst) {
    if (!b.enabled) return src;
    uint32_t sa = Alpha(src);
    uint32_t fs = FactorValue(b.src, sa);
    uint32_t fd = FactorValue(b.dest, sa);
    return Pack(
        BlendChannel(Alpha(src), fs, Alpha(dst), fd), BlendChannel(Red(src), fs, Red(dst), fd),
        BlendChannel(Green(src), fs, Green(dst), fd), BlendChannel(Blue(src), fs, Blue(dst), fd));
}

}  // namespace d3d9px
