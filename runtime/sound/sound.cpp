// The sound library: DirectSound at the priority level on the shared window, and sounds made
// from WAVE images as static secondary buffers.
#include "runtime/sound/sound.h"

#include <cstring>

#include "platform/win32/loader.h"
#include "runtime/core/linked_block.h"
#include "runtime/core/object_table.h"
#include "runtime/screen/shared_window.h"

namespace {

struct SoundLibrary {
    ObjectTable* table;
    IDirectSound* direct_sound;
    HMODULE library;
    HWND window;
};
SoundLibrary g_sound;

using CreateProc = HRESULT (*)(const GUID*, IDirectSound**, void*);

constexpr DWORD kSoundFlags = DSBCAPS_STATIC | DSBCAPS_CTRLFREQUENCY | DSBCAPS_CTRLPAN |
                              DSBCAPS_CTRLVOLUME | DSBCAPS_GLOBALFOCUS |
                              DSBCAPS_GETCURRENTPOSITION2;
static_assert(kSoundFlags == 0x180E2);

void FreeSound(int32_t number) {
    Sound_Free(number);
}

}  // namespace

int32_t Sound_Init() {
    SoundLibrary& s = g_sound;
    // Made once: a second start keeps the sounds that exist.
    if (!s.table) s.table = ObjectTable_Create(sizeof(SoundRecord), 64, &FreeSound);
    // The shared hidden window is the device's cooperative window.
    s.window = SharedWindow_Create();
    if (!s.window) return 0;
    if (s.direct_sound) return 1;
    if (!s.library) s.library = LoadLibraryA("DSOUND.DLL");
    if (!s.library) return 0;
    auto create = reinterpret_cast<CreateProc>(GetProcAddress(s.library, "DirectSoundCreate"));
    if (!create) return 0;
    IDirectSound* direct_sound = nullptr;
    if (create(nullptr, &direct_sound, nullptr) != DS_OK || !direct_sound) return 0;
    s.direct_sound = direct_sound;
    if (s.direct_sound->SetCooperativeLevel(s.window, DSSCL_PRIORITY) != DS_OK) return 0;
    // The primary buffer is only made, not kept: making it proves the device works.
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(DSBUFFERDESC);
    desc.dwFlags = DSBCAPS_PRIMARYBUFFER;
    IDirectSoundBuffer* primary = nullptr;
    if (s.direct_sound->CreateSoundBuffer(&desc, &primary, nullptr) != DS_OK) return 0;
    primary->Release();
    return 1;
}

int32_t Sound_CreateFromMemory(int32_t number, const void* data, int32_t length) {
    SoundLibrary& s = g_sound;
    if (!data || !s.table || !s.direct_sound) return 0;
    WaveImage wave{};
    if (!Sound_ParseWave(data, length, &wave)) return 0;
    DSBUFFERDESC desc{};
    desc.dwSize = sizeof(DSBUFFERDESC);
    desc.dwFlags = kSoundFlags;
    desc.dwBufferBytes = wave.bytes;
    desc.lpwfxFormat = &wave.format;
    IDirectSoundBuffer* buffer = nullptr;
    if (s.direct_sound->CreateSoundBuffer(&desc, &buffer, nullptr) != DS_OK || !buffer) return 0;
    // The whole buffer is locked, so the samples arrive in one part.
    void* part1 = nullptr;
    DWORD bytes1 = 0;
    if (buffer->Lock(0, wave.bytes, &part1, &bytes1, nullptr, nullptr, 0) != DS_OK) {
        buffer->Release();
        return 0;
    }
    std::memcpy(part1, wave.samples, bytes1);
    // A sound that held the number before is freed by the table.
    int32_t dynamic_number = 0;
    auto* record =
        static_cast<SoundRecord*>(ObjectTable_Allocate(s.table, number, &dynamic_number));
    if (!record) {
        buffer->Unlock(part1, bytes1, nullptr, 0);
        buffer->Release();
        return 0;
    }
    record->buffer = buffer;
    LONG pan = 0;
    DWORD frequency = 0;
    LONG volume = 0;
    buffer->GetPan(&pan);
    buffer->GetFrequency(&frequency);
    buffer->GetVolume(&volume);
    record->pan = pan;
    record->frequency = frequency;
    record->volume = volume;
    buffer->Unlock(part1, bytes1, nullptr, 0);
    return number == -1 ? dynamic_number : 1;
}

void Sound_Free(int32_t number) {
    SoundLibrary& s = g_sound;
    if (!s.table) return;
    auto* record = static_cast<SoundRecord*>(ObjectTable_Get(s.table, number));
    if (!record) return;
    while (record->duplicates) {
        void* payload = LinkedBlock_PayloadOf(record->duplicates);
        IDirectSoundBuffer* duplicate = *static_cast<IDirectSoundBuffer**>(payload);
        if (duplicate) duplicate->Release();
        LinkedBlock_Remove(&record->duplicates, payload);
    }
    record->buffer->Release();
    ObjectTable_Release(s.table, number);
}

void Sound_End() {
    SoundLibrary& s = g_sound;
    if (s.table) ObjectTable_FreeAll(s.table);
    if (s.direct_sound) s.direct_sound->Release();
    if (s.library) FreeLibrary(s.library);
    // The table lives on the runtime heap, which ends with the program.
    s = SoundLibrary{};
}

ObjectTable* Sound_Table() {
    return g_sound.table;
}
