// The keyboard: one 256-byte snapshot per frame, indexed by DirectInput scan code (bit 7 set =
// key down), read through a DirectInput keyboard device.
#pragma once
#include <cstdint>

#include "platform/dinput/dinput.h"

struct KeyboardLibrary {
    int32_t started;       // 1 after the first Keyboard_Init, whether or not it succeeded
    int32_t device_state;  // 0 no device, 1 created with its format, 2 acquired and last read ok
    IDirectInputDevice7A* device;
    DIOBJECTDATAFORMAT* object_formats;  // 256 entries on the runtime heap
    uint8_t KeyboardState[256];
};

// Non-zero when the keyboard can be used.
int32_t Keyboard_Init();
// 1 when a fresh snapshot was read, 0 when reading failed.
int32_t Keyboard_Poll();
// 128 when scan code `key` (0..255) is down in the last snapshot; for -1, 1 when any key
// 0..254 is down. 0 for every other code, and unless the last poll succeeded.
int32_t Keyboard_IsDown(int32_t key);
void Keyboard_End();
const KeyboardLibrary& Keyboard_Library();
