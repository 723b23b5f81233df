// Hooks for tests of the software device: losing it like a mode switch would, counting the calls
// that reach it, and turning the rectangle fast paths off to compare with the general path.
#pragma once
#include <cstdint>

#include "platform/d3d9/raster.h"
#include "platform/win32/types.h"

class IDirect3DDevice9;

struct D3D9TestCounters {
    uint64_t render_states;   // SetRenderState calls
    uint64_t fvf_changes;     // SetFVF calls
    uint64_t stage_states;    // SetTextureStageState calls
    uint64_t sampler_states;  // SetSamplerState calls
    uint64_t draws;           // DrawPrimitiveUP calls that drew
    uint64_t presents;        // Present calls that presented
    uint64_t resets;          // successful Reset calls
    RasterCounters raster;
};

constexpr DWORD kD3D9NeverResettable = 0xFFFFFFFFu;

// The device becomes lost; TestCooperativeLevel reports it not reset `resettable_after_ms`
// milliseconds later (kD3D9NeverResettable: only after D3D9Test_MakeResettable).
void D3D9Test_LoseDevice(IDirect3DDevice9* device, DWORD resettable_after_ms);
void D3D9Test_MakeResettable(IDirect3DDevice9* device);
// The driver fails: TestCooperativeLevel reports D3DERR_DRIVERINTERNALERROR until Reset.
void D3D9Test_FailDriver(IDirect3DDevice9* device);
// Rectangle fast paths on (the default) or off.
void D3D9Test_SetFastPaths(IDirect3DDevice9* device, bool enabled);
const D3D9TestCounters& D3D9Test_Counters(IDirect3DDevice9* device);
void D3D9Test_ResetCounters(IDirect3DDevice9* device);
// The program's references on the device; call only while the device exists.
ULONG D3D9Test_References(IDirect3DDevice9* device);
