// Sound buffers: their sample memory, the lock protocol and the pan, frequency and volume
// controls.
#include "platform/dsound/sound_buffer.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

class SoundBuffer final : public IDirectSoundBuffer {
  public:
    SoundBuffer(const WAVEFORMATEX& format, DWORD flags, bool primary, DWORD level)
        : format_(format), flags_(flags), primary_(primary), level_(level) {
        format_.cbSize = 0;
        frequency_ = format.nSamplesPerSec;
    }

    bool Allocate(DWORD bytes) {
        try {
            samples_.assign(bytes, format_.wBitsPerSample == 8 ? 0x80 : 0x00);
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* part1, DWORD* bytes1, LPVOID* part2,
                 DWORD* bytes2, DWORD flags) override {
        if (!part1 || !bytes1) return DSERR_INVALIDPARAM;
        *part1 = nullptr;
        *bytes1 = 0;
        if (part2) *part2 = nullptr;
        if (bytes2) *bytes2 = 0;
        // The primary buffer's memory is the device's, writable only at DSSCL_WRITEPRIMARY.
        if (primary_ && level_ != DSSCL_WRITEPRIMARY) return DSERR_PRIOLEVELNEEDED;
        if (locked_) return DSERR_INVALIDCALL;
        DWORD size = static_cast<DWORD>(samples_.size());
        if (flags & DSBLOCK_FROMWRITECURSOR) offset = 0;  // nothing plays: the cursor stays at 0
        if (flags & DSBLOCK_ENTIREBUFFER) bytes = size;
        if (size == 0 || offset >= size || bytes == 0 || bytes > size) return DSERR_INVALIDPARAM;
        DWORD first = bytes <= size - offset ? bytes : size - offset;
        DWORD second = bytes - first;
        if (second && (!part2 || !bytes2)) return DSERR_INVALIDPARAM;
        *part1 = samples_.data() + offset;
        *bytes1 = first;
        if (second) {
            *part2 = samples_.data();
            *bytes2 = second;
        }
        locked_ = true;
        lock_ = {*part1, first, second ? samples_.data() : nullptr, second};
        return DS_OK;
    }

    HRESULT Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) override {
        if (!locked_) return DSERR_INVALIDCALL;
        if (part1 != lock_.part1 || bytes1 > lock_.bytes1 || (part2 && part2 != lock_.part2) ||
            bytes2 > lock_.bytes2) {
            return DSERR_INVALIDPARAM;
        }
        locked_ = false;
        return DS_OK;
    }

    HRESULT GetPan(LONG* pan) override {
        if (!pan) return DSERR_INVALIDPARAM;
        if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
        *pan = pan_;
        return DS_OK;
    }
    HRESULT GetFrequency(DWORD* frequency) override {
        if (!frequency) return DSERR_INVALIDPARAM;
        if (!(flags_ & DSBCAPS_CTRLFREQUENCY) || primary_) return DSERR_CONTROLUNAVAIL;
        *frequency = frequency_;
        return DS_OK;
    }
    HRESULT GetVolume(LONG* volume) override {
        if (!volume) return DSERR_INVALIDPARAM;
        if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
        *volume = volume_;
        return DS_OK;
    }
    HRESULT SetPan(LONG pan) override {
        if (!(flags_ & DSBCAPS_CTRLPAN)) return DSERR_CONTROLUNAVAIL;
        if (pan < DSBPAN_LEFT || pan > DSBPAN_RIGHT) return DSERR_INVALIDPARAM;
        pan_ = pan;
        return DS_OK;
    }
    HRESULT SetFrequency(DWORD frequency) override {
        if (!(flags_ & DSBCAPS_CTRLFREQUENCY) || primary_) return DSERR_CONTROLUNAVAIL;
        if (frequency == DSBFREQUENCY_ORIGINAL) frequency = format_.nSamplesPerSec;
        if (frequency < DSBFREQUENCY_MIN || frequency > DSBFREQUENCY_MAX) {
            return DSERR_INVALIDPARAM;
        }
        frequency_ = frequency;
        return DS_OK;
    }
    HRESULT SetVolume(LONG volume) override {
        if (!(flags_ & DSBCAPS_CTRLVOLUME)) return DSERR_CONTROLUNAVAIL;
        if (volume < DSBVOLUME_MIN || volume > DSBVOLUME_MAX) return DSERR_INVALIDPARAM;
        volume_ = volume;
        return DS_OK;
    }
    HRESULT GetFormat(WAVEFORMATEX* format, DWORD size, DWORD* written) override {
        if (!format && !written) return DSERR_INVALIDPARAM;
        if (written) *written = sizeof(WAVEFORMATEX);
        if (!format) return DS_OK;
        if (size < sizeof(WAVEFORMATEX)) return DSERR_INVALIDPARAM;
        std::memcpy(format, &format_, sizeof(WAVEFORMATEX));
        return DS_OK;
    }

  private:
    ~SoundBuffer() override = default;

    struct LockParts {
        void* part1;
        DWORD bytes1;
        void* part2;
        DWORD bytes2;
    };

    WAVEFORMATEX format_;
    DWORD flags_;
    bool primary_;
    DWORD level_;
    std::vector<uint8_t> samples_;
    ULONG references_ = 1;
    LONG pan_ = 0;
    LONG volume_ = DSBVOLUME_MAX;
    DWORD frequency_ = 0;
    bool locked_ = false;
    LockParts lock_{};
};

}  // namespace

bool SoundBuffer_FormatIsPlayable(const WAVEFORMATEX& f) {
    if (f.wFormatTag != WAVE_FORMAT_PCM) return false;
    if (f.nChannels < 1 || f.nChannels > 2) return false;
    if (f.wBitsPerSample != 8 && f.wBitsPerSample != 16) return false;
    if (f.nSamplesPerSec < DSBFREQUENCY_MIN || f.nSamplesPerSec > DSBFREQUENCY_MAX) return false;
    DWORD block = f.nChannels * (f.wBitsPerSample / 8u);
    return f.nBlockAlign == block && f.nAvgBytesPerSec == f.nSamplesPerSec * block;
}

HRESULT SoundBuffer_Create(const WAVEFORMATEX& format, DWORD flags, DWORD bytes,
                           IDirectSoundBuffer** out) {
    auto* buffer = new (std::nothrow) SoundBuffer(format, flags, false, 0);
    if (!buffer) return DSERR_OUTOFMEMORY;
    if (!buffer->Allocate(bytes)) {
        buffer->Release();
        return DSERR_OUTOFMEMORY;
    }
    *out = buffer;
    return DS_OK;
}

IDirectSoundBuffer* SoundBuffer_CreatePrimary(const WAVEFORMATEX& format, DWORD flags,
                                              DWORD level) {
    auto* buffer = new (std::nothrow) SoundBuffer(format, flags, true, level);
    if (!buffer) return nullptr;
    // The primary buffer mixes what plays; a second of it is what the device takes.
    if (!buffer->Allocate(format.nAvgBytesPerSec ? format.nAvgBytesPerSec : 4)) {
        buffer->Release();
        return nullptr;
    }
    return buffer;
}
