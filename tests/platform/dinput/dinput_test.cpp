// The DirectInput stand-in: creation checks, the keyboard device's data format, cooperative
// levels, acquisition and the foreground rule, and enumeration.
#include "platform/dinput/dinput.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/host/test_hooks.h"
#include "platform/win32/messages.h"
#include "tests/runtime/input/input_fixture.h"

namespace {

class DInputTest : public InputTest {
  protected:
    void SetUp() override {
        InputTest::SetUp();
        void* object = nullptr;
        ASSERT_EQ(DirectInputCreateEx(GetModuleHandleA(nullptr), 0x0700, IID_IDirectInput7A,
                                      &object, nullptr),
                  DI_OK);
        di_ = static_cast<IDirectInput7A*>(object);
    }
    void TearDown() override {
        if (keyboard_) keyboard_->Release();
        if (di_) di_->Release();
        InputTest::TearDown();
    }
    IDirectInputDevice7A* MakeKeyboard() {
        void* device = nullptr;
        EXPECT_EQ(di_->CreateDeviceEx(GUID_SysKeyboard, IID_IDirectInputDevice7A, &device, nullptr),
                  DI_OK);
        keyboard_ = static_cast<IDirectInputDevice7A*>(device);
        return keyboard_;
    }
    IDirectInput7A* di_ = nullptr;
    IDirectInputDevice7A* keyboard_ = nullptr;
};

TEST_F(DInputTest, CreationChecksVersionInterfaceAndInstance) {
    void* object = reinterpret_cast<void*>(1);
    HINSTANCE module = GetModuleHandleA(nullptr);
    EXPECT_EQ(DirectInputCreateEx(module, 0x0800, IID_IDirectInput7A, &object, nullptr),
              DIERR_BETADIRECTINPUTVERSION);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(DirectInputCreateEx(module, 0x0200, IID_IDirectInput7A, &object, nullptr),
              DIERR_OLDDIRECTINPUTVERSION);
    EXPECT_EQ(DirectInputCreateEx(module, 0x0700, IID_IDirectInputDevice7A, &object, nullptr),
              DIERR_NOINTERFACE);
    EXPECT_EQ(DirectInputCreateEx(nullptr, 0x0700, IID_IDirectInput7A, &object, nullptr),
              DIERR_INVALIDPARAM);
    EXPECT_EQ(DirectInputCreateEx(module, 0x0700, IID_IDirectInput7A, nullptr, nullptr),
              DIERR_INVALIDPARAM);
    void* device = nullptr;
    EXPECT_EQ(di_->CreateDeviceEx(GUID_SysMouse, IID_IDirectInputDevice7A, &device, nullptr),
              DIERR_DEVICENOTREG);
    EXPECT_EQ(di_->CreateDeviceEx(GUID_SysKeyboard, IID_IDirectInput7A, &device, nullptr),
              DIERR_NOINTERFACE);
}

TEST_F(DInputTest, KeyboardNeedsAFormatAndAcquisitionBeforeReading) {
    IDirectInputDevice7A* k = MakeKeyboard();
    uint8_t keys[256];
    EXPECT_EQ(k->GetDeviceState(256, keys), DIERR_INVALIDPARAM);
    EXPECT_EQ(k->Acquire(), DIERR_INVALIDPARAM);
    ASSERT_EQ(k->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    EXPECT_EQ(k->GetDeviceState(256, keys), DIERR_NOTACQUIRED);
    ASSERT_EQ(k->Acquire(), DI_OK);
    EXPECT_EQ(k->Acquire(), S_FALSE);
    EXPECT_EQ(k->GetDeviceState(255, keys), DIERR_INVALIDPARAM);
    EXPECT_EQ(k->GetDeviceState(256, nullptr), DIERR_INVALIDPARAM);
    EXPECT_EQ(k->GetDeviceState(256, keys), DI_OK);
    EXPECT_EQ(k->SetDataFormat(&c_dfDIKeyboard), DIERR_ACQUIRED);
    EXPECT_EQ(k->SetCooperativeLevel(nullptr, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND),
              DIERR_ACQUIRED);
    EXPECT_EQ(k->Unacquire(), DI_OK);
    EXPECT_EQ(k->Unacquire(), DI_NOEFFECT);
}

TEST_F(DInputTest, FormatsAreCheckedBeforeUse) {
    IDirectInputDevice7A* k = MakeKeyboard();
    DIDATAFORMAT f = c_dfDIKeyboard;
    f.dwSize = 24;
    EXPECT_EQ(k->SetDataFormat(&f), DIERR_INVALIDPARAM);
    f = c_dfDIKeyboard;
    f.rgodf = nullptr;
    EXPECT_EQ(k->SetDataFormat(&f), DIERR_INVALIDPARAM);
    f = c_dfDIKeyboard;
    f.dwDataSize = 255;
    EXPECT_EQ(k->SetDataFormat(&f), DIERR_INVALIDPARAM);
    // An object past the end of the data.
    DIOBJECTDATAFORMAT objects[1] = {{&GUID_Key, 8, DIDFT_BUTTON | DIDFT_MAKEINSTANCE(1), 0}};
    DIDATAFORMAT small{sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 0, 8, 1, objects};
    EXPECT_EQ(k->SetDataFormat(&small), DIERR_INVALIDPARAM);
    // A keyboard has no axes, and a required object it lacks is refused.
    objects[0] = {&GUID_XAxis, 0, DIDFT_AXIS | DIDFT_ANYINSTANCE, 0};
    EXPECT_EQ(k->SetDataFormat(&small), DIERR_INVALIDPARAM);
    objects[0].dwType |= DIDFT_OPTIONAL;
    EXPECT_EQ(k->SetDataFormat(&small), DI_OK);
    EXPECT_EQ(k->SetDataFormat(nullptr), DIERR_INVALIDPARAM);
}

TEST_F(DInputTest, ScriptedKeysLandAtTheirFormatOffsets) {
    UseScript("1 Escape Right\n");
    IDirectInputDevice7A* k = MakeKeyboard();
    // Two keys only, swapped into a four-byte block.
    DIOBJECTDATAFORMAT objects[2] = {{&GUID_Key, 2, DIDFT_BUTTON | DIDFT_MAKEINSTANCE(0xCD), 0},
                                     {&GUID_Key, 0, DIDFT_BUTTON | DIDFT_MAKEINSTANCE(0x01), 0}};
    DIDATAFORMAT f{sizeof(DIDATAFORMAT), sizeof(DIOBJECTDATAFORMAT), 0, 4, 2, objects};
    ASSERT_EQ(k->SetDataFormat(&f), DI_OK);
    ASSERT_EQ(k->Acquire(), DI_OK);
    uint8_t data[4] = {9, 9, 9, 9};
    ASSERT_EQ(k->GetDeviceState(4, data), DI_OK);
    EXPECT_EQ(data[0], 0x80);
    EXPECT_EQ(data[1], 0);
    EXPECT_EQ(data[2], 0x80);
    EXPECT_EQ(data[3], 0);
}

TEST_F(DInputTest, CooperativeLevelsAreChecked) {
    IDirectInputDevice7A* k = MakeKeyboard();
    HWND screen = OpenScreenWindow();
    EXPECT_EQ(k->SetCooperativeLevel(screen, DISCL_NONEXCLUSIVE), DIERR_INVALIDPARAM);
    EXPECT_EQ(
        k->SetCooperativeLevel(screen, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
        DIERR_INVALIDPARAM);
    EXPECT_EQ(
        k->SetCooperativeLevel(screen, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND | DISCL_NOWINKEY),
        DIERR_INVALIDPARAM);
    EXPECT_EQ(k->SetCooperativeLevel(nullptr, 0x16), E_HANDLE);
    EXPECT_EQ(k->SetCooperativeLevel(screen, 0x16), DI_OK);
}

TEST_F(DInputTest, ForegroundDeviceFollowsTheWindowsFocus) {
    IDirectInputDevice7A* k = MakeKeyboard();
    HWND screen = OpenScreenWindow();
    ASSERT_EQ(k->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    ASSERT_EQ(k->SetCooperativeLevel(screen, 0x16), DI_OK);
    ASSERT_EQ(k->Acquire(), DI_OK);
    uint8_t keys[256];
    ASSERT_EQ(k->GetDeviceState(256, keys), DI_OK);
    Host_SimulateFocus(screen, false);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_EQ(k->GetDeviceState(256, keys), DIERR_INPUTLOST);
    EXPECT_EQ(k->GetDeviceState(256, keys), DIERR_NOTACQUIRED);
    EXPECT_EQ(k->Acquire(), DIERR_OTHERAPPHASPRIO);
    Host_SimulateFocus(screen, true);
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
    EXPECT_EQ(k->Acquire(), DI_OK);
    EXPECT_EQ(k->GetDeviceState(256, keys), DI_OK);
}

TEST_F(DInputTest, EnumerationReportsTheKeyboardAndNoControllersHeadless) {
    std::vector<DWORD> types;
    auto collect = [](const DIDEVICEINSTANCEA* d, LPVOID ref) -> BOOL {
        static_cast<std::vector<DWORD>*>(ref)->push_back(d->dwDevType & 0xFF);
        EXPECT_EQ(d->dwSize, sizeof(DIDEVICEINSTANCEA));
        return DIENUM_CONTINUE;
    };
    ASSERT_EQ(di_->EnumDevices(0, collect, &types, DIEDFL_ATTACHEDONLY), DI_OK);
    EXPECT_EQ(types, (std::vector<DWORD>{DIDEVTYPE_KEYBOARD}));
    types.clear();
    ASSERT_EQ(di_->EnumDevices(DIDEVTYPE_JOYSTICK, collect, &types, DIEDFL_ATTACHEDONLY), DI_OK);
    EXPECT_TRUE(types.empty());
    EXPECT_EQ(di_->EnumDevices(0, nullptr, nullptr, 0), DIERR_INVALIDPARAM);
    EXPECT_EQ(di_->EnumDevices(0, collect, &types, 0x80), DIERR_INVALIDPARAM);
    // An instance no controller has.
    void* device = nullptr;
    GUID stranger = GUID_SysKeyboard;
    stranger.Data1 ^= 0x1234;
    EXPECT_EQ(di_->CreateDeviceEx(stranger, IID_IDirectInputDevice7A, &device, nullptr),
              DIERR_DEVICENOTREG);
}

TEST(DInputFormatTest, JoystickFormatIsThePublishedOne) {
    EXPECT_EQ(c_dfDIJoystick.dwFlags, DIDF_ABSAXIS);
    EXPECT_EQ(c_dfDIJoystick.dwDataSize, 80u);
    ASSERT_EQ(c_dfDIJoystick.dwNumObjs, 44u);
    EXPECT_EQ(*c_dfDIJoystick.rgodf[0].pguid, GUID_XAxis);
    EXPECT_EQ(c_dfDIJoystick.rgodf[1].dwOfs, 4u);
    EXPECT_EQ(c_dfDIJoystick.rgodf[7].dwOfs, 28u);
    EXPECT_EQ(*c_dfDIJoystick.rgodf[8].pguid, GUID_POV);
    EXPECT_EQ(c_dfDIJoystick.rgodf[12].dwOfs, 48u);
    EXPECT_EQ(c_dfDIJoystick.rgodf[43].dwOfs, 79u);
    for (DWORD i = 0; i < 44; ++i) {
        EXPECT_TRUE(c_dfDIJoystick.rgodf[i].dwType & DIDFT_OPTIONAL);
    }
    EXPECT_EQ(c_dfDIKeyboard.dwFlags, DIDF_RELAXIS);
    EXPECT_EQ(c_dfDIKeyboard.rgodf[0xC8].dwType, 0x8000000Cu | (0xC8u << 8));
}

}  // namespace
