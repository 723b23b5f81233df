// Pieces shared by the general rasteriser and the rectangle fast paths: vertex snapping and
// texel fetches. Private to platform/d3d9.
#pragma once
#include <cmath>
#include <cstdint>

#include "platform/d3d9/raster.h"

namespace d3d9raster {

// A position snapped to the sub-pixel grid. False when it is not finite or outside the guard
// band, so that every later product fits exactly in a double and an int64.
inline bool Snap(float value, int64_t* out) {
    double v = static_cast<double>(value);
    if (!(v > -kRasterGuardBand && v < kRasterGuardBand)) return false;
    *out = std::llrint(v * kRasterSubpixelScale);
    return true;
}

// First pixel centre at or after a snapped position, and last one strictly before it. Pixel
// centres sit at integer coordinates, i.e. at multiples of the sub-pixel scale.
inline int64_t CeilPixel(int64_t fixed) {
    return (fixed + (int64_t{1} << kRasterSubpixelBits) - 1) >> kRasterSubpixelBits;
}

// Point sampling: texel = clamp(floor(t), 0, size - 1) for t = coordinate x size. NaN reads 0.
inline int32_t TexelIndex(double t, int32_t size) {
    if (t >= static_cast<double>(size - 1)) return size - 1;
    if (t > 0.0) return static_cast<int32_t>(t);
    return 0;
}

// The texel the texture argument reads.
inline uint32_t FetchTexel(const RasterTexture& tex, int32_t tx, int32_t ty) {
    if (!tex.bits) return 0xFF000000u;
    return d3d9px::Load(tex.format, tex.bits + static_cast<int64_t>(ty) * tex.pitch, tx);
}

}  // namespace d3d9raster
