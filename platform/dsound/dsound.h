// DirectSound stand-in: the sound device over the host's audio device, and sound buffers holding
// PCM samples in the program's format, with pan, frequency and volume.
#pragma once
#include <cstdint>

#include "platform/win32/guid.h"
#include "platform/win32/types.h"

using ULONG = uint32_t;

#pragma pack(push, 1)
// The sample format, laid out as in a WAVE file's fmt chunk (18 bytes).
struct WAVEFORMATEX {
    WORD wFormatTag;
    WORD nChannels;
    DWORD nSamplesPerSec;
    DWORD nAvgBytesPerSec;
    WORD nBlockAlign;
    WORD wBitsPerSample;
    WORD cbSize;
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);
constexpr WORD WAVE_FORMAT_PCM = 1;

struct DSBUFFERDESC {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwBufferBytes;
    DWORD dwReserved;
    WAVEFORMATEX* lpwfxFormat;
    uint8_t guid3DAlgorithm[16];
};

constexpr DWORD DSBCAPS_PRIMARYBUFFER = 0x00000001;
constexpr DWORD DSBCAPS_STATIC = 0x00000002;
constexpr DWORD DSBCAPS_LOCHARDWARE = 0x00000004;
constexpr DWORD DSBCAPS_LOCSOFTWARE = 0x00000008;
constexpr DWORD DSBCAPS_CTRL3D = 0x00000010;
constexpr DWORD DSBCAPS_CTRLFREQUENCY = 0x00000020;
constexpr DWORD DSBCAPS_CTRLPAN = 0x00000040;
constexpr DWORD DSBCAPS_CTRLVOLUME = 0x00000080;
constexpr DWORD DSBCAPS_CTRLPOSITIONNOTIFY = 0x00000100;
constexpr DWORD DSBCAPS_STICKYFOCUS = 0x00004000;
constexpr DWORD DSBCAPS_GLOBALFOCUS = 0x00008000;
constexpr DWORD DSBCAPS_GETCURRENTPOSITION2 = 0x00010000;

constexpr DWORD DSSCL_NORMAL = 1;
constexpr DWORD DSSCL_PRIORITY = 2;
constexpr DWORD DSSCL_EXCLUSIVE = 3;
constexpr DWORD DSSCL_WRITEPRIMARY = 4;

constexpr DWORD DSBLOCK_FROMWRITECURSOR = 0x1;
constexpr DWORD DSBLOCK_ENTIREBUFFER = 0x2;

constexpr LONG DSBPAN_LEFT = -10000;
constexpr LONG DSBPAN_RIGHT = 10000;
constexpr LONG DSBVOLUME_MIN = -10000;
constexpr LONG DSBVOLUME_MAX = 0;
constexpr DWORD DSBFREQUENCY_MIN = 100;
constexpr DWORD DSBFREQUENCY_MAX = 200000;
constexpr DWORD DSBFREQUENCY_ORIGINAL = 0;
constexpr DWORD DSBSIZE_MIN = 4;
constexpr DWORD DSBSIZE_MAX = 0x0FFFFFFF;

constexpr HRESULT DS_OK = S_OK;
constexpr HRESULT DSERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DSERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DSERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr HRESULT DSERR_NODRIVER = static_cast<HRESULT>(0x88780078u);
constexpr HRESULT DSERR_BADFORMAT = static_cast<HRESULT>(0x88780064u);
constexpr HRESULT DSERR_CONTROLUNAVAIL = static_cast<HRESULT>(0x8878001Eu);
constexpr HRESULT DSERR_PRIOLEVELNEEDED = static_cast<HRESULT>(0x88780046u);
constexpr HRESULT DSERR_INVALIDCALL = static_cast<HRESULT>(0x88780032u);
constexpr HRESULT DSERR_UNINITIALIZED = static_cast<HRESULT>(0x887800AAu);

class IDirectSoundBuffer {
  public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    // Gives the buffer's memory from `offset` for `bytes` (the whole buffer with
    // DSBLOCK_ENTIREBUFFER): a first part and, when the range wraps, a second part from 0.
    // One lock at a time; the primary buffer cannot be locked at the priority level.
    virtual HRESULT Lock(DWORD offset, DWORD bytes, LPVOID* part1, DWORD* bytes1, LPVOID* part2,
                         DWORD* bytes2, DWORD flags) = 0;
    // Must give back the parts of the lock.
    virtual HRESULT Unlock(LPVOID part1, DWORD bytes1, LPVOID part2, DWORD bytes2) = 0;
    // Each needs the matching DSBCAPS_CTRL* flag of the buffer.
    virtual HRESULT GetPan(LONG* pan) = 0;
    virtual HRESULT GetFrequency(DWORD* frequency) = 0;
    virtual HRESULT GetVolume(LONG* volume) = 0;
    virtual HRESULT SetPan(LONG pan) = 0;
    virtual HRESULT SetFrequency(DWORD frequency) = 0;
    virtual HRESULT SetVolume(LONG volume) = 0;
    // The sample format (the device's for the primary buffer).
    virtual HRESULT GetFormat(WAVEFORMATEX* format, DWORD size, DWORD* written) = 0;

  protected:
    virtual ~IDirectSoundBuffer() = default;
};

class IDirectSound {
  public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    // A window of the program and one of the DSSCL_* levels.
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD level) = 0;
    // The primary buffer (no size, no format) or a secondary buffer of PCM samples
    // (8 or 16 bits, 1 or 2 channels, 100 to 200000 Hz, DSBSIZE_MIN..DSBSIZE_MAX bytes).
    // Needs the cooperative level set.
    virtual HRESULT CreateSoundBuffer(const DSBUFFERDESC* desc, IDirectSoundBuffer** buffer,
                                      void* outer) = 0;

  protected:
    virtual ~IDirectSound() = default;
};

// Exported by "dsound.dll". Succeeds only when the host's default audio device opens; `device`
// must be null (the default device).
HRESULT DirectSoundCreate(const GUID* device, IDirectSound** out, void* outer);
// The loader's test of whether the library is present: the host has an audio driver.
bool DirectSound_Available();
