// The audio device behind the DirectSound stand-in: opened on the default driver (the dummy
// driver headless) and fed silence, since the program never plays a sound.
#include "platform/host/audio.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

#include "platform/host/host.h"
#include "platform/host/host_state.h"
#include "platform/host/test_hooks.h"

namespace {

void FillSilence(void*, Uint8* stream, int length) {
    std::memset(stream, 0, static_cast<size_t>(length));
}

}  // namespace

bool Host_NoSoundOutput() {
    HostStateBlock& st = HostState();
    // Once, on standard error before the program's own sound message: the program requires a
    // sound output even though it plays nothing.
    if (!st.audio_refusal_said) {
        st.audio_refusal_said = true;
        std::fprintf(stderr,
                     "kavro: no sound output (%s); connect one, or set SDL_AUDIODRIVER=dummy to "
                     "run without\n",
                     *SDL_GetError() ? SDL_GetError() : "no audio device");
    }
    return false;
}

bool Host_AudioOpen() {
    HostStateBlock& st = HostState();
    if (st.audio_users > 0) {
        ++st.audio_users;
        return true;
    }
    if (!Host_AudioInit()) return false;
    SDL_AudioSpec want{};
    SDL_AudioSpec have{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &FillSilence;
    SDL_AudioDeviceID device =
        SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
    if (device == 0) return Host_NoSoundOutput();
    SDL_PauseAudioDevice(device, 0);
    st.audio_device = device;
    st.audio_rate = have.freq;
    st.audio_users = 1;
    return true;
}

void Host_AudioClose() {
    HostStateBlock& st = HostState();
    if (st.audio_users <= 0) return;
    if (--st.audio_users > 0) return;
    SDL_CloseAudioDevice(st.audio_device);
    st.audio_device = 0;
    st.audio_rate = 0;
}

int32_t Host_AudioRate() {
    return HostState().audio_rate;
}

void Host_CloseAudio() {
    HostStateBlock& st = HostState();
    if (st.audio_device) SDL_CloseAudioDevice(st.audio_device);
    st.audio_device = 0;
    st.audio_users = 0;
    st.audio_rate = 0;
}

void Host_ResetAudio() {
    HostStateBlock& st = HostState();
    Host_CloseAudio();
    if (st.audio_started) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    st.audio_started = false;
    st.audio_refusal_said = false;
}
