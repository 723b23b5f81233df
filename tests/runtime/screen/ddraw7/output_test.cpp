// Screen_Output on kavro-dx7: the back buffer's device context held in `outputDC`, direct pixel
// access through its lock, texts drawn on it, a second output refused while the first holds the
// back buffer, the flip that gives the back buffer up when Drawing_Stop was missed, and the
// context reused from frame to frame until the screen closes.
#include "platform/gdi/call_counts.h"
#include "platform/host/video.h"
#include "platform/win32/heap_counts.h"
#include "runtime/screen/drawing.h"
#include "tests/runtime/screen/ddraw7/screen_fixture.h"

namespace {

TEST_F(Dx7Test, ASecondOutputIsRefusedAndTheNextFlipFreesTheBackBuffer) {
    Open();
    DrawingContext* first = Screen_Output();
    ASSERT_NE(first, nullptr);
    EXPECT_NE(S().outputDC, 0);
    EXPECT_EQ(Screen_Output(), nullptr);
    ASSERT_NE(Drawing_Start(first), nullptr);
    Drawing_Text(10, 10, "SCORE 0");
    // No Drawing_Stop: the flip gives the device context up, or it could not flip.
    const uint32_t presents = Host_PresentCount();
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(Host_PresentCount(), presents + 1);
    EXPECT_EQ(S().outputDC, 0);
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof(locked);
    ASSERT_EQ(Back()->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
    Back()->Unlock(nullptr);
    // The old context draws nothing more; stopping it releases nothing of the back buffer.
    EXPECT_EQ(Drawing_Text(40, 40, "x"), 40);
    Drawing_Stop();
    DrawingContext* next = Screen_Output();
    ASSERT_NE(next, nullptr);
    ASSERT_NE(Drawing_Start(next), nullptr);
    Drawing_Stop();
    EXPECT_EQ(S().outputDC, 0);
}

TEST_F(Dx7Test, TextsAreDrawnOnTheBackBufferInOpaqueCells) {
    Open();
    ClearTo(0x0000FF);
    DrawingContext* c = Screen_Output();
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->outputKind, kDrawingOutputScreen);
    EXPECT_EQ(c->pixelFormatCode, 64);
    EXPECT_EQ(c->outputWidth, 640);
    ASSERT_NE(Drawing_Start(c), nullptr);
    const int32_t after = Drawing_Text(100, 50, "HH");
    Drawing_Stop();
    EXPECT_GT(after, 100);
    EXPECT_EQ(Rgb(100, 50), 0u);  // the cell's black background
    int white = 0;
    for (int y = 50; y < 66; ++y) {
        for (int x = 100; x < after; ++x) white += Rgb(x, y) == 0xFFFFFFu;
    }
    EXPECT_GT(white, 10);
    EXPECT_EQ(Rgb(after, 50), 0x0000FFu);
}

TEST_F(Dx7Test, DirectAccessLocksTheBackBufferUntilTheNextTextTakesItsContextBack) {
    Open();
    DrawingContext* c = Screen_Output();
    ASSERT_NE(c, nullptr);
    ASSERT_NE(Drawing_Start(c), nullptr);
    void* bits = c->operations.directBuffer(c);
    ASSERT_EQ(bits, Back()->Memory().bits);
    EXPECT_EQ(S().outputDC, kOutputLocked);
    EXPECT_EQ(c->operations.bufferPitch(c), Back()->Memory().pitch);
    c->operations.plotColor(c, 3, 4, 0x00FF00);  // 0x00BBGGRR: green
    EXPECT_EQ(Rgb(3, 4), 0x00FF00u);
    HDC dc = nullptr;
    EXPECT_EQ(Back()->GetDC(&dc), DDERR_SURFACEBUSY);
    Drawing_Text(0, 100, "A");
    EXPECT_NE(S().outputDC, kOutputLocked);
    EXPECT_NE(S().outputDC, 0);
    // Locked again, and then the flip finds the lock and gives it up.
    c->operations.directBuffer(c);
    EXPECT_EQ(S().outputDC, kOutputLocked);
    EXPECT_EQ(Screen_Flip(), 1);
    EXPECT_EQ(S().outputDC, 0);
    Drawing_Stop();
}

// A frame's texts after the first take no heap block and no new GDI record: the context, its
// objects and the back buffer's device context are all reused.
TEST_F(Dx7Test, TextsOfTheNextFrameNeedNoNewMemory) {
    Open();
    auto frame = [] {
        DrawingContext* out = Screen_Output();
        EXPECT_NE(Drawing_Start(out), nullptr);
        Drawing_Text(500, 1, "DX 7 - FPS: 1234");
        Drawing_Text(10, 10, "SCORE 100");
        Drawing_Stop();
        EXPECT_EQ(Screen_Flip(), 1);
        return out;
    };
    DrawingContext* first = frame();
    const HeapCallCounts heap = Heap_CallCounts();
    const uint64_t records = Gdi_CallCounts().records_made;
    DrawingContext* second = frame();
    EXPECT_EQ(second, first);
    EXPECT_EQ(Heap_CallCounts().allocations, heap.allocations);
    EXPECT_EQ(Heap_CallCounts().reallocations, heap.reallocations);
    EXPECT_EQ(Heap_CallCounts().frees, heap.frees);
    EXPECT_EQ(Gdi_CallCounts().records_made, records);
    EXPECT_EQ(S().outputDC, 0);
}

TEST_F(Dx7Test, ClosingTheScreenEndsTheDrawingOnIt) {
    Open();
    ASSERT_NE(Drawing_Start(Screen_Output()), nullptr);
    Drawing_Text(0, 0, "x");
    Screen_Close();
    EXPECT_EQ(Drawing_Current(), nullptr);
    EXPECT_EQ(S().outputDC, 0);
    EXPECT_EQ(S().output, nullptr);
    Open();
    DrawingContext* c = Screen_Output();
    ASSERT_NE(Drawing_Start(c), nullptr);
    EXPECT_EQ(Drawing_Text(0, 0, "x"), 8);
    Drawing_Stop();
    EXPECT_EQ(S().outputDC, 0);
}

}  // namespace
