// Pixel formats of the DirectDraw 7 stand-in: their published descriptions, raw pixel access,
// and the arithmetic of the Direct3D 7 pipeline on 8-bit channels. Every path that reads or
// writes a pixel (blits, the general rasteriser, the rectangle fast paths) uses these inline
// functions, so the paths cannot drift apart. Private to platform/ddraw7.
#pragma once
#include <cstdint>
#include <cstring>

#include "platform/ddraw7/ddraw.h"
#include "platform/host/video.h"
#include "platform/raster/mul8.h"

namespace dd7px {

inline int32_t BytesPerPixel(DDFormat f) {
    switch (f) {
        case DDFormat::kX8R8G8B8:
        case DDFormat::kA8R8G8B8:
            return 4;
        case DDFormat::kR5G6B5:
        case DDFormat::kX1R5G5B5:
        case DDFormat::kA1R5G5B5:
            return 2;
        default:
            return 0;
    }
}

// The bits of a pixel that carry colour or alpha; colour keys compare these only.
inline uint32_t UsedBits(DDFormat f) {
    switch (f) {
        case DDFormat::kX8R8G8B8:
            return 0x00FFFFFFu;
        case DDFormat::kA8R8G8B8:
            return 0xFFFFFFFFu;
        case DDFormat::kX1R5G5B5:
            return 0x7FFFu;
        default:
            return 0xFFFFu;
    }
}

// The published description of a format.
inline DDPIXELFORMAT Describe(DDFormat f) {
    DDPIXELFORMAT p{};
    p.dwSize = sizeof(DDPIXELFORMAT);
    p.dwFlags = DDPF_RGB;
    switch (f) {
        case DDFormat::kA8R8G8B8:
            p.dwFlags |= DDPF_ALPHAPIXELS;
            p.dwRGBAlphaBitMask = 0xFF000000u;
            [[fallthrough]];
        case DDFormat::kX8R8G8B8:
            p.dwRGBBitCount = 32;
            p.dwRBitMask = 0x00FF0000u;
            p.dwGBitMask = 0x0000FF00u;
            p.dwBBitMask = 0x000000FFu;
            break;
        case DDFormat::kR5G6B5:
            p.dwRGBBitCount = 16;
            p.dwRBitMask = 0xF800;
            p.dwGBitMask = 0x07E0;
            p.dwBBitMask = 0x001F;
            break;
        case DDFormat::kA1R5G5B5:
            p.dwFlags |= DDPF_ALPHAPIXELS;
            p.dwRGBAlphaBitMask = 0x8000;
            [[fallthrough]];
        case DDFormat::kX1R5G5B5:
            p.dwRGBBitCount = 16;
            p.dwRBitMask = 0x7C00;
            p.dwGBitMask = 0x03E0;
            p.dwBBitMask = 0x001F;
            break;
        default:
            p.dwFlags = 0;
            break;
    }
    return p;
}

// The format a description names, or kUnknown.
inline DDFormat FromDescription(const DDPIXELFORMAT& p) {
    if (!(p.dwFlags & DDPF_RGB)) return DDFormat::kUnknown;
    const bool alpha = (p.dwFlags & DDPF_ALPHAPIXELS) != 0;
    for (DDFormat f : {DDFormat::kX8R8G8B8, DDFormat::kA8R8G8B8, DDFormat::kR5G6B5,
                       DDFormat::kX1R5G5B5, DDFormat::kA1R5G5B5}) {
        DDPIXELFORMAT d = Describe(f);
        if (d.dwRGBBitCount == p.dwRGBBitCount && d.dwRBitMask == p.dwRBitMask &&
            d.dwGBitMask == p.dwGBitMask && d.dwBBitMask == p.dwBBitMask &&
            ((d.dwFlags & DDPF_ALPHAPIXELS) != 0) == alpha &&
            (!alpha || d.dwRGBAlphaBitMask == p.dwRGBAlphaBitMask)) {
            return f;
        }
    }
    return DDFormat::kUnknown;
}

inline GdiPixelFormat GdiFormat(DDFormat f) {
    switch (f) {
        case DDFormat::kA8R8G8B8:
            return GdiPixelFormat::kA8R8G8B8;
        case DDFormat::kR5G6B5:
            return GdiPixelFormat::kR5G6B5;
        case DDFormat::kX1R5G5B5:
            return GdiPixelFormat::kX1R5G5B5;
        case DDFormat::kA1R5G5B5:
            return GdiPixelFormat::kA1R5G5B5;
        default:
            return GdiPixelFormat::kX8R8G8B8;
    }
}

inline HostPixelFormat HostFormat(DDFormat f) {
    switch (f) {
        case DDFormat::kR5G6B5:
            return HostPixelFormat::kR5G6B5;
        case DDFormat::kX1R5G5B5:
        case DDFormat::kA1R5G5B5:
            return HostPixelFormat::kX1R5G5B5;
        default:
            return HostPixelFormat::kX8R8G8B8;
    }
}

// Blits copy raw pixels, so the two formats must store pixels alike: the same size, and the
// same colour fields (alpha or unused bits may differ; they move unchanged).
inline bool BlitCompatible(DDFormat a, DDFormat b) {
    auto family = [](DDFormat f) {
        return f == DDFormat::kA8R8G8B8   ? DDFormat::kX8R8G8B8
               : f == DDFormat::kA1R5G5B5 ? DDFormat::kX1R5G5B5
                                          : f;
    };
    return family(a) == family(b) && BytesPerPixel(a) != 0;
}

// The raw value of pixel x of a row.
inline uint32_t Raw(DDFormat f, const uint8_t* row, int32_t x) {
    if (BytesPerPixel(f) == 4) {
        uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        return v;
    }
    uint16_t v;
    std::memcpy(&v, row + 2 * x, 2);
    return v;
}

inline void StoreRaw(DDFormat f, uint8_t* row, int32_t x, uint32_t v) {
    if (BytesPerPixel(f) == 4) {
        std::memcpy(row + 4 * x, &v, 4);
    } else {
        uint16_t s = static_cast<uint16_t>(v);
        std::memcpy(row + 2 * x, &s, 2);
    }
}

// Every 8-bit product (texture-stage MODULATE and both blend factors) rounds by the shared rule.
using raster::Mul8;

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

// A raw pixel as 8-bit ARGB (0xAARRGGBB); formats without alpha read opaque.
inline uint32_t ToArgb(DDFormat f, uint32_t p) {
    switch (f) {
        case DDFormat::kA8R8G8B8:
            return p;
        case DDFormat::kX8R8G8B8:
            return p | 0xFF000000u;
        case DDFormat::kR5G6B5:
            return Pack(0xFF, Widen5((p >> 11) & 31), Widen6((p >> 5) & 63), Widen5(p & 31));
        case DDFormat::kA1R5G5B5:
            return Pack((p & 0x8000) ? 0xFF : 0, Widen5((p >> 10) & 31), Widen5((p >> 5) & 31),
                        Widen5(p & 31));
        default:
            return Pack(0xFF, Widen5((p >> 10) & 31), Widen5((p >> 5) & 31), Widen5(p & 31));
    }
}

// 8-bit ARGB as a raw pixel: narrowing keeps the top bits of each channel; unused bits are 0,
// as GDI and the sprite conversion leave them.
inline uint32_t FromArgb(DDFormat f, uint32_t c) {
    switch (f) {
        case DDFormat::kA8R8G8B8:
            return c;
        case DDFormat::kX8R8G8B8:
            return c & 0x00FFFFFFu;
        case DDFormat::kR5G6B5:
            return ((c >> 8) & 0xF800) | ((c >> 5) & 0x07E0) | ((c >> 3) & 0x001F);
        case DDFormat::kA1R5G5B5:
            return ((c >> 31) << 15) | ((c >> 9) & 0x7C00) | ((c >> 6) & 0x03E0) |
                   ((c >> 3) & 0x001F);
        default:
            return ((c >> 9) & 0x7C00) | ((c >> 6) & 0x03E0) | ((c >> 3) & 0x001F);
    }
}

}  // namespace dd7px
