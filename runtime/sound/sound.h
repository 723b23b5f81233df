// Sound: the sound device (the program's test for a working sound card) and numbered sounds,
// each a DirectSound buffer holding the samples of a RIFF WAVE image.
#pragma once
#include <cstdint>

#include "platform/dsound/dsound.h"

struct ObjectTable;
struct LinkedBlockHeader;

struct SoundRecord {
    IDirectSoundBuffer* buffer;     // 0: the slot holds no sound
    LinkedBlockHeader* duplicates;  // buffers made from this one for overlapping playback
    int32_t pan;                    // as read at creation
    uint32_t frequency;
    int32_t volume;
    uint8_t unused[16];  // the rest of the record is not used by this program
};

// Non-zero when the sound device works.
int32_t Sound_Init();
// A sound from the RIFF WAVE image at `data` of `length` bytes, under `number` (-1: the library
// chooses and returns the number). Non-zero on success, 0 when the image is no usable WAVE
// within `length` bytes or the buffer cannot be made.
int32_t Sound_CreateFromMemory(int32_t number, const void* data, int32_t length);
void Sound_Free(int32_t number);
void Sound_End();
ObjectTable* Sound_Table();

// Where the samples of a WAVE image lie: the format and the data chunk. Pure, for tests.
struct WaveImage {
    WAVEFORMATEX format;
    const uint8_t* samples;
    uint32_t bytes;
};
// False when the image is not RIFF with a leading fmt chunk, or has no complete data chunk
// within `length` bytes. Extensible PCM of 8 or 16 bits comes out as plain PCM.
bool Sound_ParseWave(const void* data, int32_t length, WaveImage* out);
