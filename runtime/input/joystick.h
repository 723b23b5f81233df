// Joystick detection: the attached game controllers opened as DirectInput devices with
// absolute axes and an X/Y range of -1000..1000, and counted.
#pragma once
#include <cstdint>

#include "platform/dinput/dinput.h"

struct ObjectTable;

struct JoystickRecord {
    IDirectInputDevice7A* device;  // non-zero while the joystick is open
    uint8_t unused[80];            // the rest of the record is not used by this program
};

// The number of joysticks opened (0 with none attached or without DirectInput).
int32_t Joystick_Init();
void Joystick_End();
ObjectTable* Joystick_Table();
