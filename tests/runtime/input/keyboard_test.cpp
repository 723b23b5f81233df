// The keyboard library: snapshots per poll, key codes, the foreground rule, the shared
// DirectInput object, and missing DirectInput.
#include "runtime/input/keyboard.h"

#include <gtest/gtest.h>

#include "platform/host/test_hooks.h"
#include "platform/win32/loader.h"
#include "platform/win32/messages.h"
#include "runtime/input/direct_input.h"
#include "tests/runtime/input/input_fixture.h"

namespace {

class KeyboardTest : public InputTest {};

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

TEST_F(KeyboardTest, PressedKeyReadsOneHundredTwentyEight) {
    UseScript("1-2 Right\n2 Space\n");
    OpenScreenWindow();
    ASSERT_NE(Keyboard_Init(), 0);
    ASSERT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(0xCD), 128);
    EXPECT_EQ(Keyboard_IsDown(0x39), 0);
    EXPECT_EQ(Keyboard_IsDown(0xCB), 0);
    EXPECT_EQ(Keyboard_IsDown(-1), 1);
    ASSERT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(0x39), 128);
    ASSERT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(0xCD), 0);
    EXPECT_EQ(Keyboard_IsDown(-1), 0);
}

TEST_F(KeyboardTest, AnyKeyIgnoresCode255) {
    UseScript("1 0xFF\n2 0xFE\n");
    OpenScreenWindow();
    ASSERT_NE(Keyboard_Init(), 0);
    ASSERT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(255), 128);
    EXPECT_EQ(Keyboard_IsDown(-1), 0);
    ASSERT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(-1), 1);
}

TEST_F(KeyboardTest, CodesOutsideTheTableAreNoKeys) {
    UseScript("1-5 0x01 0xFF\n");
    OpenScreenWindow();
    ASSERT_NE(Keyboard_Init(), 0);
    ASSERT_EQ(Keyboard_Poll(), 1);
    for (int32_t key : {256, 257, -2, 1000, INT32_MIN, INT32_MAX}) {
        EXPECT_EQ(Keyboard_IsDown(key), 0) << key;
    }
    EXPECT_EQ(Keyboard_IsDown(1), 128);
}

TEST_F(KeyboardTest, NothingIsDownBeforeTheFirstPoll) {
    UseScript("1-100 Escape Right\n");
    OpenScreenWindow();
    EXPECT_EQ(Keyboard_IsDown(0x01), 0);
    ASSERT_NE(Keyboard_Init(), 0);
    EXPECT_EQ(Keyboard_Library().device_state, 1);
    EXPECT_EQ(Keyboard_IsDown(0x01), 0);
    EXPECT_EQ(Keyboard_IsDown(-1), 0);
}

TEST_F(KeyboardTest, LosingTheForegroundFailsOnePollThenReacquires) {
    UseScript("1-100 Right\n");
    HWND screen = OpenScreenWindow();
    ASSERT_NE(Keyboard_Init(), 0);
    ASSERT_EQ(Keyboard_Poll(), 1);
    ASSERT_EQ(Keyboard_IsDown(0xCD), 128);
    Host_SimulateFocus(screen, false);
    Pump();
    EXPECT_EQ(Keyboard_Poll(), 0);
    EXPECT_EQ(Keyboard_IsDown(0xCD), 0);
    EXPECT_EQ(Keyboard_IsDown(-1), 0);
    // While away, every poll fails.
    EXPECT_EQ(Keyboard_Poll(), 0);
    Host_SimulateFocus(screen, true);
    Pump();
    EXPECT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(0xCD), 128);
    EXPECT_EQ(Keyboard_Library().device_state, 2);
}

TEST_F(KeyboardTest, SecondInitCountsAUserButMakesNoDevice) {
    OpenScreenWindow();
    ASSERT_NE(Keyboard_Init(), 0);
    IDirectInputDevice7A* device = Keyboard_Library().device;
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(DirectInput_Shared().users, 1);
    EXPECT_NE(Keyboard_Init(), 0);
    EXPECT_EQ(Keyboard_Library().device, device);
    EXPECT_EQ(DirectInput_Shared().users, 2);
    Keyboard_End();
    // One release for the library: the second user keeps the object.
    EXPECT_EQ(DirectInput_Shared().users, 1);
    EXPECT_NE(DirectInput_Shared().direct_input, nullptr);
    DirectInput_Release();
    EXPECT_EQ(DirectInput_Shared().direct_input, nullptr);
    EXPECT_EQ(Loader_ReferenceCount("dinput.dll"), 0);
}

TEST_F(KeyboardTest, HeadlessWithoutScriptNoKeyIsDown) {
    OpenScreenWindow();
    ASSERT_NE(Keyboard_Init(), 0);
    ASSERT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(-1), 0);
}

TEST_F(KeyboardTest, WithoutAScreenTheKeyboardReadsInTheBackground) {
    UseScript("1 Left\n");
    ASSERT_NE(Keyboard_Init(), 0);
    ASSERT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(0xCB), 128);
}

TEST_F(KeyboardTest, MissingDirectInputMeansNoKeyboard) {
    setenv("KAVRO_MISSING", "DINPUT.DLL", 1);
    Host_ReloadSettings();
    OpenScreenWindow();
    EXPECT_EQ(Keyboard_Init(), 0);
    EXPECT_EQ(Keyboard_Library().started, 1);
    EXPECT_EQ(Keyboard_Poll(), 0);
    EXPECT_EQ(Keyboard_IsDown(-1), 0);
    EXPECT_EQ(DirectInput_Shared().users, 1);
    Keyboard_End();
    EXPECT_EQ(DirectInput_Shared().users, 0);
    EXPECT_EQ(Loader_ReferenceCount("dinput.dll"), 0);
}

TEST_F(KeyboardTest, EndWithoutInitDoesNothing) {
    Keyboard_End();
    EXPECT_EQ(DirectInput_Shared().users, 0);
}

TEST_F(KeyboardTest, RecordingWritesWhatThePollsRead) {
    UseScript("1-3 Right\n3 Space\n");
    std::string record = TempPath("kavro-keyboard-record.keys");
    setenv("KAVRO_RECORD", record.c_str(), 1);
    Host_ReloadSettings();
    OpenScreenWindow();
    ASSERT_NE(Keyboard_Init(), 0);
    for (int i = 0; i < 4; ++i) ASSERT_EQ(Keyboard_Poll(), 1);
    Keyboard_End();
    std::ifstream in(record);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("\n1-2 Right\n3 Space Right\n"), std::string::npos) << text;
    std::remove(record.c_str());
}

TEST_F(KeyboardTest, MalformedScriptEndsTheRunNamingTheLine) {
    UseScript("1-10 Right\n# fine so far\n12 Rihgt\n");
    OpenScreenWindow();
    EXPECT_EXIT(Keyboard_Init(), ::testing::ExitedWithCode(2),
                "KAVRO_KEYS: .*kavro-input-test.keys line 3: unknown key \"Rihgt\"");
}

TEST_F(KeyboardTest, UnreadableScriptEndsTheRun) {
    setenv("KAVRO_KEYS", "/nonexistent/route.keys", 1);
    Host_ReloadSettings();
    EXPECT_EXIT(Keyboard_Init(), ::testing::ExitedWithCode(2),
                "KAVRO_KEYS: cannot read the keyboard script /nonexistent/route.keys");
}

}  // namespace
