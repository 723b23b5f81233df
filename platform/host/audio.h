// The desktop's sound output as the DirectSound stand-in needs it: an opened audio device, fed
// with silence (the program plays nothing). No SDL type crosses this header.
#pragma once
#include <cstdint>

// Opens the default audio device (SDL's dummy driver headless). Counts users: each successful
// open must be matched by Host_AudioClose. Returns false when no device opens.
bool Host_AudioOpen();
void Host_AudioClose();
// The opened device's sample rate in Hz, 0 while none is open.
int32_t Host_AudioRate();
