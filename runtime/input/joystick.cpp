// The joystick library: enumerates the attached controllers and opens each with the joystick
// data format and the -1000..1000 range on X and Y.
#include "runtime/input/joystick.h"

#include "runtime/core/object_table.h"
#include "runtime/input/direct_input.h"

namespace {

struct JoystickLibrary {
    ObjectTable* table;
    IDirectInput7A* direct_input;  // kept from the first Joystick_Init
    int32_t joystick_count;
};
JoystickLibrary g_joysticks;

void FreeJoystick(int32_t number) {
    auto* j = static_cast<JoystickRecord*>(ObjectTable_Get(g_joysticks.table, number));
    if (!j) return;
    j->device->Unacquire();
    j->device->Release();
    ObjectTable_Release(g_joysticks.table, number);
}

HRESULT SetAxisRange(IDirectInputDevice7A* device, DWORD offset) {
    DIPROPRANGE range{};
    range.diph.dwSize = sizeof(DIPROPRANGE);
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwObj = offset;
    range.diph.dwHow = DIPH_BYOFFSET;
    range.lMin = -1000;
    range.lMax = 1000;
    return device->SetProperty(DIPROP_RANGE(), &range.diph);
}

BOOL OpenOne(const DIDEVICEINSTANCEA* instance, LPVOID ref) {
    auto* direct_input = static_cast<IDirectInput7A*>(ref);
    void* created = nullptr;
    if (direct_input->CreateDeviceEx(instance->guidInstance, IID_IDirectInputDevice7A, &created,
                                     nullptr) != DI_OK ||
        !created) {
        return DIENUM_CONTINUE;
    }
    auto* device = static_cast<IDirectInputDevice7A*>(created);
    // The record takes the next joystick number.
    auto* record = static_cast<JoystickRecord*>(
        ObjectTable_Allocate(g_joysticks.table, g_joysticks.joystick_count));
    bool ok = record && device->SetDataFormat(&c_dfDIJoystick) == DI_OK &&
              SetAxisRange(device, 0) == DI_OK && SetAxisRange(device, 4) == DI_OK;
    // A device that cannot be set up is passed over.
    if (!ok) {
        device->Release();
        return DIENUM_CONTINUE;
    }
    ++g_joysticks.joystick_count;
    record->device = device;
    device->Acquire();
    return DIENUM_CONTINUE;
}

}  // namespace

int32_t Joystick_Init() {
    JoystickLibrary& j = g_joysticks;
    // Every detection starts from an empty table.
    if (!j.table) {
        j.direct_input = DirectInput_Acquire();
        j.table = ObjectTable_Create(sizeof(JoystickRecord), 16, &FreeJoystick);
    } else {
        ObjectTable_FreeAll(j.table);
    }
    if (!j.direct_input || !j.table) return 0;
    j.joystick_count = 0;
    HRESULT r = j.direct_input->EnumDevices(DIDEVTYPE_JOYSTICK, &OpenOne, j.direct_input,
                                            DIEDFL_ATTACHEDONLY);
    return r == DI_OK ? j.joystick_count : 0;
}

void Joystick_End() {
    JoystickLibrary& j = g_joysticks;
    if (!j.table) return;
    ObjectTable_FreeAll(j.table);
    DirectInput_Release();
    // The table lives on the runtime heap, which ends with the program; forget it so that a
    // later start begins anew.
    j = JoystickLibrary{};
}

ObjectTable* Joystick_Table() {
    return g_joysticks.table;
}
