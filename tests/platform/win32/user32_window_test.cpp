// user32 windows: frames and rectangles, showing on the desktop (the popup that becomes the
// full-screen picture), activation, the size messages, properties and the STATIC class.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/host/video.h"
#include "platform/win32/process.h"
#include "tests/platform/win32/user32_fixture.h"

namespace {

std::vector<std::pair<UINT, WPARAM>> g_log;

LRESULT LoggingProc(HWND w, UINT message, WPARAM wparam, LPARAM lparam) {
    g_log.emplace_back(message, wparam);
    return DefWindowProcA(w, message, wparam, lparam);
}

LRESULT RefuseCreate(HWND w, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_CREATE) return -1;
    return DefWindowProcA(w, message, wparam, lparam);
}

class WindowTest : public User32Test {
  protected:
    void SetUp() override {
        User32Test::SetUp();
        g_log.clear();
        WNDCLASSA wc{};
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &LoggingProc;
        wc.lpszClassName = "WindowTestClass";
        ASSERT_NE(RegisterClassA(&wc), 0);
    }
    void TearDown() override {
        User32Test::TearDown();
        UnregisterClassA("WindowTestClass", nullptr);
    }
    int Count(UINT message) {
        int n = 0;
        for (auto& e : g_log) n += e.first == message;
        return n;
    }
};

TEST_F(WindowTest, FramesFollowTheStyle) {
    RECT r{0, 0, 640, 480};
    AdjustWindowRectEx(&r, WS_CAPTION | WS_SYSMENU, FALSE, 0);
    EXPECT_EQ(r.left, -3);
    EXPECT_EQ(r.top, -22);
    EXPECT_EQ(r.right, 643);
    EXPECT_EQ(r.bottom, 483);
    r = RECT{0, 0, 100, 100};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    EXPECT_EQ(r.right - r.left, 108);
    EXPECT_EQ(r.bottom - r.top, 127);
    r = RECT{0, 0, 100, 100};
    AdjustWindowRectEx(&r, WS_CAPTION, FALSE, WS_EX_TOOLWINDOW);
    EXPECT_EQ(r.bottom - r.top, 122);
    r = RECT{0, 0, 100, 100};
    AdjustWindowRectEx(&r, WS_POPUP, FALSE, 0);
    EXPECT_EQ(r.right, 100);
    EXPECT_EQ(r.top, 0);
}

TEST_F(WindowTest, CreationSendsCreateSizeAndMove) {
    HWND w = CreateWindowExA(0, "WindowTestClass", "t", WS_CAPTION, 10, 20, 200, 100, nullptr,
                             nullptr, nullptr, nullptr);
    ASSERT_NE(w, nullptr);
    ASSERT_GE(g_log.size(), 3u);
    EXPECT_EQ(g_log[0].first, WM_CREATE);
    EXPECT_EQ(g_log[1].first, WM_SIZE);
    EXPECT_EQ(g_log[2].first, WM_MOVE);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right, 210);
    GetClientRect(w, &r);
    EXPECT_EQ(r.right, 194);
    EXPECT_EQ(r.bottom, 75);
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_EQ(GetForegroundWindow(), nullptr);
}

TEST_F(WindowTest, CreateRefusedByTheProcedureFails) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &RefuseCreate;
    wc.lpszClassName = "Refusing";
    RegisterClassA(&wc);
    EXPECT_EQ(CreateWindowExA(0, "Refusing", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
    EXPECT_TRUE(UnregisterClassA("Refusing", nullptr));
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                              nullptr),
              nullptr);
}

TEST_F(WindowTest, HiddenPopupBecomesTheShownFullScreenPicture) {
    HWND w = CreateWindowExA(0, "WindowTestClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(Host_WindowShown(w, nullptr, nullptr));
    SetWindowTextA(w, "Xolm - DX 9 Jump\xB4n Run");
    MoveWindow(w, 0, 0, 640, 480, TRUE);
    g_log.clear();
    EXPECT_FALSE(ShowWindow(w, SW_SHOWMAXIMIZED));
    int32_t pw = 0;
    int32_t ph = 0;
    ASSERT_TRUE(Host_WindowShown(w, &pw, &ph));
    EXPECT_EQ(pw, 640);
    EXPECT_EQ(ph, 480);
    EXPECT_TRUE(IsZoomed(w));
    EXPECT_EQ(GetForegroundWindow(), w);
    EXPECT_EQ(Count(WM_ACTIVATE), 1);
    // The picture keeps its size when maximized.
    RECT r;
    GetClientRect(w, &r);
    EXPECT_EQ(r.right, 640);
    ShowWindow(w, SW_HIDE);
    EXPECT_FALSE(Host_WindowShown(w, nullptr, nullptr));
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    DestroyWindow(w);
}

TEST_F(WindowTest, CaptionedWindowMaximizesToTheDesktopAndRestores) {
    HWND w = CreateWindowExA(0, "WindowTestClass", "t", WS_OVERLAPPEDWINDOW, 50, 60, 300, 200,
                             nullptr, nullptr, nullptr, nullptr);
    g_log.clear();
    ShowWindow(w, SW_SHOWMAXIMIZED);
    RECT r;
    GetClientRect(w, &r);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    ASSERT_EQ(Count(WM_SIZE), 1);
    ShowWindow(w, SW_RESTORE);
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.bottom, 260);
    ShowWindow(w, SW_SHOWMINIMIZED);
    EXPECT_TRUE(IsIconic(w));
    EXPECT_FALSE(Host_WindowShown(w, nullptr, nullptr));
    std::vector<WPARAM> kinds;
    for (auto& e : g_log) {
        if (e.first == WM_SIZE) kinds.push_back(e.second);
    }
    EXPECT_EQ(kinds, (std::vector<WPARAM>{SIZE_MAXIMIZED, SIZE_RESTORED, SIZE_MINIMIZED}));
}

TEST_F(WindowTest, ActivationMovesBetweenWindows) {
    HWND a = CreateWindowExA(0, "WindowTestClass", "a", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                             nullptr, nullptr, nullptr, nullptr);
    HWND b = CreateWindowExA(0, "WindowTestClass", "b", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10,
                             nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetForegroundWindow(), b);
    EXPECT_EQ(GetActiveWindow(), b);
    EXPECT_EQ(SetActiveWindow(a), b);
    EXPECT_EQ(GetForegroundWindow(), a);
    DestroyWindow(a);
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    EXPECT_TRUE(IsWindow(b));
}

TEST_F(WindowTest, MovingAndSizingTellTheWindow) {
    HWND w = CreateWindowExA(0, "WindowTestClass", "t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
    g_log.clear();
    SetWindowPos(w, nullptr, 5, 6, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    EXPECT_EQ(Count(WM_MOVE), 1);
    EXPECT_EQ(Count(WM_SIZE), 0);
    SetWindowPos(w, nullptr, 0, 0, 30, 40, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Count(WM_SIZE), 1);
    RECT r;
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 5);
    EXPECT_EQ(r.right, 35);
    EXPECT_EQ(r.bottom, 46);
    g_log.clear();
    MoveWindow(w, 5, 6, 30, 40, TRUE);
    EXPECT_TRUE(g_log.empty());
}

TEST_F(WindowTest, ChildWindowsOfStaticClassSitInTheParent) {
    HWND parent = CreateWindowExA(0, "WindowTestClass", "p", WS_CAPTION | WS_VISIBLE, 100, 100, 400,
                                  300, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 20, 64, 48, parent,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_EQ(GetAncestor(child, GA_ROOT), parent);
    EXPECT_TRUE(IsChild(parent, child));
    EXPECT_FALSE(Host_WindowShown(child, nullptr, nullptr));
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 100 + 3 + 10);
    EXPECT_EQ(r.top, 100 + 22 + 20);
    GetClientRect(child, &r);
    EXPECT_EQ(r.right, 64);
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(WindowTest, SubclassingReplacesTheProcedure) {
    HWND w = CreateWindowExA(0, "WindowTestClass", "t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             nullptr, nullptr);
    static WNDPROC old = nullptr;
    static int calls = 0;
    calls = 0;
    auto hook = [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        ++calls;
        return CallWindowProcA(old, h, m, wp, lp);
    };
    old = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(+hook)));
    EXPECT_EQ(old, &LoggingProc);
    g_log.clear();
    SendMessageA(w, WM_USER, 0, 0);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(Count(WM_USER), 1);
    char name[32];
    EXPECT_EQ(GetClassNameA(w, name, sizeof(name)), 15);
    EXPECT_STREQ(name, "WindowTestClass");
}

TEST_F(WindowTest, CursorCountsAndResources) {
    int before = ShowCursor(FALSE);
    EXPECT_EQ(ShowCursor(TRUE), before + 1);
    EXPECT_NE(LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW_ID)), nullptr);
    EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(5)), nullptr);
    EXPECT_NE(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1)), nullptr);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(2)), nullptr);
    BOOL drag = TRUE;
    EXPECT_TRUE(SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &drag, 0));
    EXPECT_FALSE(drag);
}

}  // namespace
