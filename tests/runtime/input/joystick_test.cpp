// Joystick detection: counting headless, the table, the shared DirectInput object.
#include "runtime/input/joystick.h"

#include <gtest/gtest.h>

#include "runtime/core/object_table.h"
#include "runtime/input/direct_input.h"
#include "tests/runtime/input/input_fixture.h"

namespace {

class JoystickTest : public InputTest {};

TEST_F(JoystickTest, HeadlessFindsNoneButMakesTheTable) {
    EXPECT_EQ(Joystick_Init(), 0);
    ASSERT_NE(Joystick_Table(), nullptr);
    EXPECT_EQ(Joystick_Table()->capacity, 16);
    EXPECT_EQ(Joystick_Table()->record_size, static_cast<int32_t>(sizeof(JoystickRecord)));
    ObjectTable_First(Joystick_Table());
    int32_t number = 0;
    EXPECT_EQ(ObjectTable_Next(Joystick_Table(), &number), nullptr);
    EXPECT_NE(DirectInput_Shared().direct_input, nullptr);
}

TEST_F(JoystickTest, SecondInitDoesNotAcquireDirectInputAgain) {
    Joystick_Init();
    EXPECT_EQ(DirectInput_Shared().users, 1);
    ObjectTable* table = Joystick_Table();
    EXPECT_EQ(Joystick_Init(), 0);
    EXPECT_EQ(DirectInput_Shared().users, 1);
    EXPECT_EQ(Joystick_Table(), table);
    Joystick_End();
    EXPECT_EQ(DirectInput_Shared().users, 0);
    EXPECT_EQ(DirectInput_Shared().direct_input, nullptr);
}

TEST_F(JoystickTest, KeyboardAndJoysticksShareOneObject) {
    ASSERT_NE(Keyboard_Init(), 0);
    IDirectInput7A* shared = DirectInput_Shared().direct_input;
    Joystick_Init();
    EXPECT_EQ(DirectInput_Shared().direct_input, shared);
    EXPECT_EQ(DirectInput_Shared().users, 2);
    Keyboard_End();
    EXPECT_EQ(DirectInput_Shared().direct_input, shared);
    Joystick_End();
    EXPECT_EQ(DirectInput_Shared().direct_input, nullptr);
}

TEST_F(JoystickTest, MissingDirectInputCountsNone) {
    setenv("KAVRO_MISSING", "dinput.dll", 1);
    Host_ReloadSettings();
    EXPECT_EQ(Joystick_Init(), 0);
    EXPECT_NE(Joystick_Table(), nullptr);
    EXPECT_EQ(DirectInput_Shared().users, 1);
}

TEST_F(JoystickTest, EndWithoutInitDoesNothing) {
    Joystick_End();
    EXPECT_EQ(DirectInput_Shared().users, 0);
}

}  // namespace
