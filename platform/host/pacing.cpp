// The pacing grid of presents and the real clock behind it.
#include "platform/host/pacing.h"

#include <SDL.h>

#include <cerrno>
#include <ctime>

#include "platform/host/host.h"
#include "platform/host/host_state.h"
#include "platform/host/test_hooks.h"
#include "platform/host/video.h"

namespace {

class RealTiming final : public HostDisplayTiming {
  public:
    int64_t Now() override { return Host_Now(); }
    void SleepUntil(int64_t deadline) override {
        timespec ts{static_cast<time_t>(deadline / 1000000000),
                    static_cast<long>(deadline % 1000000000)};
        while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
        }
    }
    int32_t RefreshRate() override {
        if (!Host_HasDesktop() || !Host_VideoInit()) return 0;
        SDL_DisplayMode mode;
        if (SDL_GetCurrentDisplayMode(0, &mode) != 0 || mode.refresh_rate <= 0) return 0;
        return mode.refresh_rate;
    }
};

HostDisplayTiming*& TestTiming() {
    static HostDisplayTiming* timing = nullptr;
    return timing;
}

HostDisplayTiming& Timing() {
    static RealTiming real;
    return TestTiming() ? *TestTiming() : real;
}

}  // namespace

void Host_PaceFrame() {
    HostStateBlock& st = HostState();
    HostDisplayTiming& timing = Timing();
    int64_t now = timing.Now();
    if (st.pace_frames == 0) st.pace_base = now;
    int64_t tick = 0;
    int64_t deadline = Host_NextRefresh(st.pace_base, now, kHostPaceRate, &tick);
    st.pace_frames = tick;
    timing.SleepUntil(deadline);
}

int32_t Host_RefreshRate() {
    int32_t rate = Timing().RefreshRate();
    return rate > 0 ? rate : 60;
}

void Host_UseDisplayTiming(HostDisplayTiming* timing) {
    TestTiming() = timing;
    // A new clock starts a new grid.
    HostState().pace_frames = 0;
}
