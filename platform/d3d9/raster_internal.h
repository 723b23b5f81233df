// The texel fetch shared by the general rasteriser and the rectangle fast paths. Private to
// platform/d3d9.
#pragma once
#include <cstdint>

#include "platform/d3d9/raster.h"

namespace d3d9raster {

// The texel the texture argument reads.
inline uint32_t FetchTexel(const RasterTexture& tex, int32_t tx, int32_t ty) {
    if (!tex.bits) return 0xFF000000u;
    return d3d9px::Load(tex.format, tex.bits + static_cast<int64_t>(ty) * tex.pitch, tx);
}

}  // namespace d3d9raster
