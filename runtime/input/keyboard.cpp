// The keyboard library: the device with the keyboard data format, acquired on the screen
// window at the first poll, one snapshot per poll.
#include "runtime/input/keyboard.h"

#include <cstring>

#include "platform/win32/heap.h"
#include "platform/win32/window.h"
#include "runtime/core/program.h"
#include "runtime/input/direct_input.h"
#include "runtime/screen/shared_window.h"

namespace {

KeyboardLibrary g_keyboard;

constexpr DWORD kKeyboardLevel = DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_NOWINKEY;

// The window the open screen renders into: the shared window, which the full-screen screen
// shows while it is open and hides when it closes.
HWND ScreenWindow() {
    HWND window = SharedWindow_Handle();
    return window && IsWindowVisible(window) ? window : nullptr;
}

}  // namespace

int32_t Keyboard_Init() {
    KeyboardLibrary& k = g_keyboard;
    IDirectInput7A* direct_input = DirectInput_Acquire();
    k.started = 1;
    if (!direct_input) return 0;
    if (k.device_state != 0) return 1;
    // One object per key: an optional button whose instance is its scan code.
    if (!k.object_formats) {
        k.object_formats = static_cast<DIOBJECTDATAFORMAT*>(
            HeapAlloc(Runtime_Heap(), 0, 256 * sizeof(DIOBJECTDATAFORMAT)));
        if (k.object_formats) {
            for (DWORD i = 0; i < 256; ++i) {
                k.object_formats[i] = DIOBJECTDATAFORMAT{
                    &GUID_Key, i, DIDFT_OPTIONAL | DIDFT_BUTTON | DIDFT_MAKEINSTANCE(i), 0};
            }
        }
    }
    DIDATAFORMAT format{sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), DIDF_RELAXIS, 256, 256,
                        k.object_formats};
    if (!k.device) {
        void* device = nullptr;
        if (direct_input->CreateDeviceEx(GUID_SysKeyboard, IID_IDirectInputDevice7A, &device,
                                         nullptr) != DI_OK ||
            !device) {
            return 0;
        }
        k.device = static_cast<IDirectInputDevice7A*>(device);
    }
    if (k.device->SetDataFormat(&format) != DI_OK) return 0;
    // Set up; the cooperative level and acquisition wait for the first poll, when the screen's
    // window exists.
    k.device_state = 1;
    return 1;
}

int32_t Keyboard_Poll() {
    KeyboardLibrary& k = g_keyboard;
    if (k.device_state == 0 || !k.device) return 0;
    // The first poll after start-up or a lost device acquires it on the screen's window.
    if (k.device_state == 1) {
        k.device->SetCooperativeLevel(ScreenWindow(), kKeyboardLevel);
        k.device->Acquire();
        k.device_state = 2;
    }
    // A failed read acquires anew at the next poll.
    if (k.device->GetDeviceState(sizeof(k.KeyboardState), k.KeyboardState) == DI_OK) return 1;
    k.device_state = 1;
    return 0;
}

int32_t Keyboard_IsDown(int32_t key) {
    const KeyboardLibrary& k = g_keyboard;
    if (k.device_state != 2) return 0;
    if (key == -1) {
        for (int i = 0; i < 255; ++i) {
            if (k.KeyboardState[i] & 0x80) return 1;
        }
        return 0;
    }
    // Codes outside the table are no keys.
    if (key < 0 || key > 255) return 0;
    return k.KeyboardState[key] & 0x80;
}

void Keyboard_End() {
    KeyboardLibrary& k = g_keyboard;
    if (!k.started) return;
    if (k.device) {
        k.device->Unacquire();
        k.device->Release();
        k.device = nullptr;
    }
    DirectInput_Release();
    if (k.object_formats) HeapFree(Runtime_Heap(), 0, k.object_formats);
    // Back to the state before the first Keyboard_Init.
    k = KeyboardLibrary{};
}

const KeyboardLibrary& Keyboard_Library() {
    return g_keyboard;
}
