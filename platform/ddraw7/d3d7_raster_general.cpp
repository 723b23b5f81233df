// The general rasteriser: any pre-transformed triangle through the shared edge walk (exact
// integer edges on the sub-pixel grid, attributes interpolated in double precision at each
// pixel centre), each covered pixel through this device's pipeline; and the strip that feeds
// it.
#include "platform/ddraw7/d3d7.h"
#include "platform/ddraw7/d3d7_pixel.h"
#include "platform/raster/subpixel.h"
#include "platform/raster/triangle.h"

void D7Raster_DrawTriangle(const D7Setup& setup, const D7Vertex& va, const D7Vertex& vb,
                           const D7Vertex& vc, D3D7TestCounters* counters) {
    const raster::Cull cull = setup.cull == D3DCULL_CCW  ? raster::Cull::kCounterClockwise
                              : setup.cull == D3DCULL_CW ? raster::Cull::kClockwise
                                                         : raster::Cull::kNone;
    const raster::PixelBox box{setup.clip.left, setup.clip.top, setup.clip.right,
                               setup.clip.bottom};
    raster::Triangle tri;
    const raster::TriangleSetup found = raster::SetupTriangle(va, vb, vc, cull, box, &tri);
    if (found == raster::TriangleSetup::kDropped) return;
    if (counters) ++counters->triangles;
    if (found == raster::TriangleSetup::kOffTarget) return;

    const D7Texture& tex = setup.texture;
    const double tw = tex.width, th = tex.height;
    raster::WalkTriangle(tri, setup.target.bits, setup.target.pitch,
                         [&](uint8_t* row, int32_t x, double u, double v, uint32_t diffuse) {
                             int32_t tx = tex.bits ? raster::TexelIndex(u * tw, tex.width) : 0;
                             int32_t ty = tex.bits ? raster::TexelIndex(v * th, tex.height) : 0;
                             d3d7px::DrawPixel(setup, row, x, tx, ty, diffuse);
                         });
}

void D7Raster_DrawStrip(const D7Setup& setup, const D7Vertex* v, int32_t count,
                        D3D7TestCounters* counters) {
    if (!v || count < 3 || !setup.target.bits) return;
    if (setup.clip.left >= setup.clip.right || setup.clip.top >= setup.clip.bottom) return;
    if (count == 4 && setup.allow_fast_paths && D7Raster_DrawRectangle(setup, v, counters)) return;
    // Every second triangle of a strip has its winding reversed.
    for (int32_t i = 0; i + 2 < count; ++i) {
        if (i & 1)
            D7Raster_DrawTriangle(setup, v[i + 1], v[i], v[i + 2], counters);
        else
            D7Raster_DrawTriangle(setup, v[i], v[i + 1], v[i + 2], counters);
    }
}
