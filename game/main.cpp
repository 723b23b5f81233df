// The game's main program. Both deliverables build it; KAVRO_BACKEND_NAME tells them apart.
#include "game/game_state.h"
#include "runtime/core/program.h"

#ifndef KAVRO_BACKEND_NAME
#error "KAVRO_BACKEND_NAME must name the screen backend"
#endif

int main() {
    Program_Start();
    Game_StartUp(KAVRO_BACKEND_NAME);
    // Escape ends the loop at the end of a frame that ran to its flip; a frame cut short by a
    // level restart goes on to the next one.
    for (;;) {
        bool completed = Game_Frame();
        if (completed && Game().quit != 0) break;
    }
    Program_End();
}
