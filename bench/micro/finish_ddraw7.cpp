// Micro_FinishDraws on DirectDraw 7: its blits and quads are drawn when they are made, so
// there is nothing to complete.
#include "bench/micro/micro_runtime.h"

void Micro_FinishDraws() {}
