// The general rasteriser: any pre-transformed triangle, edge functions in exact integers on the
// sub-pixel grid (so shared edges are owned by exactly one triangle), attributes interpolated
// in double precision at each pixel centre, and the strip that feeds it.
#include <algorithm>
#include <cmath>

#include "platform/ddraw7/d3d7.h"
#include "platform/ddraw7/d3d7_pixel.h"

namespace {

struct SetupVertex {
    int64_t x, y;       // snapped
    double u, v;        // texture coordinates
    double a, r, g, b;  // diffuse channels
};

bool Prepare(const D7Vertex& in, SetupVertex* out) {
    if (!d3d7px::Snap(in.x, &out->x) || !d3d7px::Snap(in.y, &out->y)) return false;
    out->u = in.u;
    out->v = in.v;
    out->a = double(in.diffuse >> 24);
    out->r = double((in.diffuse >> 16) & 0xFF);
    out->g = double((in.diffuse >> 8) & 0xFF);
    out->b = double(in.diffuse & 0xFF);
    return true;
}

// One edge a -> b of a triangle whose inside is where every edge function is >= 0. Pixels
// exactly on an edge belong to the triangle only on a top edge (horizontal, inside below) or a
// left edge (inside to the right): the top-left rule.
struct Edge {
    int64_t step_x;  // change per pixel to the right
    int64_t step_y;  // change per pixel down
    int64_t bias;    // 0 on top-left edges, -1 elsewhere: inside when value + bias >= 0
};

Edge MakeEdge(const SetupVertex& a, const SetupVertex& b) {
    int64_t dx = b.x - a.x;
    int64_t dy = b.y - a.y;
    bool top_left = (dy == 0 && dx > 0) || dy < 0;
    constexpr int64_t kOne = int64_t{1} << kD7SubpixelBits;
    return Edge{-dy * kOne, dx * kOne, top_left ? 0 : -1};
}

int64_t EdgeAt(int64_t px, int64_t py, const SetupVertex& a, const SetupVertex& b) {
    return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

uint32_t Channel(double v) {
    long n = std::lrint(v);
    return static_cast<uint32_t>(n < 0 ? 0 : (n > 255 ? 255 : n));
}

}  // namespace

void D7Raster_DrawTriangle(const D7Setup& setup, const D7Vertex& va, const D7Vertex& vb,
                           const D7Vertex& vc, D3D7TestCounters* counters) {
    SetupVertex p[3];
    if (!Prepare(va, &p[0]) || !Prepare(vb, &p[1]) || !Prepare(vc, &p[2])) return;
    int64_t area = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[1].y - p[0].y) * (p[2].x - p[0].x);
    if (area == 0) return;
    // Positive area is clockwise on the screen (y grows downwards).
    if ((setup.cull == D3DCULL_CCW && area < 0) || (setup.cull == D3DCULL_CW && area > 0)) return;
    if (area < 0) {
        std::swap(p[1], p[2]);
        area = -area;
    }
    const D7Image& target = setup.target;
    int64_t min_x = std::min({p[0].x, p[1].x, p[2].x});
    int64_t max_x = std::max({p[0].x, p[1].x, p[2].x});
    int64_t min_y = std::min({p[0].y, p[1].y, p[2].y});
    int64_t max_y = std::max({p[0].y, p[1].y, p[2].y});
    int64_t x0 = std::max<int64_t>(d3d7px::CeilPixel(min_x), setup.clip.left);
    int64_t x1 = std::min<int64_t>(max_x >> kD7SubpixelBits, setup.clip.right - 1);
    int64_t y0 = std::max<int64_t>(d3d7px::CeilPixel(min_y), setup.clip.top);
    int64_t y1 = std::min<int64_t>(max_y >> kD7SubpixelBits, setup.clip.bottom - 1);
    if (counters) ++counters->triangles;
    if (x0 > x1 || y0 > y1) return;

    // Edge k is opposite vertex k, so its value at a pixel is that vertex's barycentric weight
    // times the area.
    Edge e[3] = {MakeEdge(p[1], p[2]), MakeEdge(p[2], p[0]), MakeEdge(p[0], p[1])};
    const SetupVertex* from[3] = {&p[1], &p[2], &p[0]};
    const SetupVertex* to[3] = {&p[2], &p[0], &p[1]};
    constexpr int kShift = kD7SubpixelBits;
    int64_t row_value[3];
    for (int k = 0; k < 3; ++k) row_value[k] = EdgeAt(x0 << kShift, y0 << kShift, *from[k], *to[k]);

    const double area_d = static_cast<double>(area);
    const D7Texture& tex = setup.texture;
    const double tw = tex.width, th = tex.height;
    for (int64_t y = y0; y <= y1; ++y) {
        uint8_t* row = target.bits + y * target.pitch;
        int64_t w[3] = {row_value[0], row_value[1], row_value[2]};
        for (int64_t x = x0; x <= x1; ++x) {
            if (w[0] + e[0].bias >= 0 && w[1] + e[1].bias >= 0 && w[2] + e[2].bias >= 0) {
                // Weights of vertices 1 and 2 from exact integers divided once; vertex 0 is the
                // base, so an attribute equal at all three vertices comes out exactly.
                double b1 = static_cast<double>(w[1]) / area_d;
                double b2 = static_cast<double>(w[2]) / area_d;
                double u = p[0].u + b1 * (p[1].u - p[0].u) + b2 * (p[2].u - p[0].u);
                double v = p[0].v + b1 * (p[1].v - p[0].v) + b2 * (p[2].v - p[0].v);
                uint32_t diffuse =
                    dd7px::Pack(Channel(p[0].a + b1 * (p[1].a - p[0].a) + b2 * (p[2].a - p[0].a)),
                                Channel(p[0].r + b1 * (p[1].r - p[0].r) + b2 * (p[2].r - p[0].r)),
                                Channel(p[0].g + b1 * (p[1].g - p[0].g) + b2 * (p[2].g - p[0].g)),
                                Channel(p[0].b + b1 * (p[1].b - p[0].b) + b2 * (p[2].b - p[0].b)));
                int32_t tx = tex.bits ? d3d7px::TexelIndex(u * tw, tex.width) : 0;
                int32_t ty = tex.bits ? d3d7px::TexelIndex(v * th, tex.height) : 0;
                d3d7px::DrawPixel(setup, row, static_cast<int32_t>(x), tx, ty, diffuse);
            }
            for (int k = 0; k < 3; ++k) w[k] += e[k].step_x;
        }
        for (int k = 0; k < 3; ++k) row_value[k] += e[k].step_y;
    }
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
