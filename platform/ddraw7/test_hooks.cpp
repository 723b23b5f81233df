// Test hooks of the DirectDraw 7 and Direct3D 7 stand-ins (test_hooks.h).
#include "platform/ddraw7/test_hooks.h"

#include "platform/ddraw7/d3d7_state.h"
#include "platform/ddraw7/ddraw_state.h"

void DDraw7Test_LoseSurfaces(IDirectDraw7* ddraw) {
    ddraw->LoseVideoSurfaces();
}

void DDraw7Test_WipeOnRestore(IDirectDraw7* ddraw, bool wipe) {
    ddraw->State().wipe_on_restore = wipe;
}

void DDraw7Test_SetHoldBack(IDirectDraw7* ddraw, bool hold) {
    DDraw7_Flush(ddraw->State());
    ddraw->State().held.enabled = hold;
}

void DDraw7Test_UseX1R5G5B5(IDirectDraw7* ddraw, bool x1r5g5b5) {
    ddraw->State().sixteen_bit_format = x1r5g5b5 ? DDFormat::kX1R5G5B5 : DDFormat::kR5G6B5;
}

const DDraw7TestCounters& DDraw7Test_Counters(IDirectDraw7* ddraw) {
    return ddraw->State().counters;
}

uint32_t DDraw7Test_References(IDirectDraw7* ddraw) {
    return ddraw->State().references;
}

const D3D7TestCounters& D3D7Test_Counters(IDirect3DDevice7* device) {
    return device->State().counters;
}

void D3D7Test_ResetCounters(IDirect3DDevice7* device) {
    device->State().counters = D3D7TestCounters{};
}

void D3D7Test_SetFastPaths(IDirect3DDevice7* device, bool enabled) {
    device->State().fast_paths = enabled;
}
