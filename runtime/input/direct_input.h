// The DirectInput object shared by the keyboard and the joysticks: loaded and created by its
// first user, released when its last user lets go.
#pragma once
#include <cstdint>

#include "platform/dinput/dinput.h"

struct DirectInputShared {
    IDirectInput7A* direct_input;  // 0 when not created
    HMODULE library;               // the loaded "DINPUT.DLL"
    int32_t users;                 // Acquire calls not yet matched by Release
};

// The shared object or 0; counts one more user in every case.
IDirectInput7A* DirectInput_Acquire();
void DirectInput_Release();
const DirectInputShared& DirectInput_Shared();
