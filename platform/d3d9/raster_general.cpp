// The general rasteriser: any pre-transformed triangle through the shared edge walk (exact
// integer edges on the sub-pixel grid, attributes interpolated in double precision at each
// pixel centre), each covered pixel through this device's stage and blend.
#include "platform/d3d9/raster.h"
#include "platform/d3d9/raster_internal.h"
#include "platform/raster/triangle.h"

void Raster_DrawTriangle(const RasterSetup& setup, const RasterVertex& va, const RasterVertex& vb,
                         const RasterVertex& vc, RasterCounters* counters) {
    const raster::Cull cull = setup.cull == D3DCULL_CCW  ? raster::Cull::kCounterClockwise
                              : setup.cull == D3DCULL_CW ? raster::Cull::kClockwise
                                                         : raster::Cull::kNone;
    const RasterImage& target = setup.target;
    const raster::PixelBox box{0, 0, target.width, target.height};
    raster::Triangle tri;
    const raster::TriangleSetup found = raster::SetupTriangle(va, vb, vc, cull, box, &tri);
    if (found == raster::TriangleSetup::kDropped) return;
    if (counters) ++counters->triangles;
    if (found == raster::TriangleSetup::kOffTarget) return;

    const RasterTexture& tex = setup.texture;
    const double tw = tex.width, th = tex.height;
    uint64_t written = raster::WalkTriangle(
        tri, target.bits, target.pitch,
        [&](uint8_t* row, int32_t x, double u, double v, uint32_t diffuse) {
            int32_t tx = raster::TexelIndex(u * tw, tex.width);
            int32_t ty = raster::TexelIndex(v * th, tex.height);
            uint32_t texel = d3d9raster::FetchTexel(tex, tx, ty);
            uint32_t src = d3d9px::Shade(setup.stage, texel, diffuse);
            uint32_t dst = setup.blend.enabled ? d3d9px::Load(target.format, row, x) : 0;
            d3d9px::Store(target.format, row, x, d3d9px::BlendPixel(setup.blend, src, dst));
        });
    if (counters) counters->pixels += written;
}
