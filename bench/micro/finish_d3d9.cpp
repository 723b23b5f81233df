// Micro_FinishDraws on Direct3D 9: the end of the scene completes the held-back draws; the next
// draw opens another.
#include "bench/micro/micro_runtime.h"
#include "runtime/screen/d3d9/screen.h"

void Micro_FinishDraws() {
    Screen_EndScene();
}
