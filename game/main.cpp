// The game's main program. Both deliverables build it; KAVRO_BACKEND_NAME tells them apart.
#include "runtime/core/program.h"

#ifndef KAVRO_BACKEND_NAME
#error "KAVRO_BACKEND_NAME must name the screen backend"
#endif

int main() {
    Program_Start();
    Program_End();
}
