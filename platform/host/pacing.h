// Pacing of presents. The game moves a fixed distance every frame and keeps no time of its own,
// so the host holds presents to 60 a second on a grid of deadlines, whatever the display
// refreshes at (60, 75, 120, 144, 240 Hz or unknown). No SDL type crosses this header.
#pragma once
#include <cstdint>

// Presents a second while pacing is on (KAVRO_VSYNC).
constexpr int32_t kHostPaceRate = 60;

// What pacing reads and waits on: the monotonic clock and the display. Tests give their own
// (test_hooks.h) to drive the schedule without real time passing.
class HostDisplayTiming {
  public:
    virtual ~HostDisplayTiming() = default;
    virtual int64_t Now() = 0;                      // nanoseconds
    virtual void SleepUntil(int64_t deadline) = 0;  // an absolute time of Now()
    virtual int32_t RefreshRate() = 0;              // Hz the display reports, 0 when unknown
};

// Waits for the next deadline of the grid: deadlines fall every 1/60 s from the first paced
// present, so the average is exact however the sleeps round; a slow frame waits for the next
// deadline after it (no catch-up burst). Called by Host_Present when pacing is on.
void Host_PaceFrame();
