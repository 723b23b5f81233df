// Blits and Direct3D 7 rectangles held back on one target surface of a DirectDraw object until
// something needs its pixels, then drawn in row bands with every part that a later opaque draw
// covers left out (platform/raster/held_draws.h). Whatever reads or changes the pixels of any
// surface of the object first has them drawn: locks, device contexts, other blits, flips, colour
// keys, loss and restore, release. Private to platform/ddraw7.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/ddraw7/d3d7_raster.h"
#include "platform/raster/held_draws.h"

struct DDraw7State;

enum class DDHeldKind : uint8_t { kQuad, kBlit, kKeyedBlit };

// A held-back draw: a prepared Direct3D 7 rectangle, or a blit described the same way (the
// source's pixels as its texels, one per pixel from (tx0, ty0), and the key of a keyed blit).
struct DDHeldDraw {
    D7Rect rect;
    DDHeldKind kind;
    uint32_t setup;  // a quad of the generic loop: which of the held states it was made with
};

struct DDHeldQueue {
    // Draws held back at most; the next one completes them first (bounds memory and latency).
    static constexpr size_t kLimit = 4096;

    raster::HeldDraws<DDHeldDraw> draws;
    std::vector<D7Setup> setups;
    IDirectDrawSurface7* target = nullptr;  // what the held draws draw on
    bool enabled = true;                    // tests: false draws everything at once
};

// Draws what is held back (DDraw7_Flush in ddraw_state.h is the cheap test before it).
void DDraw7_FlushHeldDraws(DDraw7State& s);
// Holds back a blit of raw pixels onto [x, x + w) x [y, y + h) of the target from `source`'s
// pixel (sx, sy) on, keyed or not (`opaque`: every pixel is written).
void DDraw7_HoldBlit(DDraw7State& s, int32_t x, int32_t y, int32_t w, int32_t h,
                     IDirectDrawSurface7* source, int32_t sx, int32_t sy, bool keyed, bool opaque);
// DDraw7_HoldFor (ddraw_state.h) when the draws held are for another target, too many, or none
// may be held.
bool DDraw7_HoldForAnother(DDraw7State& s, IDirectDrawSurface7* target);
// Keeps the states of a quad of the generic loop with it.
void DDraw7_HoldGeneric(DDraw7State& s, DDHeldDraw* draw, const D7Setup& setup);
