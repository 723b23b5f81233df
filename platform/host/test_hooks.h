// Hooks for tests that drive the desktop side without a desktop (SDL's dummy driver has no focus,
// close or key events of its own). The events arrive through Host_PollEvent like real ones.
#pragma once
#include <cstdint>

// The window `owner` gains (true) or loses (false) the focus.
void Host_SimulateFocus(void* owner, bool gained);
// The close box of `owner` is clicked.
void Host_SimulateClose(void* owner);
// A key of `owner` goes down or up (DirectInput scan code).
void Host_SimulateKey(void* owner, uint8_t scan, bool down);
// Closes the audio device and SDL's audio subsystem, so a test can start it again under other
// settings.
void Host_ResetAudio();
