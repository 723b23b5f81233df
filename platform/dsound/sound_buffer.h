// Sound buffers of the DirectSound stand-in: sample memory with its format, locking, and the
// pan, frequency and volume controls.
#pragma once
#include "platform/dsound/dsound.h"

// Uncompressed PCM the buffers hold: 8 or 16 bits, 1 or 2 channels, 100..200000 Hz, and the
// block size and byte rate that follow from them.
bool SoundBuffer_FormatIsPlayable(const WAVEFORMATEX& format);
// A secondary buffer of `bytes` of silence (0x80 for 8-bit, 0 for 16-bit).
HRESULT SoundBuffer_Create(const WAVEFORMATEX& format, DWORD flags, DWORD bytes,
                           IDirectSoundBuffer** out);
// The device's primary buffer at cooperative level `level`; null when out of memory.
IDirectSoundBuffer* SoundBuffer_CreatePrimary(const WAVEFORMATEX& format, DWORD flags, DWORD level);
