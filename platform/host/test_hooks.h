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

class HostDisplayTiming;
// Pacing reads and sleeps on `timing` instead of the real clock and display (null: the real
// ones again); Host_RefreshRate reports its rate. A new grid starts.
void Host_UseDisplayTiming(HostDisplayTiming* timing);
// Forgets a quit request (quit.h), so the next test starts without one.
void Host_ResetQuit();

// Virtual game controllers with the standard layout, as if plugged in (also headless, where no
// real controller is read). Buttons: 0 south, 1 east, 2 west, 3 north, 4 back, 5 guide,
// 6 start, 7 and 8 the sticks, 9 and 10 the shoulders, 11-14 d-pad up, down, left, right.
// Axes: 0 and 1 the left stick (x, y; negative left and up), 2 and 3 the right stick,
// 4 and 5 the triggers.
enum HostPadButton : int32_t {
    kPadSouth = 0,
    kPadEast = 1,
    kPadWest = 2,
    kPadBack = 4,
    kPadStart = 6,
    kPadUp = 11,
    kPadDown = 12,
    kPadLeft = 13,
    kPadRight = 14,
};
// Returns the controller's number, or -1 when SDL has no controllers.
int32_t Host_AttachVirtualPad();
void Host_SetVirtualPadButton(int32_t pad, int32_t button, bool down);
void Host_SetVirtualPadAxis(int32_t pad, int32_t axis, int16_t value);
// Pulls the controller out.
void Host_DetachVirtualPad(int32_t pad);
