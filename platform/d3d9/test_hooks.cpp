// Test hooks of the software device (test_hooks.h).
#include "platform/d3d9/test_hooks.h"

#include "platform/d3d9/device_state.h"
#include "platform/win32/time.h"

void D3D9Test_LoseDevice(IDirect3DDevice9* device, DWORD resettable_after_ms) {
    D3D9DeviceState& s = device->State();
    s.level = CooperativeLevel::kLost;
    s.lost_at = GetTickCount();
    s.resettable_after = resettable_after_ms;
    s.host_loss = false;
}

void D3D9Test_MakeResettable(IDirect3DDevice9* device) {
    D3D9DeviceState& s = device->State();
    if (s.level == CooperativeLevel::kLost) s.level = CooperativeLevel::kNotReset;
}

void D3D9Test_FailDriver(IDirect3DDevice9* device) {
    device->State().level = CooperativeLevel::kDriverError;
}

void D3D9Test_SetFastPaths(IDirect3DDevice9* device, bool enabled) {
    device->FlushDraws();
    device->State().fast_paths = enabled;
}

const D3D9TestCounters& D3D9Test_Counters(IDirect3DDevice9* device) {
    return device->State().counters;
}

void D3D9Test_ResetCounters(IDirect3DDevice9* device) {
    device->State().counters = {};
}

ULONG D3D9Test_References(IDirect3DDevice9* device) {
    return device->State().references;
}
