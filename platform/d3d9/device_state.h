// The state block of one software device: present parameters, swap chain, the states the
// draws read, the cooperative level and the counters the tests read. Private to platform/d3d9.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/test_hooks.h"
#include "platform/raster/held_draws.h"

enum class CooperativeLevel { kOk, kLost, kNotReset, kDriverError };

// A rectangle draw held back: its prepared rectangle and, for the generic loop, which of the
// held states it was made with.
struct D3D9HeldDraw {
    RasterRect rect;
    uint32_t setup;
};
// Draws held back at most; the next one completes them first (bounds memory and latency).
constexpr size_t kD3D9HeldDrawLimit = 4096;

struct D3D9DeviceState {
    ULONG references = 1;      // the program's references
    int32_t resources = 0;     // live textures and surfaces made by the device
    int32_t default_pool = 0;  // live default-pool resources: Reset refuses while any exist
    bool destroyed = false;    // the program let go; freed once no resource counts on it

    HWND focus_window = nullptr;
    DWORD behaviour = 0;
    D3DPRESENT_PARAMETERS parameters{};
    IDirect3DSurface9* back_buffers[3] = {nullptr, nullptr, nullptr};
    UINT back_buffer_count = 0;

    // Pipeline state.
    IDirect3DSurface9* render_target = nullptr;  // referenced
    IDirect3DTexture9* texture = nullptr;        // stage 0, referenced
    bool in_scene = false;
    bool software_vertex_processing = false;
    DWORD fvf = 0;
    DWORD alpha_blend_enable = FALSE;
    DWORD src_blend = D3DBLEND_ONE;
    DWORD dest_blend = D3DBLEND_ZERO;
    DWORD cull_mode = D3DCULL_CCW;
    DWORD multisample_antialias = TRUE;
    DWORD color_op = D3DTOP_MODULATE;
    DWORD color_arg1 = D3DTA_TEXTURE;
    DWORD color_arg2 = D3DTA_CURRENT;
    DWORD alpha_op = D3DTOP_SELECTARG1;
    DWORD alpha_arg1 = D3DTA_TEXTURE;
    DWORD alpha_arg2 = D3DTA_CURRENT;
    DWORD mag_filter = D3DTEXF_POINT;
    DWORD min_filter = D3DTEXF_POINT;
    // The stage and blend as the rasteriser takes them, made from the states above when a draw
    // finds them stale (every change of those states makes them so).
    d3d9px::Stage stage{};
    d3d9px::Blend blend{};
    bool pipeline_stale = true;

    // Lost and reset.
    CooperativeLevel level = CooperativeLevel::kOk;
    DWORD lost_at = 0;           // GetTickCount when lost
    DWORD resettable_after = 0;  // milliseconds, or INFINITE
    uint32_t host_losses = 0;    // KAVRO_FAULTS device losses this device has followed
    bool host_loss = false;      // lost by one of them: no reset while the host says it lasts

    // Presentation pacing for interval one, on a grid of performance-counter deadlines.
    int64_t pace_base = 0;
    int64_t pace_ticks = 0;

    bool fast_paths = true;
    D3D9TestCounters counters{};
    std::vector<RasterVertex> vertices;  // reused by every draw
    // Rectangle draws held back until their target's pixels are needed (held_draws.h), all
    // for one target, and the states of those that the generic loop draws.
    raster::HeldDraws<D3D9HeldDraw> held;
    std::vector<RasterSetup> held_setups;
    IDirect3DSurface9* queued_target = nullptr;
};

// Puts every state back to the documented defaults (creation and Reset).
void D3D9_DefaultStates(D3D9DeviceState& s);
// Creates or re-sizes the swap chain from the parameters; false when the memory is not to be had.
bool D3D9_BuildSwapChain(IDirect3DDevice9* device, D3D9DeviceState& s);
// Checks present parameters and fills in the defaults (a 0 count means 1).
HRESULT D3D9_CheckParameters(D3D9DeviceState& s, D3DPRESENT_PARAMETERS* p);
// Waits for the next refresh of the display on the device's grid.
void D3D9_WaitForRefresh(D3D9DeviceState& s);
// Loses the device when a KAVRO_FAULTS device loss has begun since it last looked.
void D3D9_FollowHostFaults(D3D9DeviceState& s);
// True while the device was lost by such a loss and the host says it still lasts.
bool D3D9_HostLossLasting(const D3D9DeviceState& s);
