// The window library and the event pump: opening by number, placement, close requests, the
// event queue, waiting with a timeout, and the events windows make.
#include "runtime/core/window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/test_hooks.h"
#include "platform/host/video.h"
#include "platform/win32/messages.h"
#include "platform/win32/process.h"
#include "runtime/core/event.h"
#include "runtime/core/object_table.h"
#include "tests/platform/win32/user32_fixture.h"
#include "tests/support/runtime_fixture.h"

namespace {

constexpr uint32_t kGameFlags = 0x00C80001;  // caption, system menu, centred on the screen

class WindowLibraryTest : public RuntimeTest {
  protected:
    void SetUp() override {
        setenv("KAVRO_HEADLESS", "1", 1);
        Host_ReloadSettings();
        User32Test::Clear();
        RuntimeTest::SetUp();
        Program_Globals().module_handle = GetModuleHandleA(nullptr);
        Event_Init();
        Window_Init();
    }
    void TearDown() override {
        Window_End();
        User32Test::Clear();
        RuntimeTest::TearDown();
    }
    // Every event waiting now, in order. A fetch that dispatches queues its events for the
    // next calls, so only two empty fetches in a row end it.
    static std::vector<int32_t> Drain() {
        std::vector<int32_t> events;
        int empty = 0;
        for (int i = 0; i < 100 && empty < 2; ++i) {
            int32_t e = Window_Event();
            if (e == 0) {
                ++empty;
                continue;
            }
            empty = 0;
            events.push_back(e);
        }
        return events;
    }
    static bool Has(const std::vector<int32_t>& v, int32_t e) {
        for (int32_t x : v) {
            if (x == e) return true;
        }
        return false;
    }
};

TEST_F(WindowLibraryTest, TheGamesWindowIsCentredWithItsInnerSize) {
    intptr_t handle = Window_Open(0, 0, 0, 640, 480, "Xolm - DX 9 Jump\xB4n Run", kGameFlags);
    ASSERT_NE(handle, 0);
    HWND w = reinterpret_cast<HWND>(handle);
    auto* record = static_cast<WindowRecord*>(ObjectTable_Get(Window_Table(), 0));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->window, w);
    EXPECT_EQ(record->accelerator_count, 2);
    EXPECT_EQ(record->unused_word, -1);
    EXPECT_NE(record->accelerator_table, nullptr);
    RECT client;
    GetClientRect(w, &client);
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    RECT r;
    GetWindowRect(w, &r);
    int32_t sw = GetSystemMetrics(SM_CXSCREEN);
    int32_t sh = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.left, (sw - (r.right - r.left)) / 2);
    EXPECT_EQ(r.top, (sh - (r.bottom - r.top)) / 2);
    EXPECT_EQ(GetPropA(w, "ZQ_WindowID"), reinterpret_cast<HANDLE>(1));
    char name[32];
    GetClassNameA(w, name, sizeof(name));
    EXPECT_STREQ(name, "WindowClass_0");
    char title[64];
    GetWindowTextA(w, title, sizeof(title));
    EXPECT_STREQ(title, "Xolm - DX 9 Jump\xB4n Run");
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetWindowLongPtrA(w, GWL_STYLE) & (WS_CAPTION | WS_SYSMENU),
              static_cast<LONG_PTR>(WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(GetWindowLongPtrA(w, GWL_STYLE) & 7, 0);
    int32_t pw = 0;
    int32_t ph = 0;
    ASSERT_TRUE(Host_WindowShown(w, &pw, &ph));
    EXPECT_EQ(pw, 640);
    EXPECT_EQ(ph, 480);
}

TEST_F(WindowLibraryTest, OpeningANumberTwiceClosesTheFirst) {
    HWND first = reinterpret_cast<HWND>(Window_Open(0, 0, 0, 100, 100, "a", kGameFlags));
    ASSERT_TRUE(IsWindow(first));
    HWND second = reinterpret_cast<HWND>(Window_Open(0, 0, 0, 100, 100, "b", kGameFlags));
    ASSERT_TRUE(IsWindow(second));
    EXPECT_FALSE(IsWindow(first));
    auto* record = static_cast<WindowRecord*>(ObjectTable_Get(Window_Table(), 0));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->window, second);
}

TEST_F(WindowLibraryTest, CloseRequestGivesSixteenAndLeavesTheWindowOpen) {
    HWND w = reinterpret_cast<HWND>(Window_Open(0, 0, 0, 320, 200, "t", kGameFlags));
    Drain();
    Host_SimulateClose(w);
    std::vector<int32_t> events = Drain();
    EXPECT_TRUE(Has(events, 16)) << ::testing::PrintToString(events);
    EXPECT_TRUE(IsWindow(w));
    EXPECT_TRUE(IsWindowVisible(w));
    // A WM_CLOSE sent straight to it is queued as event 16 for the window number.
    SendMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(Window_Event(), 16);
    EXPECT_EQ(Event_State()->gadget, 0);
    EXPECT_EQ(Event_State()->window, 0);
    EXPECT_TRUE(IsWindow(w));
}

TEST_F(WindowLibraryTest, TwoIdenticalQueuedEventsComeOnce) {
    Drain();
    Event_Post(77, 1, 2, 3);
    Event_Post(77, 1, 2, 3);
    Event_Post(78, 1, 2, 3);
    Event_Post(77, 1, 2, 3);
    EXPECT_EQ(Event_Wait(0), 77);
    EXPECT_EQ(Event_State()->gadget, 1);
    EXPECT_EQ(Event_State()->window, 2);
    EXPECT_EQ(Event_State()->type, 3);
    EXPECT_EQ(Event_State()->wparam, 0u);
    EXPECT_EQ(Event_Wait(0), 78);
    EXPECT_EQ(Event_State()->previous_event, 78);
    EXPECT_EQ(Event_Wait(0), 77);
    EXPECT_EQ(Event_Wait(0), 0);
}

TEST_F(WindowLibraryTest, SuspendedQueueTakesNothing) {
    Drain();
    Event_Queue()->suspended = 1;
    Event_Post(5, 0, 0, 0);
    Event_Queue()->suspended = 0;
    EXPECT_EQ(Event_Wait(0), 0);
}

TEST_F(WindowLibraryTest, WaitingTimesOutAfterTheTimeout) {
    Drain();
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Window_Event(), 0);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
    start = std::chrono::steady_clock::now();
    EXPECT_EQ(Event_Wait(100), 0);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                  std::chrono::steady_clock::now() - start)
                  .count();
    EXPECT_GE(ms, 100);
    EXPECT_LT(ms, 300);  // generous: a loaded machine wakes late
}

TEST_F(WindowLibraryTest, WaitingWithoutLimitReturnsWhatArrives) {
    HWND w = reinterpret_cast<HWND>(Window_Open(0, 0, 0, 50, 50, "t", kGameFlags));
    Drain();
    PostMessageA(w, WM_USER + 9, 4, 5);
    EXPECT_EQ(Event_Wait(-1), static_cast<int32_t>(WM_USER + 9));
    EXPECT_EQ(Event_State()->wparam, 4u);
    EXPECT_EQ(Event_State()->lparam, 5);
    EXPECT_EQ(Event_State()->window, 0);
}

TEST_F(WindowLibraryTest, OversizedCentredWindowIsLimitedToTheScreen) {
    HWND w = reinterpret_cast<HWND>(Window_Open(1, 0, 0, 5000, 4000, "big", kGameFlags));
    ASSERT_NE(w, nullptr);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
}

TEST_F(WindowLibraryTest, DefaultPositionAndParentCentring) {
    HWND parent = reinterpret_cast<HWND>(Window_Open(0, 100, 100, 400, 300, "p", 0x00C80000));
    RECT pr;
    GetWindowRect(parent, &pr);
    EXPECT_EQ(pr.left, 100);
    HWND child = reinterpret_cast<HWND>(Window_OpenEx(1, 0, 0, 100, 50, "c", 0x00C80002, parent));
    RECT cr;
    GetWindowRect(child, &cr);
    EXPECT_EQ(cr.left, pr.left + ((pr.right - pr.left) - (cr.right - cr.left)) / 2);
    EXPECT_EQ(cr.top, pr.top + ((pr.bottom - pr.top) - (cr.bottom - cr.top)) / 2);
    HWND placed =
        reinterpret_cast<HWND>(Window_Open(2, kWindowDefaultPosition, 7, 100, 50, "d", 0x00C80000));
    RECT dr;
    GetWindowRect(placed, &dr);
    EXPECT_NE(dr.top, 7);  // the system chose both
}

TEST_F(WindowLibraryTest, DynamicWindowsAreNumberedByTheLibrary) {
    intptr_t number = Window_Open(-1, 0, 0, 10, 10, "dyn", kGameFlags);
    ASSERT_GE(number, 0x40000000);
    auto* record =
        static_cast<WindowRecord*>(ObjectTable_Get(Window_Table(), static_cast<int32_t>(number)));
    ASSERT_NE(record, nullptr);
    HWND w = record->window;
    char name[32];
    GetClassNameA(w, name, sizeof(name));
    EXPECT_EQ(std::string(name), "WindowClass_" + std::to_string(number));
    Window_Close(static_cast<int32_t>(number));
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(ObjectTable_Find(Window_Table(), static_cast<int32_t>(number)), nullptr);
}

TEST_F(WindowLibraryTest, HiddenAndToolWindows) {
    HWND hidden = reinterpret_cast<HWND>(Window_Open(0, 0, 0, 10, 10, "h", 0x10000001));
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_EQ(GetWindowLongPtrA(hidden, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
    HWND tool = reinterpret_cast<HWND>(
        Window_Open(1, 0, 0, 10, 10, "t", 0x4 | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_SYSMENU));
    EXPECT_EQ(GetWindowLongPtrA(tool, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetWindowLongPtrA(tool, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
}

TEST_F(WindowLibraryTest, CloseUndoesEverything) {
    HWND w = reinterpret_cast<HWND>(Window_Open(3, 0, 0, 10, 10, "c", kGameFlags));
    Window_Close(3);
    EXPECT_FALSE(IsWindow(w));
    EXPECT_EQ(ObjectTable_Get(Window_Table(), 3), nullptr);
    // The class went with it: the number can be opened again.
    EXPECT_NE(Window_Open(3, 0, 0, 10, 10, "c", kGameFlags), 0);
    Window_Close(99);  // no such window: nothing
}

TEST_F(WindowLibraryTest, EndClosesEveryWindow) {
    HWND a = reinterpret_cast<HWND>(Window_Open(0, 0, 0, 10, 10, "a", kGameFlags));
    intptr_t b = Window_Open(-1, 0, 0, 10, 10, "b", kGameFlags);
    ASSERT_NE(b, 0);
    Window_End();
    EXPECT_FALSE(IsWindow(a));
    std::vector<HWND> left;
    EXPECT_TRUE(EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&left)));
    EXPECT_TRUE(left.empty());
}

TEST_F(WindowLibraryTest, ActivationMakesAnEventOnlyWhenGained) {
    HWND w = reinterpret_cast<HWND>(Window_Open(0, 0, 0, 10, 10, "a", kGameFlags));
    Drain();
    Host_SimulateFocus(w, false);
    EXPECT_FALSE(Has(Drain(), 13104));
    Host_SimulateFocus(w, true);
    EXPECT_TRUE(Has(Drain(), 13104));
}

TEST_F(WindowLibraryTest, SizeChangesMakeTheirEvents) {
    HWND w = reinterpret_cast<HWND>(
        Window_Open(0, 0, 0, 100, 100, "a", kGameFlags | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    Drain();
    ShowWindow(w, SW_MAXIMIZE);
    EXPECT_EQ(Drain(), (std::vector<int32_t>{13108, 5}));
    ShowWindow(w, SW_RESTORE);
    std::vector<int32_t> restored = Drain();
    ASSERT_GE(restored.size(), 2u);
    EXPECT_EQ(restored[0], 13109);
    EXPECT_EQ(restored[1], 5);
    ShowWindow(w, SW_MINIMIZE);
    EXPECT_EQ(Drain(), (std::vector<int32_t>{13107}));
    ShowWindow(w, SW_RESTORE);
    restored = Drain();
    ASSERT_GE(restored.size(), 2u);
    EXPECT_EQ(restored[0], 13109);
    MoveWindow(w, 10, 10, 300, 200, TRUE);
    std::vector<int32_t> moved = Drain();
    EXPECT_TRUE(Has(moved, 5));
    EXPECT_TRUE(Has(moved, 3));
}

TEST_F(WindowLibraryTest, MenuCommandsAndTimersAreSetDirectly) {
    HWND w = reinterpret_cast<HWND>(Window_Open(0, 0, 0, 10, 10, "a", kGameFlags));
    Drain();
    PostMessageA(w, WM_COMMAND, 42, 0);
    EXPECT_EQ(Window_Event(), 13101);
    EXPECT_EQ(Event_State()->gadget, 42);
    PostMessageA(w, WM_TIMER, 9, 0);
    EXPECT_EQ(Window_Event(), 13110);
    EXPECT_EQ(Event_State()->gadget, 9);
    EXPECT_EQ(Window_Event(), 0);
}

TEST_F(WindowLibraryTest, TabMovesTheFocusBetweenControls) {
    HWND w = reinterpret_cast<HWND>(Window_Open(0, 0, 0, 200, 100, "a", kGameFlags));
    HWND one = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, w, nullptr,
                               nullptr, nullptr);
    HWND two = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, w, nullptr,
                               nullptr, nullptr);
    Drain();
    SetFocus(one);
    Host_SimulateKey(w, 0x0F, true);
    // The accelerator takes the key: no event, the key message's own number only.
    EXPECT_EQ(Drain(), std::vector<int32_t>{static_cast<int32_t>(WM_KEYDOWN)});
    EXPECT_EQ(GetFocus(), two);
    Host_SimulateKey(w, 0x0F, false);
    Host_SimulateKey(w, 0x2A, true);
    Host_SimulateKey(w, 0x0F, true);
    Drain();
    EXPECT_EQ(GetFocus(), one);
}

TEST_F(WindowLibraryTest, HooksSeeMessagesFirst) {
    HWND w = reinterpret_cast<HWND>(Window_Open(0, 0, 0, 10, 10, "a", kGameFlags));
    Drain();
    Event_State()->global_hook = [](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        return message == WM_CLOSE ? 0 : kWindowHookUnhandled;
    };
    SendMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(Window_Event(), 0);
    Event_State()->global_hook = nullptr;
    SendMessageA(w, WM_CLOSE, 0, 0);
    EXPECT_EQ(Window_Event(), 16);
}

}  // namespace
