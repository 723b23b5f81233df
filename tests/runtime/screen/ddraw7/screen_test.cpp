// The screen of kavro-dx7: start-up with DirectDraw and the keyboard, the exclusive full screen
// with its flipping chain, pixel-format codes, the flip modes, closing, the windowed entry, and
// the deliverable's start-up and cleanup chains.
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/host/host.h"
#include "platform/host/video.h"
#include "platform/win32/loader.h"
#include "platform/win32/time.h"
#include "runtime/core/program.h"
#include "runtime/screen/shared_window.h"
#include "tests/runtime/screen/ddraw7/screen_fixture.h"

namespace {

void SetMissing(const char* list) {
    if (list)
        setenv("KAVRO_MISSING", list, 1);
    else
        unsetenv("KAVRO_MISSING");
    Host_ReloadSettings();
}

TEST_F(Dx7Test, StartsOnceWithDirectDrawAndTheKeyboard) {
    EXPECT_EQ(Sprite_Init(), 0);  // already started
    EXPECT_NE(Keyboard_Library().device, nullptr);
    EXPECT_EQ(Loader_ReferenceCount("ddraw.dll"), 1);
    Sprite3D_End();
    Sprite_End();
    EXPECT_EQ(Loader_ReferenceCount("ddraw.dll"), 0);  // the last user unloads it
    Keyboard_End();
    SetMissing("ddraw.dll");
    EXPECT_EQ(Sprite_Init(), 0);
    Keyboard_End();
    // Without DirectInput there is no keyboard, and this backend needs one.
    SetMissing("dinput.dll");
    EXPECT_EQ(Sprite_Init(), 0);
    EXPECT_EQ(S().initialised, 0);
    EXPECT_EQ(Loader_ReferenceCount("ddraw.dll"), 0);
    Keyboard_End();
    SetMissing("d3dim700.dll");
    EXPECT_EQ(Sprite_Init(), 1);
    EXPECT_EQ(Sprite3D_Init(), 0);  // the game reports "You need a 3D Card"
    SetMissing(nullptr);
}

TEST_F(Dx7Test, OpensExclusiveFullScreenWithAFlippingChain) {
    Open();
    ScreenState& s = S();
    EXPECT_EQ(s.window, SharedWindow_Handle());
    EXPECT_TRUE(IsWindowVisible(s.window));
    char title[32];
    GetWindowTextA(s.window, title, sizeof(title));
    EXPECT_STREQ(title, "Kavro test");
    EXPECT_EQ(s.pixelFormatCode, 64);
    EXPECT_EQ(s.monitorFrequency, Host_RefreshRate());
    EXPECT_EQ(s.renderSurface, s.backBuffer);
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.active, 1);
    DDSCAPS2 caps{};
    s.primary->GetCaps(&caps);
    EXPECT_EQ(caps.dwCaps & 0x2218u, 0x2218u);
    s.backBuffer->GetCaps(&caps);
    EXPECT_EQ(caps.dwCaps & 0x2004u, 0x2004u);
    // Both buffers start black.
    EXPECT_EQ(Rgb(320, 240), 0u);
    const uint32_t before = Host_PresentCount();
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), before + 1);
    Screen_Close();
    EXPECT_FALSE(IsWindowVisible(s.window));
    EXPECT_EQ(s.screenWidth, 0);
    EXPECT_EQ(s.primary, nullptr);
    EXPECT_EQ(Screen_Flip(), 0);
    EXPECT_EQ(Host_PresentCount(), before + 1);
}

TEST_F(Dx7Test, SixteenBitScreensGetTheirFormatCodeFromTheMasks) {
    Open(16);
    EXPECT_EQ(S().pixelFormatCode, 4);  // 5-6-5
    DDraw7Test_UseX1R5G5B5(S().directDraw, true);
    Open(16);
    EXPECT_EQ(S().pixelFormatCode, 2);  // 5-5-5
    DDraw7Test_UseX1R5G5B5(S().directDraw, false);
    // Refused modes keep nothing.
    Bytes image = Bmp24(4, 4, [](int, int) { return 0xFFFFFFu; });
    ASSERT_NE(Make(7, image), 0);
    EXPECT_EQ(Screen_Open(640, 480, 24, "t", 0), 0);
    EXPECT_EQ(Sprite_Exists(7), nullptr);
    EXPECT_EQ(S().primary, nullptr);
    EXPECT_EQ(S().screenOpen, 0);
    EXPECT_EQ(Screen_Open(700, 480, 32, "t", 0), 0);
    Open(32);
}

TEST(Dx7PixelFormatTest, CodesFollowTheDepthAndMasks) {
    auto code = [](DWORD bits, DWORD red, DWORD green) {
        DDPIXELFORMAT f{sizeof(DDPIXELFORMAT), DDPF_RGB, 0, bits, red, green, 0, 0};
        return Screen_PixelFormatCode(f);
    };
    EXPECT_EQ(code(32, 0xFF0000, 0xFF00), 64);
    EXPECT_EQ(code(32, 0xFF, 0xFF00), 32);
    EXPECT_EQ(code(24, 0xFF0000, 0xFF00), 16);
    EXPECT_EQ(code(24, 0xFF, 0xFF00), 8);
    EXPECT_EQ(code(16, 0xF800, 0x7E0), 4);
    EXPECT_EQ(code(16, 0x7C00, 0x3E0), 2);
    EXPECT_EQ(code(8, 0, 0), 1);
}

double Seconds(const LARGE_INTEGER& a, const LARGE_INTEGER& b) {
    LARGE_INTEGER f{0};
    QueryPerformanceFrequency(&f);
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(f.QuadPart);
}

TEST_F(Dx7Test, FlipModeOneWaitsForTheBlankAndModeZeroDoesNot) {
    const double period = 1.0 / Host_RefreshRate();
    Open(32, 0);
    LARGE_INTEGER a{0}, b{0};
    QueryPerformanceCounter(&a);
    for (int i = 0; i < 10; ++i) Screen_Flip();
    QueryPerformanceCounter(&b);
    EXPECT_LT(Seconds(a, b), 5 * period);
    Open(32, 1);
    Screen_Flip();
    QueryPerformanceCounter(&a);
    for (int i = 0; i < 3; ++i) Screen_Flip();
    QueryPerformanceCounter(&b);
    EXPECT_GT(Seconds(a, b), 2.5 * period);
}

TEST_F(Dx7Test, FlipModeTwoFlipsOnceTheBeamNearsTheBottom) {
    Open(32, 2);
    IDirectDraw7* dd = S().directDraw;
    for (int i = 0; i < 5; ++i) {
        // Wait for the top of a frame, so the flip has to wait for the beam.
        DWORD line = 0;
        while (dd->GetScanLine(&line) != DD_OK || line > 100) {
        }
        const uint32_t before = Host_PresentCount();
        ASSERT_EQ(Screen_Flip(), 1);
        EXPECT_EQ(Host_PresentCount(), before + 1);
        HRESULT r = dd->GetScanLine(&line);
        // At or below line 480 - 150, or already in the blank.
        EXPECT_TRUE(r == DDERR_VERTICALBLANKINPROGRESS || (r == DD_OK && line >= 330u))
            << "line " << line;
    }
}

TEST_F(Dx7Test, CloseFreesSpritesAndGivesTheDisplayBack) {
    Open();
    Bytes image = Bmp24(8, 8, [](int, int) { return 0x808080u; });
    ASSERT_NE(Make(3, image, kSpriteTextureMode), 0);
    ASSERT_NE(Sprite3D_Create(9, 3), 0);
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(9, 0, 0, 255);
    Sprite3D_Stop();
    EXPECT_NE(Sprite3D_State().device, nullptr);
    Screen_Close();
    EXPECT_EQ(Sprite_Exists(3), nullptr);
    EXPECT_EQ(Sprite3D_State().device, nullptr);
    // The display is the desktop's again: another open starts afresh.
    Open();
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(9, 0, 0, 255);  // the quad still holds its surface
    Sprite3D_Stop();
}

LRESULT ParentProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window, message, wparam, lparam);
}

TEST_F(Dx7Test, AWindowedScreenBlitsIntoAChildOfItsParentSixtyTimesASecond) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &ParentProcedure;
    wc.lpszClassName = "KavroDx7ScreenTestParent";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, "KavroDx7ScreenTestParent", "parent", WS_OVERLAPPEDWINDOW, 0,
                                  0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    ASSERT_EQ(Screen_OpenWindowed(parent, 10, 20, 320, 240, 1, 5, 6), 1);
    ScreenState& s = S();
    EXPECT_EQ(s.windowed, 1);
    ASSERT_NE(s.childWindow, nullptr);
    EXPECT_EQ(GetParent(s.childWindow), parent);
    RECT client, child;
    GetClientRect(parent, &client);
    GetClientRect(s.childWindow, &child);
    EXPECT_EQ(child.right, client.right - 5 - 10);
    EXPECT_NE(GetPropA(parent, "zq_dxpaint"), nullptr);
    EXPECT_EQ(s.frameRate, 60);
    ClearTo(0x00FF00);
    const uint32_t before = Host_PresentCount();
    LARGE_INTEGER a{0}, b{0};
    QueryPerformanceCounter(&a);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Screen_Flip(), 1);
    QueryPerformanceCounter(&b);
    EXPECT_EQ(Host_PresentCount(), before + 6);
    // Six periods of 1/61 s.
    EXPECT_GT(Seconds(a, b), 5.9 / 61);
    // The child's part of the desktop shows the back buffer.
    RECT area;
    GetWindowRect(s.childWindow, &area);
    EXPECT_EQ(Raw(s.primary, area.left + 1, area.top + 1) & 0xFFFFFF, 0x00FF00u);
    HWND old_child = s.childWindow;
    Screen_Close();
    EXPECT_FALSE(IsWindow(old_child));
    EXPECT_EQ(s.frameRate, 0);
    DestroyWindow(parent);
}

std::vector<std::string> Names(const ChainRoutine* chain, int count) {
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i) out.emplace_back(chain[i].name);
    return out;
}

TEST(Dx7ChainsTest, StartUpAndCleanupRunInTheDeliverablesOrder) {
    EXPECT_EQ(Names(Runtime_Chains.startup, Runtime_Chains.startup_count),
              (std::vector<std::string>{
                  "String_Init", "ImageDecoder_Init", "ImageDecoder_UseBmp", "Image_Init",
                  "ImageTable_Init", "Drawing_Init", "Array_Init", "File_Init", "List_Init",
                  "Memory_Init", "System_Init", "Gadget_Init", "Event_Init", "Window_Init"}));
    EXPECT_EQ(
        Names(Runtime_Chains.cleanup, Runtime_Chains.cleanup_count),
        (std::vector<std::string>{"Window_End", "Gadget_End", "Sound_End", "Requester_End",
                                  "Memory_End", "Joystick_End", "File_End", "Sprite3D_End",
                                  "ImageTable_End", "Image_End", "Sprite_End", "Keyboard_End"}));
}

}  // namespace
