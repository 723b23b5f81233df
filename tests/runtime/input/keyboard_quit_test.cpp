// Requests to end the program reach the game as its quit key: the desktop closing the screen
// window, SIGINT and SIGTERM each make the next read hold Escape, with a keyboard script too and
// while the window is in the background; a tap between two reads is seen once.
#include <signal.h>

#include <functional>

#include "platform/host/quit.h"
#include "platform/host/test_hooks.h"
#include "platform/win32/messages.h"
#include "tests/runtime/input/input_fixture.h"

namespace {

class KeyboardQuitTest : public InputTest {
  protected:
    void TearDown() override {
        Host_ResetQuit();
        InputTest::TearDown();
    }
    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
};

TEST_F(KeyboardQuitTest, EachRequestIsReadAsEscapeInTheNextPoll) {
    const struct {
        const char* name;
        std::function<void(HWND)> request;
    } requests[] = {
        {"close", [](HWND screen) { Host_SimulateClose(screen); }},
        {"SIGINT", [](HWND) { raise(SIGINT); }},
        {"SIGTERM", [](HWND) { raise(SIGTERM); }},
    };
    for (const auto& r : requests) {
        for (bool scripted : {false, true}) {
            if (scripted) UseScript("1-100 Right\n");
            HWND screen = OpenScreenWindow();
            ASSERT_NE(Keyboard_Init(), 0);
            ASSERT_EQ(Keyboard_Poll(), 1);
            EXPECT_EQ(Keyboard_IsDown(0x01), 0) << r.name;
            // In the background, as when closed from a taskbar or signalled from a terminal.
            Host_SimulateFocus(screen, false);
            Pump();
            r.request(screen);
            Pump();
            EXPECT_EQ(Host_QuitRequest() != HostQuitReason::kNone, true) << r.name;
            ASSERT_EQ(Keyboard_Poll(), 1) << r.name;
            EXPECT_EQ(Keyboard_IsDown(0x01), 128) << r.name;
            EXPECT_EQ(Keyboard_IsDown(0xCD), scripted ? 128 : 0) << r.name;
            Keyboard_End();
            Host_ResetQuit();
            unsetenv("KAVRO_KEYS");
            Host_ReloadSettings();
            User32Test::Clear();
        }
    }
}

TEST_F(KeyboardQuitTest, WithoutAKeyboardTheSignalsKeepTheirHandling) {
    struct sigaction now;
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
    OpenScreenWindow();
    ASSERT_NE(Keyboard_Init(), 0);
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_NE(now.sa_handler, SIG_DFL);
    Keyboard_End();
    sigaction(SIGTERM, nullptr, &now);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST_F(KeyboardQuitTest, ATapBetweenTwoPollsIsDownInTheNextPollOnce) {
    HWND screen = OpenScreenWindow();
    ASSERT_NE(Keyboard_Init(), 0);
    ASSERT_EQ(Keyboard_Poll(), 1);
    Host_SimulateKey(screen, 0x39, true);
    Host_SimulateKey(screen, 0x39, false);
    Pump();
    ASSERT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(0x39), 128);
    ASSERT_EQ(Keyboard_Poll(), 1);
    EXPECT_EQ(Keyboard_IsDown(0x39), 0);
}

}  // namespace
