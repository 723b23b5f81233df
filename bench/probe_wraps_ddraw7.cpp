// The timing probe's wrapper for the DirectDraw 7 stand-in only: its held-back blits and quads
// are drawn when something needs the target's pixels (the texts' device context, the flip), and
// that drawing is booked to a part of its own, as on the Direct3D 9 device.
#include "bench/probe_state.h"

struct DDraw7State;

void RealFlushHeldDraws(DDraw7State& s) asm("__real__Z21DDraw7_FlushHeldDrawsR11DDraw7State");

void WrapFlushHeldDraws(DDraw7State& s) asm("__wrap__Z21DDraw7_FlushHeldDrawsR11DDraw7State");
void WrapFlushHeldDraws(DDraw7State& s) {
    BenchPhase before = Probe_Enter(BenchPhase::kHeldBack);
    RealFlushHeldDraws(s);
    Probe_Enter(before);
}
