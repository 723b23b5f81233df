#include "runtime/core/requester.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/host.h"
#include "platform/win32/window.h"
#include "tests/support/runtime_fixture.h"

namespace {

std::vector<std::pair<HWND, WPARAM>> g_enable_log;

LRESULT Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ENABLE) g_enable_log.emplace_back(w, wp);
    return DefWindowProcA(w, msg, wp, lp);
}

using RequesterTest = RuntimeTest;

TEST_F(RequesterTest, DisablesOtherWindowsWhileShownAndTracesTheMessage) {
    std::string trace = ::testing::TempDir() + "requester-trace.txt";
    std::remove(trace.c_str());
    setenv("KAVRO_TRACE", trace.c_str(), 1);
    Host_ReloadSettings();

    WNDCLASSA wc{};
    wc.lpfnWndProc = &Proc;
    wc.lpszClassName = "RequesterTestClass";
    ASSERT_NE(RegisterClassA(&wc), 0);
    HWND other = CreateWindowExA(0, "RequesterTestClass", "other", WS_VISIBLE, 0, 0, 10, 10,
                                 nullptr, nullptr, nullptr, nullptr);
    HWND hidden = CreateWindowExA(0, "RequesterTestClass", "hidden", 0, 0, 0, 10, 10, nullptr,
                                  nullptr, nullptr, nullptr);
    HWND front = CreateWindowExA(0, "RequesterTestClass", "front", WS_VISIBLE, 0, 0, 10, 10,
                                 nullptr, nullptr, nullptr, nullptr);
    ASSERT_EQ(GetForegroundWindow(), front);
    g_enable_log.clear();

    EXPECT_EQ(Requester_Message("Xolm - DX 9 Jump\xB4n Run - Sound Error", "no card", 16), 1);

    // Only the visible, enabled, non-foreground window went off and on again.
    ASSERT_EQ(g_enable_log.size(), 2u);
    EXPECT_EQ(g_enable_log[0], std::make_pair(other, WPARAM{0}));
    EXPECT_EQ(g_enable_log[1], std::make_pair(other, WPARAM{1}));
    EXPECT_TRUE(IsWindowEnabled(other));
    EXPECT_TRUE(IsWindowEnabled(front));

    std::ifstream in(trace, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_EQ(text.str(), "message 16 Xolm - DX 9 Jump\xB4n Run - Sound Error\tno card\n");

    DestroyWindow(other);
    DestroyWindow(hidden);
    DestroyWindow(front);
    UnregisterClassA("RequesterTestClass", nullptr);
    unsetenv("KAVRO_TRACE");
    Host_ReloadSettings();
}

}  // namespace
