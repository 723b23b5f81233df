// The software rasteriser behind the Direct3D 7 device's DrawPrimitive: pre-transformed
// triangles, pixel centres at integer coordinates, the top-left fill rule, point sampling,
// texture stage 0, the texture's source colour key and the blend. Axis-aligned one-to-one
// rectangles take fast paths that produce exactly the general pixels. Private to
// platform/ddraw7.
#pragma once
#include <cstdint>

#include "platform/ddraw7/ddraw.h"
#include "platform/ddraw7/test_hooks.h"
#include "platform/raster/rectangle.h"

// Pixel memory a draw writes to, and the rectangle it may write.
struct D7Image {
    uint8_t* bits;
    int32_t pitch;
    int32_t width;
    int32_t height;
    DDFormat format;
};

// A texture as a draw samples it. bits null: no texture is set, and the texture argument reads
// opaque black. With `keyed`, texels whose used bits equal `key` are not drawn at all; `coverage`
// tells the fast paths whether any or every texel is such a texel.
struct D7Texture {
    const uint8_t* bits;
    int32_t pitch;
    int32_t width;
    int32_t height;
    DDFormat format;
    bool keyed;
    uint32_t key;
    DDKeyCoverage coverage;
};

enum class D7Op : uint8_t { kArg1, kArg2, kModulate };
enum class D7Arg : uint8_t { kTexture, kDiffuse };
struct D7Stage {
    D7Op color_op;
    D7Arg color_arg1, color_arg2;
    D7Op alpha_op;
    D7Arg alpha_arg1, alpha_arg2;
};

enum class D7Factor : uint8_t { kZero, kOne, kSrcAlpha, kInvSrcAlpha };
struct D7Blend {
    bool enabled;
    D7Factor src, dest;
};

// Everything a draw needs from the device's states.
struct D7Setup {
    D7Image target;
    RECT clip;  // the viewport inside the target
    D7Texture texture;
    D7Stage stage;
    D7Blend blend;
    DWORD cull;             // D3DCULL_*
    bool allow_fast_paths;  // false renders everything through the general rasteriser
};

// Laid out as the published transformed-and-lit vertex (D3DFVF_TLVERTEX), so that such
// vertices are taken over as they are; z, rhw and the specular colour play no part.
struct D7Vertex {
    float x, y, z, rhw;
    uint32_t diffuse;  // ARGB
    uint32_t specular;
    float u, v;
};
static_assert(sizeof(D7Vertex) == 32);

// Draws a triangle strip of `count` vertices (count - 2 triangles).
void D7Raster_DrawStrip(const D7Setup& setup, const D7Vertex* vertices, int32_t count,
                        D3D7TestCounters* counters);
// The general rasteriser for one triangle.
void D7Raster_DrawTriangle(const D7Setup& setup, const D7Vertex& a, const D7Vertex& b,
                           const D7Vertex& c, D3D7TestCounters* counters);
// The fast path for a four-vertex strip: false, having drawn nothing, when the strip is not an
// axis-aligned rectangle that maps texels one to one within the texture.
bool D7Raster_DrawRectangle(const D7Setup& setup, const D7Vertex* v, D3D7TestCounters* counters);

// The row loop a rectangle is drawn with. The 32-bit loops serve textures without alpha, where
// the source alpha is one value for the whole rectangle and the colour is the texel's; a keyed
// loop leaves the pixels under key texels.
enum class D7Loop : uint8_t { kGeneric, kCopy32, kCopyKeyed32, kAlpha32, kAlphaKeyed32 };

// A rectangle draw made ready for its row loops (platform/raster/rectangle.h): the 32-bit loops'
// source alpha, and the keyed loops' key.
using D7Rect = raster::PreparedRect<D7Loop>;

// The first half of the fast path: false, having counted and drawn nothing, when the strip is
// not such a rectangle; else the rectangle ready for D7Raster_FillRectangle (counted as a fast
// rectangle), empty when it draws nothing (off the viewport, or every texel keyed out).
bool D7Raster_PrepareRectangle(const D7Setup& setup, const D7Vertex* v, D7Rect* out,
                               D3D7TestCounters* counters);
// Draws the part [x0, x1) x [y0, y1) of a prepared rectangle (which must lie inside it) on
// `target`. Only the generic loop reads the states: `setup` is the one the rectangle was
// prepared with, and may be null for the other loops.
void D7Raster_FillRectangle(const D7Image& target, const D7Setup* setup, const D7Rect& r,
                            int32_t x0, int32_t x1, int32_t y0, int32_t y1);
