// Hooks for tests of the DirectDraw 7 and Direct3D 7 stand-ins: losing surfaces as a switch to
// another program would, the 16-bit display format, counting the calls that reach the objects,
// and turning the rectangle fast paths of the Direct3D 7 device off to compare with the general
// rasteriser.
#pragma once
#include <cstdint>

#include "platform/win32/types.h"

class IDirectDraw7;
class IDirect3DDevice7;

struct DDraw7TestCounters {
    uint64_t flips;          // flips that showed a picture
    uint64_t blts;           // Blt calls that drew
    uint64_t blt_fasts;      // BltFast calls that drew
    uint64_t restores;       // surfaces restored
    uint64_t held_draws;     // blits and quads held back until their pixels were needed
    uint64_t hidden_pixels;  // pixels of held-back draws that a later opaque one covered
};

struct D3D7TestCounters {
    uint64_t draws;            // DrawPrimitive calls that drew
    uint64_t render_states;    // SetRenderState calls
    uint64_t stage_states;     // SetTextureStageState calls
    uint64_t triangles;        // triangles through the general rasteriser
    uint64_t fast_rectangles;  // rectangles drawn by a fast path
};

// Every video-memory surface of the object becomes lost.
void DDraw7Test_LoseSurfaces(IDirectDraw7* ddraw);
// Restored surfaces get their memory overwritten (a pattern), as a display that gave it to
// someone else would; by default they keep their old pixels.
void DDraw7Test_WipeOnRestore(IDirectDraw7* ddraw, bool wipe);
// Blits and quads held back until their pixels are needed (the default), or drawn at once.
void DDraw7Test_SetHoldBack(IDirectDraw7* ddraw, bool hold);
// The 16-bit display format from the next SetDisplayMode on: R5G6B5 (the default) or X1R5G5B5.
void DDraw7Test_UseX1R5G5B5(IDirectDraw7* ddraw, bool x1r5g5b5);
const DDraw7TestCounters& DDraw7Test_Counters(IDirectDraw7* ddraw);
// The program's references on the object; call only while it exists.
uint32_t DDraw7Test_References(IDirectDraw7* ddraw);

const D3D7TestCounters& D3D7Test_Counters(IDirect3DDevice7* device);
void D3D7Test_ResetCounters(IDirect3DDevice7* device);
// Rectangle fast paths on (the default) or off.
void D3D7Test_SetFastPaths(IDirect3DDevice7* device, bool enabled);
