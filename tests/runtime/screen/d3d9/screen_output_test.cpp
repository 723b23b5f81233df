// Screen_Output of the Direct3D 9 backend with the drawing library: texts on the real back
// buffer, the device context given back at the stop, the lock cycle, and the refusals when
// there is no back buffer to draw on.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/gdi/call_counts.h"
#include "platform/host/host.h"
#include "platform/win32/heap_counts.h"
#include "runtime/screen/drawing.h"
#include "tests/runtime/screen/d3d9/screen_fixture.h"

namespace {

class ScreenOutputTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Drawing_Init();
    }
    void TearDown() override {
        Drawing_Stop();
        ScreenTest::TearDown();
    }
    bool BackBufferFree() {
        D3DLOCKED_RECT locked{};
        IDirect3DSurface9* back = Screen_State().backBuffer;
        if (back->LockRect(&locked, nullptr, 0) != D3D_OK) return false;
        back->UnlockRect();
        return true;
    }
};

TEST_F(ScreenOutputTest, WithoutAnOpenScreenThereIsNoOutput) {
    EXPECT_EQ(Screen_Output(), nullptr);
    EXPECT_EQ(Drawing_Start(Screen_Output()), nullptr);
    EXPECT_EQ(Drawing_Current(), nullptr);
}

TEST_F(ScreenOutputTest, TheGamesTextsLandOnTheBackBufferWhiteOnBlack) {
    Open();
    ClearTo(0xFF0000FF);
    DrawingContext* out = Screen_Output();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->outputKind, kDrawingOutputScreen);
    EXPECT_EQ(out->outputWidth, 640);
    EXPECT_EQ(out->outputHeight, 480);
    EXPECT_EQ(out->outputDepth, 32);
    EXPECT_EQ(out->pixelFormatCode, 0x40);
    ASSERT_NE(Drawing_Start(out), nullptr);
    EXPECT_EQ(Drawing_Text(10, 10, "SCORE 0"), 10 + 7 * 8);
    EXPECT_EQ(Drawing_Text(500, 1, "DX 9 - FPS: 0"), 500 + 13 * 8);
    Drawing_Stop();
    EXPECT_EQ(Drawing_Current(), nullptr);
    EXPECT_TRUE(BackBufferFree());
    EXPECT_EQ(Rgb(10, 10), 0x000000u);  // the cell's top-left
    EXPECT_EQ(Rgb(9, 10), 0x0000FFu);   // outside it
    EXPECT_EQ(Rgb(11, 14), 0xFFFFFFu);  // the S's top stroke
    EXPECT_EQ(Rgb(65, 25), 0x000000u);  // bottom-right of the last cell
    EXPECT_EQ(Rgb(66, 25), 0x0000FFu);
    EXPECT_EQ(Rgb(603, 16), 0x000000u);  // the top line's cell reaches x 603
    EXPECT_EQ(Rgb(604, 16), 0x0000FFu);
}

TEST_F(ScreenOutputTest, SixteenBitScreensGetTheirTextsToo) {
    Open(16);
    ClearTo(0xFF0000FF);
    DrawingContext* out = Screen_Output();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(out->outputDepth, 16);
    ASSERT_NE(Drawing_Start(out), nullptr);
    Drawing_Text(0, 0, "I");
    Drawing_Stop();
    EXPECT_EQ(Pixel(0, 0), 0u);
    EXPECT_EQ(Pixel(3, 4), Screen_State().pixelFormatCode == 4 ? 0xFFFFu : 0x7FFFu);
}

TEST_F(ScreenOutputTest, ASecondOutputBeforeTheStopIsRefusedAndTheFirstStaysCurrent) {
    Open();
    DrawingContext* first = Screen_Output();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(Screen_Output(), nullptr);
    EXPECT_EQ(Drawing_Current(), first);
    Drawing_Start(first);
    Drawing_Stop();
    DrawingContext* again = Screen_Output();
    EXPECT_NE(again, nullptr);
    Drawing_Start(again);
    Drawing_Stop();
}

TEST_F(ScreenOutputTest, OutputEndsTheScene) {
    Open();
    ASSERT_EQ(Screen_BeginScene(), 1);
    DrawingContext* out = Screen_Output();
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(Screen_State().inScene, 0);
    Drawing_Start(out);
}

TEST_F(ScreenOutputTest, TheLockCycleMovesBetweenThePixelsAndTheDeviceContext) {
    Open();
    ClearTo(0xFF0000FF);
    DrawingContext* out = Screen_Output();
    ASSERT_NE(Drawing_Start(out), nullptr);
    Drawing_Text(0, 0, "A");
    void* bits = out->operations.directBuffer(out);
    EXPECT_EQ(bits, Screen_State().backBuffer->Memory().bits);
    EXPECT_EQ(out->operations.bufferPitch(out), Screen_State().backBuffer->Memory().pitch);
    out->operations.plotColor(out, 300, 200, 0x00FF00);
    out->operations.plotColor(out, 640, 480, 0x00FF00);  // outside: nothing
    EXPECT_EQ(Rgb(300, 200), 0x00FF00u);
    // Grabbing needs the device context, which the lock gave up; the next text takes it back.
    EXPECT_EQ(Drawing_Text(100, 100, "B"), 108);
    EXPECT_EQ(Rgb(100, 100), 0u);
    out->operations.directBuffer(out);
    Drawing_Stop();
    EXPECT_TRUE(BackBufferFree());
}

TEST_F(ScreenOutputTest, ClosingTheScreenUnderAnOpenContextLeavesNothingToDrawOn) {
    Open();
    ASSERT_NE(Drawing_Start(Screen_Output()), nullptr);
    Drawing_Text(0, 0, "before");
    Screen_Close();
    // The back buffer took its device context with it; drawing finds none and does nothing.
    EXPECT_EQ(Drawing_Text(20, 30, "after"), 20);
    Drawing_Stop();
    EXPECT_EQ(Drawing_Current(), nullptr);
}

// One frame of the game's heads-up display over a busy picture, presented with frame capture
// and the trace on: the seven lines appear in the trace and the captured picture (which a person
// can look at in the test's temporary directory, "gdi_capture/frame-000001.png").
TEST_F(ScreenOutputTest, TheSevenDisplayLinesArePresentedAndCaptured) {
    const std::string dir = ::testing::TempDir() + "gdi_capture";
    const std::string trace = ::testing::TempDir() + "gdi_capture_trace.txt";
    std::remove((dir + "/frame-000001.png").c_str());
    std::remove(trace.c_str());
    setenv("KAVRO_CAPTURE", dir.c_str(), 1);
    setenv("KAVRO_TRACE", trace.c_str(), 1);
    Host_ReloadSettings();
    Open();
    // Sky, hills and stripes: a background with every kind of colour behind the texts.
    ASSERT_NE(Make(0, Bmp24(640, 480,
                            [](int32_t x, int32_t y) -> uint32_t {
                                if (y > 300 + ((x / 40) % 2) * 30)
                                    return 0x3A7D2A + ((x / 8) % 2) * 0x101010;
                                if ((x + y) % 64 < 4) return 0xFFFFFF;
                                return 0x4080C0 + static_cast<uint32_t>(y / 4);
                            })),
              0u);
    Sprite_Display(0, 0, 0);
    const char* lines[7][3] = {{"500", "1", "DX 9 - FPS: 287"}, {"10", "10", "SCORE 300"},
                               {"10", "30", "1 Bonus  0"},      {"10", "50", "2 drunter1"},
                               {"10", "70", "2 Kopf   0"},      {"10", "100", "--> -1"},
                               {"10", "130", "--> 37"}};
    ASSERT_NE(Drawing_Start(Screen_Output()), nullptr);
    for (auto& l : lines) Drawing_Text(std::atoi(l[0]), std::atoi(l[1]), l[2]);
    Drawing_Stop();
    EXPECT_EQ(Screen_Flip(), 1);
    unsetenv("KAVRO_CAPTURE");
    unsetenv("KAVRO_TRACE");
    Host_ReloadSettings();

    std::ifstream png(dir + "/frame-000001.png", std::ios::binary);
    EXPECT_TRUE(png.good());
    std::ifstream in(trace, std::ios::binary);
    std::stringstream got;
    got << in.rdbuf();
    std::string want;
    for (auto& l : lines) want += std::string("text ") + l[0] + " " + l[1] + " " + l[2] + "\n";
    want += "present 1\n";
    EXPECT_EQ(got.str(), want);
}

// A frame's texts after the first take no heap block and no new GDI record: the context, its
// objects and the back buffer's device context are all reused.
TEST_F(ScreenOutputTest, TextsOfTheNextFrameNeedNoNewMemory) {
    Open();
    auto frame = [] {
        DrawingContext* out = Screen_Output();
        EXPECT_NE(Drawing_Start(out), nullptr);
        Drawing_Text(500, 1, "DX 9 - FPS: 1234");
        Drawing_Text(10, 10, "SCORE 100");
        Drawing_Stop();
        return out;
    };
    DrawingContext* first = frame();
    const HeapCallCounts heap = Heap_CallCounts();
    const uint64_t records = Gdi_CallCounts().records_made;
    DrawingContext* second = frame();
    EXPECT_EQ(second, first);
    EXPECT_EQ(Heap_CallCounts().allocations, heap.allocations);
    EXPECT_EQ(Heap_CallCounts().reallocations, heap.reallocations);
    EXPECT_EQ(Gdi_CallCounts().records_made, records);
    EXPECT_EQ(Rgb(10, 10), 0x000000u);
    EXPECT_TRUE(BackBufferFree());
}

TEST_F(ScreenOutputTest, ClosingTheScreenEndsTheDrawingOnIt) {
    Open();
    ASSERT_NE(Drawing_Start(Screen_Output()), nullptr);
    Screen_Close();
    EXPECT_EQ(Drawing_Current(), nullptr);
    Open();
    EXPECT_TRUE(BackBufferFree());
    ASSERT_NE(Drawing_Start(Screen_Output()), nullptr);
    EXPECT_EQ(Drawing_Text(0, 0, "x"), 8);
    Drawing_Stop();
}

}  // namespace
