// The general triangle rasteriser without its pixel pipeline: edge functions in exact integers
// on the sub-pixel grid with the top-left rule (so shared edges are owned by exactly one
// triangle), and a walk over the covered pixel centres that interpolates the texture
// coordinates and the diffuse colour in double precision. The stand-in's pixel code is a
// callback the walk is instantiated with, so it is inlined into the loop.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

#include "platform/raster/subpixel.h"

namespace raster {

// Which winding a draw removes. Positive area is clockwise on the screen (y grows downwards).
enum class Cull : uint8_t { kNone, kClockwise, kCounterClockwise };

struct SetupVertex {
    int64_t x, y;       // snapped
    double u, v;        // texture coordinates
    double a, r, g, b;  // diffuse channels
};

// One edge a -> b of a triangle whose inside is where every edge function is >= 0. Pixels
// exactly on an edge belong to the triangle only on a top edge (horizontal, inside below) or a
// left edge (inside to the right): the top-left rule.
struct Edge {
    int64_t step_x;  // change per pixel to the right
    int64_t step_y;  // change per pixel down
    int64_t bias;    // 0 on top-left edges, -1 elsewhere: inside when value + bias >= 0
};

inline Edge MakeEdge(const SetupVertex& a, const SetupVertex& b) {
    int64_t dx = b.x - a.x;
    int64_t dy = b.y - a.y;
    bool top_left = (dy == 0 && dx > 0) || dy < 0;
    constexpr int64_t kOne = int64_t{1} << kSubpixelBits;
    return Edge{-dy * kOne, dx * kOne, top_left ? 0 : -1};
}

// The edge function of a -> b at a snapped point.
inline int64_t EdgeAt(int64_t px, int64_t py, const SetupVertex& a, const SetupVertex& b) {
    return (b.x - a.x) * (py - a.y) - (b.y - a.y) * (px - a.x);
}

// A triangle ready to walk: clockwise, and its pixel bounds clipped.
struct Triangle {
    SetupVertex p[3];
    Edge e[3];               // edge k is opposite vertex k
    int64_t origin[3];       // the edge values at pixel (x0, y0)
    int64_t x0, x1, y0, y1;  // inclusive pixel bounds
    double area;
};

// What SetupTriangle found. kDropped: a vertex off the grid, no area, or culled (the draw does
// not count it); kOffTarget: counted, but no pixel centre of the box can be inside.
enum class TriangleSetup : uint8_t { kDropped, kOffTarget, kWalk };

// A stand-in vertex: anything with x, y, u, v and an ARGB `diffuse`.
template <class V>
bool PrepareVertex(const V& in, SetupVertex* out) {
    if (!Snap(in.x, &out->x) || !Snap(in.y, &out->y)) return false;
    out->u = in.u;
    out->v = in.v;
    out->a = double(in.diffuse >> 24);
    out->r = double((in.diffuse >> 16) & 0xFF);
    out->g = double((in.diffuse >> 8) & 0xFF);
    out->b = double(in.diffuse & 0xFF);
    return true;
}

template <class V>
TriangleSetup SetupTriangle(const V& va, const V& vb, const V& vc, Cull cull, const PixelBox& box,
                            Triangle* t) {
    SetupVertex* p = t->p;
    if (!PrepareVertex(va, &p[0]) || !PrepareVertex(vb, &p[1]) || !PrepareVertex(vc, &p[2])) {
        return TriangleSetup::kDropped;
    }
    int64_t area = (p[1].x - p[0].x) * (p[2].y - p[0].y) - (p[1].y - p[0].y) * (p[2].x - p[0].x);
    if (area == 0) return TriangleSetup::kDropped;
    if ((cull == Cull::kCounterClockwise && area < 0) || (cull == Cull::kClockwise && area > 0)) {
        return TriangleSetup::kDropped;
    }
    if (area < 0) {
        std::swap(p[1], p[2]);
        area = -area;
    }
    int64_t min_x = std::min({p[0].x, p[1].x, p[2].x});
    int64_t max_x = std::max({p[0].x, p[1].x, p[2].x});
    int64_t min_y = std::min({p[0].y, p[1].y, p[2].y});
    int64_t max_y = std::max({p[0].y, p[1].y, p[2].y});
    t->x0 = std::max<int64_t>(CeilPixel(min_x), box.left);
    t->x1 = std::min<int64_t>(max_x >> kSubpixelBits, box.right - 1);
    t->y0 = std::max<int64_t>(CeilPixel(min_y), box.top);
    t->y1 = std::min<int64_t>(max_y >> kSubpixelBits, box.bottom - 1);
    if (t->x0 > t->x1 || t->y0 > t->y1) return TriangleSetup::kOffTarget;

    // Edge k is opposite vertex k, so its value at a pixel is that vertex's barycentric weight
    // times the area.
    t->e[0] = MakeEdge(p[1], p[2]);
    t->e[1] = MakeEdge(p[2], p[0]);
    t->e[2] = MakeEdge(p[0], p[1]);
    const int64_t ox = t->x0 << kSubpixelBits, oy = t->y0 << kSubpixelBits;
    t->origin[0] = EdgeAt(ox, oy, p[1], p[2]);
    t->origin[1] = EdgeAt(ox, oy, p[2], p[0]);
    t->origin[2] = EdgeAt(ox, oy, p[0], p[1]);
    t->area = static_cast<double>(area);
    return TriangleSetup::kWalk;
}

inline uint32_t Channel(double v) {
    long n = std::lrint(v);
    return static_cast<uint32_t>(n < 0 ? 0 : (n > 255 ? 255 : n));
}

// Calls pixel(row, x, u, v, diffuse) for every pixel centre inside the triangle, row by row,
// `row` being the target row (bits + y * pitch) and diffuse ARGB. Returns how many it called.
template <class PixelFn>
inline uint64_t WalkTriangle(const Triangle& t, uint8_t* bits, int64_t pitch, PixelFn&& pixel) {
    const SetupVertex* p = t.p;
    const Edge* e = t.e;
    int64_t row_value[3] = {t.origin[0], t.origin[1], t.origin[2]};
    uint64_t covered = 0;
    for (int64_t y = t.y0; y <= t.y1; ++y) {
        uint8_t* row = bits + y * pitch;
        int64_t w[3] = {row_value[0], row_value[1], row_value[2]};
        for (int64_t x = t.x0; x <= t.x1; ++x) {
            if (w[0] + e[0].bias >= 0 && w[1] + e[1].bias >= 0 && w[2] + e[2].bias >= 0) {
                // Weights of vertices 1 and 2 from exact integers divided once (so correctly
                // rounded); vertex 0 is the base, so an attribute equal at all three vertices
                // comes out exactly.
                double b1 = static_cast<double>(w[1]) / t.area;
                double b2 = static_cast<double>(w[2]) / t.area;
                double u = p[0].u + b1 * (p[1].u - p[0].u) + b2 * (p[2].u - p[0].u);
                double v = p[0].v + b1 * (p[1].v - p[0].v) + b2 * (p[2].v - p[0].v);
                uint32_t a = Channel(p[0].a + b1 * (p[1].a - p[0].a) + b2 * (p[2].a - p[0].a));
                uint32_t r = Channel(p[0].r + b1 * (p[1].r - p[0].r) + b2 * (p[2].r - p[0].r));
                uint32_t g = Channel(p[0].g + b1 * (p[1].g - p[0].g) + b2 * (p[2].g - p[0].g));
                uint32_t b = Channel(p[0].b + b1 * (p[1].b - p[0].b) + b2 * (p[2].b - p[0].b));
                pixel(row, static_cast<int32_t>(x), u, v, (a << 24) | (r << 16) | (g << 8) | b);
                ++covered;
            }
            for (int k = 0; k < 3; ++k) w[k] += e[k].step_x;
        }
        for (int k = 0; k < 3; ++k) row_value[k] += e[k].step_y;
    }
    return covered;
}

}  // namespace raster
