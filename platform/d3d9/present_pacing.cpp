// Presentation interval one: each present waits for the display's next refresh. Refreshes sit
// on a grid of performance-counter deadlines from the first paced present, so the average rate
// is the display's own (whole-millisecond sleeps alone would give 62.5 Hz for 60).
#include "platform/d3d9/device_state.h"
#include "platform/host/video.h"
#include "platform/win32/time.h"

void D3D9_WaitForRefresh(D3D9DeviceState& s) {
    LARGE_INTEGER frequency{0}, now{0};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    int64_t rate = Host_RefreshRate();
    if (rate <= 0 || frequency.QuadPart <= 0) return;
    if (s.pace_ticks == 0) s.pace_base = now.QuadPart;
    // The refresh after now; a late present waits for the next one, as a display would.
    int64_t since = now.QuadPart - s.pace_base;
    int64_t tick = since * rate / frequency.QuadPart + 1;
    int64_t deadline = s.pace_base + tick * frequency.QuadPart / rate;
    s.pace_ticks = tick;
    int64_t two_ms = frequency.QuadPart / 500;
    for (;;) {
        QueryPerformanceCounter(&now);
        int64_t left = deadline - now.QuadPart;
        if (left <= 0) break;
        // Sleep while a whole millisecond is surely left, then watch the counter.
        if (left > two_ms) Sleep(1);
    }
}
