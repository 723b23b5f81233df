// The timing probe's wrapper for the Direct3D 9 device only: the held-back rectangle draws are
// done when something needs the target's pixels (the texts' device context, the present), and
// that drawing is booked to a part of its own.
#include "bench/probe_state.h"

void RealFlushDraws(void* device) asm("__real__ZN16IDirect3DDevice910FlushDrawsEv");

void WrapFlushDraws(void* device) asm("__wrap__ZN16IDirect3DDevice910FlushDrawsEv");
void WrapFlushDraws(void* device) {
    BenchPhase before = Probe_Enter(BenchPhase::kHeldBack);
    RealFlushDraws(device);
    Probe_Enter(before);
}
