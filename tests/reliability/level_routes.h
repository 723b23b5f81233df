// Keyboard scripts over the shipped level, timed in keyboard frames. The game is deterministic
// for a given script, so each route does the same thing on every run and in every deliverable.
#pragma once
#include <cstdint>
#include <string>

// The soak route: loops that each end in one death, cycling through four variants of a walk
// from the start marker:
//   1. right, collecting the three coins by the start, up the slope and into the spikes;
//   2. right, jumping the spike pit, down the cave ladder, climbing back up part of it, down
//      again, right through the cave with a jump over the first lava pit (a coin above it) and
//      into the second;
//   3. as 2 to the ladder's foot, then left through the cave collecting the coins there, back
//      right and into the lava;
//   4. as 3 but further left, with a jump (more coins), back and into the lava.
// Coins do not come back, so collecting happens in the first round of variants. Loops are
// added while they fit before `frames`; Escape is pressed in frame `frames`.
struct SoakRoute {
    std::string script;
    uint32_t frames = 0;
    uint32_t loops = 0;  // each ends in exactly one death before `frames`
};
SoakRoute MakeSoakRoute(uint32_t frames);

// Variant 1 alone: right into the spikes (the death comes at keyboard frame 251), then standing
// at the start until Escape in `escape_frame`.
std::string WalkIntoSpikes(uint32_t escape_frame);
