// The DirectSound device: opened over the host's audio device, its cooperative level, and the
// creation of primary and secondary buffers.
#include "platform/dsound/dsound.h"

#include <new>

#include "platform/dsound/sound_buffer.h"
#include "platform/host/audio.h"
#include "platform/host/host.h"
#include "platform/win32/window.h"

namespace {

class DirectSound final : public IDirectSound {
  public:
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD level) override {
        if (!IsWindow(window) || level < DSSCL_NORMAL || level > DSSCL_WRITEPRIMARY) {
            return DSERR_INVALIDPARAM;
        }
        level_ = level;
        return DS_OK;
    }

    HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                              void* outer) override {
        if (!buffer) return DSERR_INVALIDPARAM;
        *buffer = nullptr;
        if (outer) return DSERR_NOAGGREGATION;
        // The descriptor of DirectX 7 ends with the 3D algorithm; the older one without it.
        constexpr DWORD kOldSize = offsetof(DSBUFFERDESC, guid3DAlgorithm);
        if (!desc || (desc->dwSize != sizeof(DSBUFFERDESC) && desc->dwSize != kOldSize)) {
            return DSERR_INVALIDPARAM;
        }
        if (level_ == 0) return DSERR_PRIOLEVELNEEDED;
        if (desc->dwFlags & DSBCAPS_PRIMARYBUFFER) {
            if (desc->dwBufferBytes != 0 || desc->lpwfxFormat) return DSERR_INVALIDPARAM;
            WAVEFORMATEX device{
                WAVE_FORMAT_PCM, 2, static_cast<DWORD>(Host_AudioRate()), 0, 4, 16, 0};
            device.nAvgBytesPerSec = device.nSamplesPerSec * device.nBlockAlign;
            *buffer = SoundBuffer_CreatePrimary(device, desc->dwFlags, level_);
            return *buffer ? DS_OK : DSERR_OUTOFMEMORY;
        }
        if (!desc->lpwfxFormat) return DSERR_INVALIDPARAM;
        if (desc->dwBufferBytes < DSBSIZE_MIN || desc->dwBufferBytes > DSBSIZE_MAX) {
            return DSERR_INVALIDPARAM;
        }
        const WAVEFORMATEX& f = *desc->lpwfxFormat;
        if (!SoundBuffer_FormatIsPlayable(f)) return DSERR_BADFORMAT;
        // 3D control needs a mono buffer.
        if ((desc->dwFlags & DSBCAPS_CTRL3D) && f.nChannels != 1) return DSERR_INVALIDPARAM;
        return SoundBuffer_Create(f, desc->dwFlags, desc->dwBufferBytes, buffer);
    }

  private:
    ~DirectSound() override { Host_AudioClose(); }
    ULONG references_ = 1;
    DWORD level_ = 0;
};

}  // namespace

HRESULT DirectSoundCreate(const GUID* device, IDirectSound** out, void* outer) {
    if (!out) return DSERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return DSERR_NOAGGREGATION;
    if (device) return DSERR_NODRIVER;
    if (!Host_AudioOpen()) return DSERR_NODRIVER;
    auto* sound = new (std::nothrow) DirectSound;
    if (!sound) {
        Host_AudioClose();
        return DSERR_OUTOFMEMORY;
    }
    *out = sound;
    return DS_OK;
}

bool DirectSound_Available() {
    return Host_AudioInit();
}
