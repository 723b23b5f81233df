// Starting and stopping SDL's subsystems with the drivers the settings ask for.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/host/host.h"
#include "platform/host/host_state.h"

HostStateBlock& HostState() {
    static HostStateBlock state;
    return state;
}

namespace {

bool StartSdl() {
    HostStateBlock& st = HostState();
    if (st.sdl_started) return true;
    if (Host_Settings().headless) {
        // Never fall into a real driver by accident: headless means the dummy drivers.
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "dummy");
        SDL_SetHint(SDL_HINT_AUDIODRIVER, "dummy");
    }
    if (SDL_Init(0) != 0) return false;
    st.sdl_started = true;
    return true;
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
    if (!StartSdl()) return false;
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
    if (!StartSdl()) return false;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    const char* driver = SDL_GetCurrentAudioDriver();
    if (Host_Settings().headless && (!driver || std::strcmp(driver, "dummy") != 0)) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    st.audio_started = true;
    return true;
}

void Host_Shutdown() {
    HostStateBlock& st = HostState();
    Host_CloseTrace();
    if (st.sdl_started) SDL_Quit();
    st.sdl_started = st.video_started = st.audio_started = false;
}
