// The program frame alone: start-up and cleanup chains, exit code 0. The deliverable of a
// screen backend that does not exist yet builds this instead of the game.
#include "runtime/core/program.h"

int main() {
    Program_Start();
    Program_End();
}
