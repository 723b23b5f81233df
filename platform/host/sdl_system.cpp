// Starting and stopping SDL's subsystems with the drivers the settings ask for.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/host/host.h"
#include "platform/host/host_state.h"

HostStateBlock& HostState() {
    static HostStateBlock state;
    return state;
}

bool Host_StartSdl() {
    HostStateBlock& st = HostState();
    if (st.sdl_started) return true;
    // Ctrl+C must end the program, not become a quit event nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_Init(0) != 0) return false;
    st.sdl_started = true;
    return true;
}

namespace {

// Headless means the dummy drivers: never fall into a real one by accident. Set before each
// subsystem starts, as a setting read earlier may have changed since. An SDL_*DRIVER variable in
// the environment still wins, which is how a driver that cannot open is asked for.
void UseDummyDriverIfHeadless(const char* hint) {
    if (Host_Settings().headless) SDL_SetHint(hint, "dummy");
}

}  // namespace

bool Host_HasDesktop() {
    if (Host_Settings().headless) return false;
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

namespace {

bool IsDesktopDriver(const char* driver) {
    return driver && (std::strcmp(driver, "x11") == 0 || std::strcmp(driver, "wayland") == 0);
}

bool StartVideo(const char* driver) {
    if (driver) SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    if (IsDesktopDriver(SDL_GetCurrentVideoDriver())) return true;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
}

// A shown game needs a desktop: SDL's fall-back drivers would run it invisibly at full speed
// forever. Only the desktop drivers whose display is named are tried, x11 first as SDL does.
bool StartDesktopVideo() {
    const char* x = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    bool started = false;
    // An SDL_VIDEODRIVER of the environment wins over the hint, as SDL means it to.
    if (std::getenv("SDL_VIDEODRIVER")) {
        started = StartVideo(nullptr);
    } else {
        started = (x && *x && StartVideo("x11")) || (w && *w && StartVideo("wayland"));
    }
    if (!started) {
        std::fprintf(stderr,
                     "kavro: no display (DISPLAY and WAYLAND_DISPLAY unset or unreachable); set "
                     "one, or KAVRO_HEADLESS=1 to run without\n");
    }
    return started;
}

}  // namespace

bool Host_VideoInit() {
    HostStateBlock& st = HostState();
    if (st.video_started) return true;
    // Asked once: the answer and its message do not change within a run.
    if (st.video_refused) return false;
    if (!Host_StartSdl()) return false;
    if (Host_Settings().headless) {
        UseDummyDriverIfHeadless(SDL_HINT_VIDEODRIVER);
        const char* driver = nullptr;
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) driver = SDL_GetCurrentVideoDriver();
        if (!driver || std::strcmp(driver, "dummy") != 0) {
            if (driver) SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return false;
        }
    } else if (!StartDesktopVideo()) {
        st.video_refused = true;
        return false;
    }
    st.video_started = true;
    return true;
}

bool Host_AudioInit() {
    HostStateBlock& st = HostState();
    if (st.audio_started) return true;
    if (!Host_StartSdl()) return false;
    UseDummyDriverIfHeadless(SDL_HINT_AUDIODRIVER);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return Host_NoSoundOutput();
    const char* driver = SDL_GetCurrentAudioDriver();
    if (Host_Settings().headless && (!driver || std::strcmp(driver, "dummy") != 0)) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        SDL_SetError("headless runs use the dummy driver only, not %s", driver ? driver : "none");
        return Host_NoSoundOutput();
    }
    st.audio_started = true;
    return true;
}

int64_t Host_Now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t{ts.tv_sec} * 1000000000 + ts.tv_nsec;
}

void Host_SettingError(const std::string& message) {
    std::fflush(nullptr);
    std::fprintf(stderr, "kavro: %s\n", message.c_str());
    Host_Shutdown();
    std::exit(2);
}

void Host_Shutdown() {
    HostStateBlock& st = HostState();
    Host_CloseTrace();
    Host_CloseWindows();
    Host_CloseAudio();
    Host_ClosePads();
    Host_ReleaseKeys();
    std::memset(st.keys_pressed, 0, sizeof(st.keys_pressed));
    st.joysticks_started = false;
    st.joystick_names.clear();
    st.joystick_handles.clear();  // closed by SDL_Quit
    if (st.sdl_started) SDL_Quit();
    st.sdl_started = st.video_started = st.audio_started = false;
    st.video_refused = false;
}
