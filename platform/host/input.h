// The desktop's keyboard and game controllers, as the DirectInput stand-in reads them.
// No SDL type crosses this header.
#pragma once
#include <cstdint>

// The keys down for this read: 256 bytes indexed by DirectInput scan code, 0x80 = down. A key
// is down while held, and once in the read after a press that was released before it (a tap
// shorter than a frame). The game controllers' keys are included (d-pad and left stick: the
// arrows; south and east buttons: Space; Back: Escape). Headless only the test hooks' keys and
// virtual controllers are down.
void Host_KeyboardSnapshot(uint8_t keys[256]);
// The DirectInput scan code of an SDL scan code, 0 for keys without one. For the key tables.
uint8_t Host_ScanFromSdl(int32_t sdl_scancode);

// Game controllers attached now. Headless there are none, so runs do not depend on the machine.
int32_t Host_JoystickCount();
// A stable name of controller `index` (for the device's instance), or null.
const char* Host_JoystickName(int32_t index);

// What a controller reports now. Axes -32768..32767; hats in hundredths of a degree clockwise
// from north, or -1 when centred; buttons 0x80 when pressed.
struct HostJoystickState {
    int32_t axis_count;
    int32_t button_count;
    int32_t hat_count;
    int16_t axes[8];
    uint8_t buttons[32];
    int32_t hats[4];
};
// False when controller `index` is gone.
bool Host_JoystickRead(int32_t index, HostJoystickState* state);
