// The state block of one Direct3D 7 device: its render target, the bound texture, the scene
// bracket, the render and texture-stage states, the viewport and the counters the tests read.
// Private to platform/ddraw7.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/ddraw7/d3d7.h"
#include "platform/ddraw7/d3d7_raster.h"
#include "platform/ddraw7/test_hooks.h"

struct D3D7DeviceState {
    ULONG references = 1;
    IDirectDrawSurface7* target = nullptr;   // counted
    IDirectDrawSurface7* texture = nullptr;  // stage 0, counted
    bool in_scene = false;
    DWORD render_states[kD3D7RenderStateCount] = {};
    DWORD stage_states[kD3D7Stages][kD3D7StageStateCount] = {};
    D3DVIEWPORT7 viewport{};
    // Stage 0 and the blend as the rasteriser takes them, made from the states above when a
    // draw finds them stale (every change of those states makes them so).
    D7Stage stage{};
    D7Blend blend{};
    bool pipeline_stale = true;
    bool fast_paths = true;
    D3D7TestCounters counters{};
    std::vector<D7Vertex> vertices;  // reused by every draw
};
