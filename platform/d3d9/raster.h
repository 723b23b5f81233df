// The software rasteriser behind DrawPrimitiveUP: pre-transformed triangles, pixel centres at
// integer coordinates, the top-left fill rule, point sampling, texture stage 0 and the blend.
// Axis-aligned one-to-one rectangles take fast paths that produce exactly the general pixels.
#pragma once
#include <cstdint>

#include "platform/d3d9/d3d9_types.h"
#include "platform/d3d9/pixel_math.h"
#include "platform/raster/rectangle.h"

// Pixel memory a draw writes to or samples from.
struct RasterImage {
    uint8_t* bits;
    int32_t pitch;
    int32_t width;
    int32_t height;
    D3DFORMAT format;
};

// A texture as a draw samples it. bits null: no texture is set, and the texture argument reads
// opaque black.
struct RasterTexture {
    const uint8_t* bits;
    int32_t pitch;
    int32_t width;
    int32_t height;
    D3DFORMAT format;
    bool alpha_binary;          // every texel's alpha is 0 or 255
    bool alpha_opaque = false;  // every texel's alpha is 255 (the maximum)
};

// Everything a draw needs from the device's states.
struct RasterSetup {
    RasterImage target;
    RasterTexture texture;
    d3d9px::Stage stage;
    d3d9px::Blend blend;
    DWORD cull;             // D3DCULL_*
    bool allow_fast_paths;  // false renders everything through the general rasteriser
};

// Laid out as the pre-transformed vertex with a colour (XYZRHW | DIFFUSE | TEX1), so that such
// vertices are taken over as they are; z and rhw play no part.
struct RasterVertex {
    float x, y, z, rhw;
    D3DCOLOR diffuse;
    float u, v;
};
static_assert(sizeof(RasterVertex) == 28);

// What the rasteriser did, for tests and benchmarks.
struct RasterCounters {
    uint64_t triangles;        // triangles through the general rasteriser
    uint64_t fast_rectangles;  // rectangles drawn by a fast path
    uint64_t pixels;           // pixels written or blended
    uint64_t hidden_pixels;    // pixels of held-back rectangles that a later opaque one covered
};

// Draws a triangle strip of `count` vertices (count - 2 triangles).
void Raster_DrawStrip(const RasterSetup& setup, const RasterVertex* vertices, int32_t count,
                      RasterCounters* counters);

// The general rasteriser for one triangle, in strip order (odd triangles have their winding
// reversed by the caller).
void Raster_DrawTriangle(const RasterSetup& setup, const RasterVertex& a, const RasterVertex& b,
                         const RasterVertex& c, RasterCounters* counters);

// The fast path for a four-vertex strip: returns false, having drawn nothing, when the strip is
// not an axis-aligned rectangle that maps texels one to one within the texture.
bool Raster_DrawRectangle(const RasterSetup& setup, const RasterVertex* v,
                          RasterCounters* counters);

// The row loop a rectangle is drawn with.
enum class RasterLoop : uint8_t { kGeneric, kCopy32, kKeyed32, kAlpha32 };

// A rectangle draw made ready for its row loops (platform/raster/rectangle.h). kAlpha32's source
// alpha is Mul8(texel alpha, alpha); the key plays no part here.
using RasterRect = raster::PreparedRect<RasterLoop>;

// The first half of the fast path: false, having counted and drawn nothing, when the strip is
// not an axis-aligned rectangle mapping texels one to one within the texture; else the
// rectangle ready for Raster_FillRectangle (counted as a fast rectangle).
bool Raster_PrepareRectangle(const RasterSetup& setup, const RasterVertex* v, RasterRect* out,
                             RasterCounters* counters);
// Draws the part [x0, x1) x [y0, y1) of a prepared rectangle (which must lie inside it) on
// `target`. Only the generic loop reads the states: `setup` is the one the rectangle was
// prepared with, and may be null for the other loops.
void Raster_FillRectangle(const RasterImage& target, const RasterSetup* setup, const RasterRect& r,
                          int32_t x0, int32_t x1, int32_t y0, int32_t y1);
