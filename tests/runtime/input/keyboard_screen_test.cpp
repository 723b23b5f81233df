// The keyboard with the real full-screen screen: its window is the cooperative window, and a
// switch away from the program (focus lost in the screen's message pump) costs one poll.
#include <gtest/gtest.h>

#include "platform/host/test_hooks.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/shared_window.h"
#include "tests/runtime/input/input_fixture.h"

namespace {

class KeyboardScreenTest : public InputTest {
  protected:
    void TearDown() override {
        Sprite_End();
        InputTest::TearDown();
    }
};

TEST_F(KeyboardScreenTest, FocusLossInTheFlipCostsOnePoll) {
    UseScript("1-10 Right\n");
    ASSERT_EQ(Sprite_Init(), 1);
    ASSERT_NE(Keyboard_Init(), 0);
    ASSERT_EQ(Screen_Open(640, 480, 32, "Xolm - DX 9 Jump\xB4n Run", 0), 1);
    HWND screen = SharedWindow_Handle();
    ASSERT_NE(screen, nullptr);
    EXPECT_TRUE(IsWindowVisible(screen));
    EXPECT_EQ(GetForegroundWindow(), screen);
    ASSERT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(0xCD), 128);
    Screen_Flip();
    Host_SimulateFocus(screen, false);
    Screen_Flip();  // the pump delivers WM_ACTIVATE
    EXPECT_EQ(Keyboard_Poll(), 0);
    EXPECT_EQ(Keyboard_IsDown(0xCD), 0);
    Host_SimulateFocus(screen, true);
    Screen_Flip();
    EXPECT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(0xCD), 128);
}

}  // namespace
