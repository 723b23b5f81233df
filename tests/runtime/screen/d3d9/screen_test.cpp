// The screen and buffer flip: start-up, opening full screen and windowed, the render-state
// cache, the message pump, deactivation and lost-device recovery.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/host/host.h"
#include "platform/host/test_hooks.h"
#include "platform/host/video.h"
#include "platform/win32/time.h"
#include "runtime/screen/shared_window.h"
#include "tests/runtime/screen/d3d9/screen_fixture.h"

namespace {

TEST_F(ScreenTest, StartsOnceAndNotWithoutTheLibrary) {
    EXPECT_EQ(Sprite_Init(), 0);  // already initialised
    Sprite_End();
    setenv("KAVRO_MISSING", "d3d9.dll", 1);
    Host_ReloadSettings();
    EXPECT_EQ(Sprite_Init(), 0);
    EXPECT_EQ(Screen_State().initialised, 0);
    unsetenv("KAVRO_MISSING");
    Host_ReloadSettings();
    EXPECT_EQ(Sprite_Init(), 1);
    EXPECT_NE(SharedWindow_Handle(), nullptr);
}

TEST_F(ScreenTest, FullScreenOpensInTheSharedWindowWithImmediatePresents) {
    Open();
    ScreenState& s = Screen_State();
    EXPECT_EQ(s.window, SharedWindow_Handle());
    EXPECT_TRUE(IsWindowVisible(s.window));
    char title[32];
    GetWindowTextA(s.window, title, sizeof(title));
    EXPECT_STREQ(title, "Kavro test");
    EXPECT_EQ(s.pixelFormatCode, 0x40);
    EXPECT_EQ(s.depth, 32);
    EXPECT_EQ(s.presentParameters.PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_EQ(s.presentParameters.Flags, D3DPRESENTFLAG_LOCKABLE_BACKBUFFER);
    EXPECT_EQ(s.presentParameters.SwapEffect, D3DSWAPEFFECT_FLIP);
    EXPECT_EQ(s.screenOpen, 1);
    EXPECT_EQ(s.active, 1);
    EXPECT_EQ(Pixel(320, 240) & 0xFFFFFF, 0u);
    EXPECT_EQ(s.cacheAlphaBlend, -1);
    Screen_Close();
    EXPECT_FALSE(IsWindowVisible(s.window));
    EXPECT_EQ(s.screenWidth, 0);
    EXPECT_EQ(s.device, nullptr);
    // Non-zero flags ask for the vertical blank.
    Open(32, 1);
    EXPECT_EQ(s.presentParameters.PresentationInterval, D3DPRESENT_INTERVAL_ONE);
}

TEST_F(ScreenTest, SixteenBitsTakeX1R5G5B5AndTwentyFourBitsFail) {
    Open(16);
    EXPECT_EQ(Screen_State().pixelFormatCode, 2);
    EXPECT_EQ(Screen_State().depth, 16);
    Bytes image = Bmp24(4, 4, [](int, int) { return 0xFFFFFFu; });
    ASSERT_NE(Make(7, image), 0);
    EXPECT_EQ(Screen_Open(640, 480, 24, "t", 0), 0);
    EXPECT_EQ(Sprite_Exists(7), nullptr);  // every sprite was freed
    EXPECT_EQ(Screen_State().device, nullptr);
    EXPECT_EQ(Screen_State().screenOpen, 0);
}

TEST_F(ScreenTest, FlipPresentsOnceAndClosesTheScene) {
    Open();
    uint32_t before = Host_PresentCount();
    EXPECT_EQ(Screen_BeginScene(), 1);
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), before + 1);
    EXPECT_EQ(Screen_State().inScene, 0);
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), before + 2);
}

TEST_F(ScreenTest, RenderStatesAreSentOnlyWhenTheyChange) {
    Open();
    Bytes image = Bmp24(8, 8, [](int, int) { return 0x808080u; });
    ASSERT_NE(Make(1, image), 0);
    Sprite_Display(1, 0, 0);
    uint64_t states = D3D9Test_Counters(Device()).render_states;
    uint64_t fvfs = D3D9Test_Counters(Device()).fvf_changes;
    Sprite_Display(1, 10, 0);
    Sprite_Display(1, 20, 0);
    EXPECT_EQ(D3D9Test_Counters(Device()).render_states, states);
    EXPECT_EQ(D3D9Test_Counters(Device()).fvf_changes, fvfs);
    Sprite_DisplayTransparent(1, 30, 0);  // two blend factors change
    EXPECT_EQ(D3D9Test_Counters(Device()).render_states, states + 2);
    EXPECT_EQ(D3D9Test_Counters(Device()).fvf_changes, fvfs);
}

TEST_F(ScreenTest, TheFullScreenWindowIgnoresCloseAndStopsPresentingWhileInactive) {
    Open();
    HWND window = Screen_State().window;
    SendMessageA(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(window));
    uint32_t before = Host_PresentCount();
    Host_SimulateFocus(window, false);
    EXPECT_EQ(Screen_Flip(), 1);  // the pump delivers the deactivation first
    EXPECT_EQ(Screen_State().active, 0);
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), before);
    Host_SimulateFocus(window, true);
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Screen_State().active, 1);
    EXPECT_EQ(Host_PresentCount(), before + 1);
}

TEST_F(ScreenTest, ADeviceResettableWithin32MsIsResetInTheSameFlip) {
    Open(16);
    // A 16-bit sprite has a render surface in the default pool, which the reset must rebuild.
    Bytes image = Bmp24(4, 2, [](int x, int) { return x ? 0xF80000u : 0u; });
    ASSERT_NE(Make(3, image), 0);
    Sprite_Display(3, 0, 0);
    uint32_t before = Host_PresentCount();
    D3D9Test_LoseDevice(Device(), 8);
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), before + 1);
    EXPECT_EQ(D3D9Test_Counters(Device()).resets, 1u);
    EXPECT_EQ(Screen_State().cacheAlphaBlend, -1);
    EXPECT_EQ(Screen_State().active, 1);
    ASSERT_NE(Sprite_Record(3)->texture->renderSurface, nullptr);
    ASSERT_NE(Screen_State().backBuffer, nullptr);
    // Drawing works on the reset device.
    ClearTo(0x0000FF);
    Sprite_DisplayTransparent(3, 100, 100);
    EXPECT_EQ(Pixel(100, 100), 0x8000u | 0x1Fu);    // black is transparent
    EXPECT_EQ(Pixel(101, 100), 0x8000u | 0x7C00u);  // red
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), before + 2);
}

TEST_F(ScreenTest, ADeviceLostBeyond32MsWaitsForActivation) {
    Open();
    uint32_t before = Host_PresentCount();
    D3D9Test_LoseDevice(Device(), kD3D9NeverResettable);
    DWORD start = GetTickCount();
    EXPECT_EQ(Screen_Flip(), 0);
    EXPECT_GE(GetTickCount() - start, 32u);
    EXPECT_EQ(Screen_State().active, 0);
    // Inactive: the flip pumps and returns 1 without testing, resetting or presenting.
    D3D9Test_MakeResettable(Device());
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), before);
    EXPECT_EQ(D3D9Test_Counters(Device()).resets, 0u);
    EXPECT_EQ(Screen_BeginScene(), 0);  // the lost device opens no scene
    // The player switches away and back: the activation lets the flip test and reset again.
    Host_SimulateFocus(Screen_State().window, false);
    Host_SimulateFocus(Screen_State().window, true);
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(D3D9Test_Counters(Device()).resets, 1u);
    EXPECT_EQ(Host_PresentCount(), before + 1);
    EXPECT_EQ(Screen_BeginScene(), 1);
}

TEST_F(ScreenTest, ADriverErrorEndsTheFlipWithZero) {
    Open();
    D3D9Test_FailDriver(Device());
    EXPECT_EQ(Screen_Flip(), 0);
    EXPECT_EQ(Screen_State().active, 0);
}

LRESULT ParentProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST_F(ScreenTest, AWindowedScreenLivesInAChildOfItsParent) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ParentProcedure;
    wc.lpszClassName = "KavroScreenTestParent";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, "KavroScreenTestParent", "parent", WS_OVERLAPPEDWINDOW, 0, 0,
                                  400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    ASSERT_EQ(Screen_OpenWindowed(parent, 10, 20, 320, 240, 1, 5, 6), 1);
    ScreenState& s = Screen_State();
    EXPECT_EQ(s.windowed, 1);
    EXPECT_EQ(s.window, parent);
    ASSERT_NE(s.childWindow, nullptr);
    EXPECT_EQ(GetParent(s.childWindow), parent);
    RECT client, child;
    GetClientRect(parent, &client);
    GetClientRect(s.childWindow, &child);
    EXPECT_EQ(child.right, client.right - 5 - 10);
    EXPECT_EQ(child.bottom, client.bottom - 6 - 20);
    EXPECT_EQ(s.presentParameters.Windowed, TRUE);
    EXPECT_EQ(s.presentParameters.PresentationInterval, D3DPRESENT_INTERVAL_ONE);
    EXPECT_EQ(s.presentParameters.SwapEffect, D3DSWAPEFFECT_COPY);
    EXPECT_NE(GetPropA(parent, "zq_dxsize"), nullptr);
    uint32_t before = Host_PresentCount();
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), before + 1);
    // Activation belongs to the parent now.
    SendMessageA(SharedWindow_Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(s.active, 1);
    HWND old_child = s.childWindow;
    Screen_Close();
    EXPECT_FALSE(IsWindow(old_child));
    EXPECT_EQ(s.windowed, 0);
    DestroyWindow(parent);
    UnregisterClassA("KavroScreenTestParent", nullptr);
}

}  // namespace
