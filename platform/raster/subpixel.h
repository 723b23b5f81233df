// The sub-pixel grid vertex positions are snapped to, and point sampling's texel index. Pixel
// centres sit at integer coordinates, i.e. at multiples of the sub-pixel scale.
#pragma once
#include <cmath>
#include <cstdint>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace raster {

// Sub-pixel precision of vertex positions: 8 fractional bits.
constexpr int32_t kSubpixelBits = 8;
constexpr double kSubpixelScale = 256.0;
// Vertices farther than this from the origin (in pixels) make their primitive undrawable.
constexpr double kGuardBand = 65536.0;

// A position snapped to the sub-pixel grid. False when it is not finite or outside the guard
// band, so that every later product fits exactly in a double and an int64.
inline bool Snap(float value, int64_t* out) {
    double v = static_cast<double>(value);
    if (!(v > -kGuardBand && v < kGuardBand)) return false;
#if defined(__SSE2__)
    // llrint in the current rounding mode, without the library call: every draw snaps eight
    // coordinates.
    *out = _mm_cvtsd_si64(_mm_set_sd(v * kSubpixelScale));
#else
    *out = std::llrint(v * kSubpixelScale);
#endif
    return true;
}

// The pixels a draw may write: columns [left, right), rows [top, bottom).
struct PixelBox {
    int64_t left, top, right, bottom;
};

// First pixel centre at or after a snapped position. (The last one at or before it is the
// position shifted right by kSubpixelBits.)
inline int64_t CeilPixel(int64_t fixed) {
    return (fixed + (int64_t{1} << kSubpixelBits) - 1) >> kSubpixelBits;
}

// Point sampling: texel = clamp(floor(t), 0, size - 1) for t = coordinate x size. NaN reads 0.
inline int32_t TexelIndex(double t, int32_t size) {
    if (t >= static_cast<double>(size - 1)) return size - 1;
    if (t > 0.0) return static_cast<int32_t>(t);
    return 0;
}

}  // namespace raster
