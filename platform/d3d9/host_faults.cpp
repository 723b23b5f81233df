// The device's side of KAVRO_FAULTS: a scheduled device loss makes the device lost as a display
// mode switch would. A loss without a span is resettable a moment later (within the 32 ms a
// flip waits); one with a span stays lost until the host ends it.
#include "platform/d3d9/device_state.h"
#include "platform/host/faults.h"
#include "platform/win32/time.h"

namespace {

constexpr DWORD kShortLossMs = 2;

}  // namespace

void D3D9_FollowHostFaults(D3D9DeviceState& s) {
    uint32_t losses = Host_DeviceLosses();
    if (losses == s.host_losses) return;
    s.host_losses = losses;
    // A failed driver stays failed until its reset.
    if (s.level == CooperativeLevel::kDriverError) return;
    s.level = CooperativeLevel::kLost;
    s.lost_at = GetTickCount();
    s.resettable_after = kShortLossMs;
    s.host_loss = true;
}

bool D3D9_HostLossLasting(const D3D9DeviceState& s) {
    return s.host_loss && Host_DeviceLossLasting();
}
