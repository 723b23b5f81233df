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

bool Host_VideoInit() {
    HostStateBlock& st = HostState();
    if (st.video_started) return true;
    if (!Host_StartSdl()) return false;
    UseDummyDriverIfHeadless(SDL_HINT_VIDEODRIVER);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (Host_Settings().headless && (!driver || std::strcmp(driver, "dummy") != 0)) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
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
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    const char* driver = SDL_GetCurrentAudioDriver();
    if (Host_Settings().headless && (!driver || std::strcmp(driver, "dummy") != 0)) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
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
    st.joysticks_started = false;
    st.joystick_names.clear();
    st.joystick_handles.clear();  // closed by SDL_Quit
    if (st.sdl_started) SDL_Quit();
    st.sdl_started = st.video_started = st.audio_started = false;
}
