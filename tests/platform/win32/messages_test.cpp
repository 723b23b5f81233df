// The message queue: posting and peeking, filters, waiting with real timeouts, quitting, and
// the desktop's focus, close and key events arriving as window messages.
#include "platform/win32/messages.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "platform/host/test_hooks.h"
#include "platform/host/video.h"
#include "tests/platform/win32/user32_fixture.h"

namespace {

struct Seen {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
};
std::vector<Seen> g_seen;

LRESULT RecordingProc(HWND w, UINT message, WPARAM wparam, LPARAM lparam) {
    g_seen.push_back({message, wparam, lparam});
    return DefWindowProcA(w, message, wparam, lparam);
}

class MessagesTest : public User32Test {
  protected:
    void SetUp() override {
        User32Test::SetUp();
        g_seen.clear();
        WNDCLASSA wc{};
        wc.lpfnWndProc = &RecordingProc;
        wc.lpszClassName = "MessagesTestClass";
        RegisterClassA(&wc);
    }
    void TearDown() override {
        User32Test::TearDown();
        UnregisterClassA("MessagesTestClass", nullptr);
    }
    HWND Make(DWORD style = WS_POPUP) {
        return CreateWindowExA(0, "MessagesTestClass", "t", style, 0, 0, 640, 480, nullptr, nullptr,
                               nullptr, nullptr);
    }
    static int Count(UINT message) {
        int n = 0;
        for (const Seen& s : g_seen) n += s.message == message;
        return n;
    }
    // Dispatches everything waiting.
    static void Drain() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
};

TEST_F(MessagesTest, PostedMessagesComeBackInOrder) {
    HWND w = Make();
    ASSERT_TRUE(PostMessageA(w, WM_USER + 1, 11, 12));
    ASSERT_TRUE(PostMessageA(w, WM_USER + 2, 21, 22));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u);
    EXPECT_EQ(msg.hwnd, w);
    EXPECT_EQ(msg.wParam, 11u);
    EXPECT_EQ(msg.lParam, 12);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessagesTest, FiltersSelectByRangeAndWindow) {
    HWND a = Make();
    HWND b = Make();
    PostMessageA(a, WM_USER + 1, 0, 0);
    PostMessageA(b, WM_USER + 5, 0, 0);
    PostMessageA(nullptr, WM_APP, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, b);
    ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_APP);
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_FALSE(PeekMessageA(&msg, b, 0, 0, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, a, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 1u);
}

TEST_F(MessagesTest, DispatchCallsTheWindowProcedure) {
    HWND w = Make();
    PostMessageA(w, WM_USER + 7, 3, 4);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    g_seen.clear();
    DispatchMessageA(&msg);
    ASSERT_EQ(g_seen.size(), 1u);
    EXPECT_EQ(g_seen[0].message, WM_USER + 7u);
    EXPECT_EQ(g_seen[0].wparam, 3u);
}

TEST_F(MessagesTest, MessagesOfADestroyedWindowAreDropped) {
    HWND w = Make();
    PostMessageA(w, WM_USER, 0, 0);
    DestroyWindow(w);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PostMessageA(w, WM_USER, 0, 0));
}

TEST_F(MessagesTest, WaitTimesOutAfterTheTimeout) {
    auto start = std::chrono::steady_clock::now();
    DWORD r = MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
    EXPECT_EQ(r, WAIT_TIMEOUT);
    EXPECT_GE(ms, 100);
    EXPECT_LT(ms, 300);  // generous: a loaded machine wakes late
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT), WAIT_TIMEOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
}

TEST_F(MessagesTest, WaitReturnsAtOnceWhenSomethingIsQueued) {
    PostMessageA(nullptr, WM_USER, 0, 0);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_ALLINPUT), WAIT_OBJECT_0);
    HANDLE h = reinterpret_cast<HANDLE>(1);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, &h, FALSE, 0, QS_ALLINPUT), WAIT_FAILED);
}

TEST_F(MessagesTest, PostFromAnotherThreadWakesTheWait) {
    HWND w = Make();
    std::thread poster([w] {
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        PostMessageA(w, WM_USER + 3, 0, 0);
    });
    auto start = std::chrono::steady_clock::now();
    DWORD r = MsgWaitForMultipleObjects(0, nullptr, FALSE, 2000, QS_ALLINPUT);
    auto elapsed = std::chrono::steady_clock::now() - start;
    poster.join();
    EXPECT_EQ(r, WAIT_OBJECT_0);
    EXPECT_LT(elapsed, std::chrono::milliseconds(500));
    MSG msg;
    ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER + 3u);
}

TEST_F(MessagesTest, GetMessageReportsQuit) {
    PostMessageA(nullptr, WM_USER, 0, 0);
    PostQuitMessage(7);
    MSG msg;
    EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_USER);
    EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessagesTest, FocusEventsSendActivateAndMoveTheForeground) {
    HWND w = Make(WS_POPUP | WS_VISIBLE);
    ASSERT_EQ(GetForegroundWindow(), w);
    Drain();
    g_seen.clear();
    Host_SimulateFocus(w, false);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    ASSERT_EQ(Count(WM_ACTIVATE), 1);
    EXPECT_EQ(g_seen[0].wparam, WA_INACTIVE);
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    g_seen.clear();
    Host_SimulateFocus(w, true);
    PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    ASSERT_EQ(Count(WM_ACTIVATE), 1);
    EXPECT_EQ(LOWORD(g_seen[0].wparam), WA_ACTIVE);
    EXPECT_EQ(GetForegroundWindow(), w);
    // Gaining the focus it already has tells nobody.
    g_seen.clear();
    Host_SimulateFocus(w, true);
    PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
    EXPECT_EQ(Count(WM_ACTIVATE), 0);
}

TEST_F(MessagesTest, CloseBoxBecomesWmCloseThroughTheSystemCommand) {
    HWND w = Make(WS_POPUP | WS_CAPTION | WS_VISIBLE);
    Drain();
    g_seen.clear();
    Host_SimulateClose(w);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_SYSCOMMAND);
    EXPECT_EQ(msg.wParam, SC_CLOSE);
    DispatchMessageA(&msg);
    EXPECT_EQ(Count(WM_CLOSE), 1);
    // The default procedure destroys the window on WM_CLOSE.
    EXPECT_FALSE(IsWindow(w));
}

TEST_F(MessagesTest, KeysArriveWithVirtualKeysAndScanCodes) {
    HWND w = Make(WS_POPUP | WS_VISIBLE);
    Drain();
    Host_SimulateKey(w, 0xCB, true);  // the arrow Left (E0-prefixed)
    Host_SimulateKey(w, 0x4B, true);  // keypad 4
    Host_SimulateKey(w, 0xCB, false);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_LEFT));
    EXPECT_EQ((msg.lParam >> 16) & 0xFF, 0x4B);
    EXPECT_TRUE(msg.lParam & (1 << 24));
    EXPECT_TRUE(GetKeyState(VK_LEFT) & 0x8000);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(VK_NUMPAD0 + 4));
    EXPECT_FALSE(msg.lParam & (1 << 24));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_KEYUP);
    EXPECT_TRUE(static_cast<uint32_t>(msg.lParam) & 0x80000000u);
    EXPECT_FALSE(GetKeyState(VK_LEFT) & 0x8000);
}

TEST_F(MessagesTest, TranslateMakesCharactersOfLetterKeys) {
    HWND w = Make(WS_POPUP | WS_VISIBLE);
    Drain();
    Host_SimulateKey(w, 0x1E, true);  // A
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_TRUE(TranslateMessage(&msg));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_CHAR);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>('a'));
}

TEST_F(MessagesTest, PaintComesUntilTheWindowIsValidated) {
    HWND w = Make(WS_POPUP | WS_VISIBLE);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
    EXPECT_EQ(msg.hwnd, w);
    // Not removed: it stays while the window needs painting.
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_PAINT);
    g_seen.clear();
    DispatchMessageA(&msg);
    EXPECT_EQ(Count(WM_ERASEBKGND), 1);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    InvalidateRect(w, nullptr, FALSE);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT), WAIT_OBJECT_0);
}

TEST_F(MessagesTest, AcceleratorsTurnKeysIntoCommands) {
    HWND w = Make(WS_POPUP | WS_VISIBLE);
    Drain();
    ACCEL entries[2] = {{FVIRTKEY, VK_TAB, 64001}, {FVIRTKEY | FSHIFT, VK_TAB, 64002}};
    HACCEL table = CreateAcceleratorTableA(entries, 2);
    ASSERT_NE(table, nullptr);
    Host_SimulateKey(w, 0x0F, true);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    g_seen.clear();
    EXPECT_TRUE(TranslateAcceleratorA(w, table, &msg));
    ASSERT_EQ(Count(WM_COMMAND), 1);
    EXPECT_EQ(LOWORD(g_seen[0].wparam), 64001);
    Host_SimulateKey(w, 0x0F, false);
    Host_SimulateKey(w, 0x2A, true);  // left Shift
    Host_SimulateKey(w, 0x0F, true);
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_TRUE(GetKeyState(VK_SHIFT) & 0x8000);
    EXPECT_TRUE(GetKeyState(VK_LSHIFT) & 0x8000);
    g_seen.clear();
    EXPECT_TRUE(TranslateAcceleratorA(w, table, &msg));
    EXPECT_EQ(LOWORD(g_seen[0].wparam), 64002);
    PostMessageA(w, WM_USER, 0, 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(TranslateAcceleratorA(w, table, &msg));
    EXPECT_TRUE(DestroyAcceleratorTable(table));
}

TEST(KeyMapTest, ScanCodesAndVirtualKeysMapBothWays) {
    EXPECT_EQ(MapVirtualKeyA(0xE04B, MAPVK_VSC_TO_VK_EX), static_cast<UINT>(VK_LEFT));
    EXPECT_EQ(MapVirtualKeyA(0x4B, MAPVK_VSC_TO_VK_EX), static_cast<UINT>(VK_NUMPAD0 + 4));
    EXPECT_EQ(MapVirtualKeyA(0x36, MAPVK_VSC_TO_VK), static_cast<UINT>(VK_SHIFT));
    EXPECT_EQ(MapVirtualKeyA(0x36, MAPVK_VSC_TO_VK_EX), static_cast<UINT>(VK_RSHIFT));
    EXPECT_EQ(MapVirtualKeyA(VK_ESCAPE, MAPVK_VK_TO_VSC), 0x01u);
    EXPECT_EQ(MapVirtualKeyA(VK_SHIFT, MAPVK_VK_TO_VSC), 0x2Au);
    EXPECT_EQ(MapVirtualKeyA(0x7F, MAPVK_VSC_TO_VK), 0u);
    EXPECT_EQ(MapVirtualKeyA(0x1E, 99), 0u);
}

}  // namespace
