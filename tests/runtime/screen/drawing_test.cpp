// The drawing library over an output of plain test memory that behaves like the screen's back
// buffer (a device context to take and give back, pixels to lock): starting and stopping, text
// placement and colours, the colour cache, the direct-buffer cycle, modes, fonts, shapes and
// images through the operation table.
#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gdi/call_counts.h"
#include "platform/gdi/system_font.h"
#include "runtime/screen/drawing.h"
#include "tests/support/runtime_fixture.h"

namespace {

constexpr int kW = 160, kH = 100;
constexpr COLORREF kWhite = 0xFFFFFF, kBlack = 0, kBlue = 0xFF0000, kRed = 0x0000FF;

// The test's output: 32-bit pixels with a device context that can be given up for a lock.
struct TestOutput {
    std::vector<uint32_t> pixels = std::vector<uint32_t>(kW * kH, 0x000000FF);  // blue
    HDC held = nullptr;
    bool locked = false;
    int acquires = 0, locks = 0;
    std::vector<int32_t> releases;

    GdiSurface Surface() {
        return GdiSurface{pixels.data(), kW * 4, kW, kH, GdiPixelFormat::kX8R8G8B8, true};
    }
    COLORREF At(int x, int y) const {
        const uint32_t p = pixels[static_cast<size_t>(y) * kW + x];
        return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16);
    }
    int Count(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) n += At(x, y) == c;
        }
        return n;
    }
    // Smallest box {left, top, right, bottom} holding colour c, or all 0.
    std::vector<int> BoxOf(COLORREF c) const {
        int l = kW, t = kH, r = 0, b = 0;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                if (At(x, y) != c) continue;
                l = std::min(l, x), t = std::min(t, y), r = std::max(r, x + 1),
                b = std::max(b, y + 1);
            }
        }
        return r ? std::vector<int>{l, t, r, b} : std::vector<int>{0, 0, 0, 0};
    }
};
TestOutput* g_output = nullptr;

HDC Acquire(DrawingContext*) {
    ++g_output->acquires;
    if (g_output->held) return g_output->held;
    g_output->locked = false;
    g_output->held = Gdi_CreateSurfaceDC(g_output->Surface());
    return g_output->held;
}

void* Lock(DrawingContext* c) {
    ++g_output->locks;
    if (g_output->held) Gdi_DeleteSurfaceDC(g_output->held);
    g_output->held = nullptr;
    g_output->locked = true;
    c->bufferBits = g_output->pixels.data();
    c->bufferPitch = kW * 4;
    return c->bufferBits;
}

void Release(DrawingContext*, int32_t stopping) {
    g_output->releases.push_back(stopping);
    if (g_output->held) Gdi_DeleteSurfaceDC(g_output->held);
    g_output->held = nullptr;
    g_output->locked = false;
}

class DrawingTest : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        Drawing_Init();
        g_output = &output_;
    }
    void TearDown() override {
        Drawing_Stop();
        g_output = nullptr;
        RuntimeTest::TearDown();
    }
    // What the screen's Screen_Output does, over the test memory.
    DrawingContext* Output() {
        output_.held = Gdi_CreateSurfaceDC(output_.Surface());
        DrawingContext* c = Drawing_CreateContext();
        c->outputKind = kDrawingOutputScreen;
        c->dc = output_.held;
        c->pixelFormatCode = 0x40;
        c->acquireDC = &Acquire;
        c->lockBuffer = &Lock;
        c->releaseOutput = &Release;
        c->outputWidth = kW;
        c->outputHeight = kH;
        c->outputDepth = 32;
        return c;
    }
    DrawingContext* Started() {
        DrawingContext* c = Output();
        EXPECT_EQ(Drawing_Start(c), output_.held);
        return c;
    }
    TestOutput output_;
};

TEST_F(DrawingTest, StartWithoutAnOutputReturnsZeroAndStopWithoutAContextDoesNothing) {
    EXPECT_EQ(Drawing_Start(nullptr), nullptr);
    EXPECT_EQ(Drawing_Current(), nullptr);
    Drawing_Stop();
    EXPECT_EQ(Drawing_Current(), nullptr);
    EXPECT_TRUE(output_.releases.empty());
    EXPECT_EQ(Drawing_Text(7, 8, "no context"), 7);
    EXPECT_EQ(output_.Count(kBlue), kW * kH);
}

TEST_F(DrawingTest, ANewContextIsCurrentWithTheDefaultColours) {
    DrawingContext* c = Output();
    EXPECT_EQ(Drawing_Current(), c);
    EXPECT_EQ(c->frontColor, 0xFFFFFF);
    EXPECT_EQ(c->backColor, 0);
    EXPECT_EQ(c->appliedFront, -1);
    EXPECT_EQ(c->appliedBack, -1);
    EXPECT_EQ(c->drawingMode, 0);
    const auto* slots = reinterpret_cast<void* const*>(&c->operations);
    for (int i = 0; i < 26; ++i) EXPECT_NE(slots[i], nullptr) << "slot " << i;
    EXPECT_EQ(reinterpret_cast<void*>(c->operations.start), slots[22]);
    Drawing_Start(c);
}

TEST_F(DrawingTest, TextIsWhiteOnAnOpaqueBlackCellAtXYAndReturnsTheXAfterIt) {
    Started();
    EXPECT_EQ(Drawing_Text(10, 30, "SCORE 100"), 10 + 9 * 8);
    EXPECT_EQ(output_.BoxOf(kBlack), (std::vector<int>{10, 30, 82, 46}));
    EXPECT_EQ(output_.Count(kBlue), kW * kH - 72 * 16);
    const uint8_t* s = SystemFont_Glyph('S');
    for (int r = 0; r < 16; ++r) {
        for (int col = 0; col < 8; ++col) {
            ASSERT_EQ(output_.At(10 + col, 30 + r), ((s[r] << col) & 0x80) ? kWhite : kBlack);
        }
    }
    // The next text starts where asked, not where the last one ended.
    EXPECT_EQ(Drawing_Text(500, 1, "DX 9 - FPS: 60"), 500 + 14 * 8);
    EXPECT_EQ(output_.BoxOf(kBlack), (std::vector<int>{10, 30, 82, 46}));
}

TEST_F(DrawingTest, EmptyTextDrawsNothingAndReturnsX) {
    Started();
    EXPECT_EQ(Drawing_Text(33, 44, ""), 33);
    EXPECT_EQ(Drawing_Text(-3, 4, nullptr), -3);
    EXPECT_EQ(output_.Count(kBlue), kW * kH);
}

TEST_F(DrawingTest, TwoTextsWithUnchangedColoursSetThemUpOnce) {
    Started();
    const GdiCallCounts before = Gdi_CallCounts();
    Drawing_Text(0, 0, "one");
    const GdiCallCounts first = Gdi_CallCounts();
    Drawing_Text(0, 20, "two");
    const GdiCallCounts second = Gdi_CallCounts();
    EXPECT_EQ(first.brushes_created - before.brushes_created, 1u);
    EXPECT_EQ(first.pens_created - before.pens_created, 1u);
    EXPECT_EQ(first.text_colours_set - before.text_colours_set, 1u);
    EXPECT_EQ(first.back_colours_set - before.back_colours_set, 1u);
    EXPECT_EQ(first.objects_selected - before.objects_selected, 2u);
    EXPECT_EQ(second.brushes_created, first.brushes_created);
    EXPECT_EQ(second.pens_created, first.pens_created);
    EXPECT_EQ(second.objects_selected, first.objects_selected);
    EXPECT_EQ(second.text_colours_set, first.text_colours_set);
    EXPECT_EQ(second.back_colours_set, first.back_colours_set);
    EXPECT_EQ(second.texts_drawn - first.texts_drawn, 1u);
}

TEST_F(DrawingTest, ADirectBufferLockGivesTheDeviceContextUpAndTheNextGdiCallTakesItBack) {
    DrawingContext* c = Started();
    Drawing_Text(0, 0, "A");
    void* bits = c->operations.directBuffer(c);
    EXPECT_EQ(bits, output_.pixels.data());
    EXPECT_EQ(c->operations.bufferPitch(c), kW * 4);
    EXPECT_EQ(c->operations.bufferPixelFormat(c), 0x40);
    EXPECT_EQ(c->dcState, -1);
    EXPECT_TRUE(output_.locked);
    EXPECT_EQ(output_.held, nullptr);
    // A second lock keeps the first.
    EXPECT_EQ(c->operations.directBuffer(c), bits);
    EXPECT_EQ(output_.locks, 1);
    // Plotting into the locked pixels, inside only.
    c->operations.plotColor(c, 150, 90, 0x00FF00);
    c->operations.plotColor(c, kW, 0, 0x00FF00);
    c->operations.plotColor(c, -1, 5, 0x00FF00);
    EXPECT_EQ(output_.At(150, 90), 0x00FF00u);
    EXPECT_EQ(output_.Count(0x00FF00), 1);
    // Text again: the device context comes back with the colours and the alignment.
    EXPECT_EQ(Drawing_Text(40, 50, "BC"), 56);
    EXPECT_EQ(output_.acquires, 1);
    EXPECT_EQ(c->dcState, 1);
    EXPECT_NE(output_.held, nullptr);
    EXPECT_FALSE(output_.locked);
    EXPECT_EQ(output_.BoxOf(kBlack), (std::vector<int>{0, 0, 56, 66}));
    EXPECT_EQ(output_.At(40, 50), kBlack);
    EXPECT_EQ(output_.At(41, 54), kWhite);  // the B's stem
}

TEST_F(DrawingTest, StopDeletesTheObjectsReleasesTheOutputAndClearsTheContext) {
    DrawingContext* c = Started();
    Drawing_Text(0, 0, "x");
    HBRUSH front_brush = c->frontBrush, initial_brush = c->initialBrush;
    HPEN front_pen = c->frontPen, initial_pen = c->initialPen;
    EXPECT_EQ(Gdi_KindOf(front_brush), GdiKind::kBrush);
    Drawing_Stop();
    EXPECT_EQ(Drawing_Current(), nullptr);
    EXPECT_EQ(output_.releases, (std::vector<int32_t>{1}));
    for (HGDIOBJ o : {front_brush, initial_brush, front_pen, initial_pen}) {
        EXPECT_EQ(Gdi_KindOf(o), GdiKind::kNone);
    }
    EXPECT_EQ(Gdi_LiveHandles(), 0u);
    Drawing_Stop();
    EXPECT_EQ(output_.releases.size(), 1u);
}

TEST_F(DrawingTest, StopWhileThePixelsAreLockedNeedsNoDeviceContext) {
    DrawingContext* c = Started();
    Drawing_Text(0, 0, "x");
    HBRUSH front_brush = c->frontBrush;
    c->operations.directBuffer(c);
    Drawing_Stop();
    EXPECT_EQ(Gdi_KindOf(front_brush), GdiKind::kNone);
    EXPECT_EQ(output_.releases, (std::vector<int32_t>{1}));
    EXPECT_FALSE(output_.locked);
}

TEST_F(DrawingTest, AFailedStartReleasesTheOutputAndLeavesNothingCurrent) {
    DrawingContext* c = Output();
    Gdi_DeleteSurfaceDC(output_.held);
    output_.held = nullptr;
    c->dc = nullptr;  // the output could not give a device context
    const uint64_t live = Gdi_LiveHandles();
    EXPECT_EQ(Drawing_Start(c), nullptr);
    EXPECT_EQ(Drawing_Current(), nullptr);
    EXPECT_EQ(output_.releases, (std::vector<int32_t>{0}));
    // The brush and pen the start made are gone again.
    EXPECT_EQ(Gdi_LiveHandles(), live);
}

TEST_F(DrawingTest, ShapesCoverTheirDocumentedExtents) {
    DrawingContext* c = Started();
    Drawing_Text(0, 80, "");  // applies the front colour: white brush and pen
    c->operations.frontColor(c, 0x0000FF);
    auto box_of = [&](auto draw) {
        std::fill(output_.pixels.begin(), output_.pixels.end(), 0x000000FFu);
        draw();
        return output_.BoxOf(kRed);
    };
    EXPECT_EQ(box_of([&] { c->operations.box(c, 10, 20, 30, 5); }),
              (std::vector<int>{10, 20, 40, 25}));
    EXPECT_EQ(box_of([&] { c->operations.box(c, 7, 8, 1, 1); }), (std::vector<int>{7, 8, 8, 9}));
    EXPECT_EQ(box_of([&] { c->operations.roundedBox(c, 10, 20, 30, 25, 4, 3); }),
              (std::vector<int>{10, 20, 40, 45}));
    EXPECT_EQ(box_of([&] { c->operations.circle(c, 50, 40, 12); }),
              (std::vector<int>{38, 28, 63, 53}));
    EXPECT_EQ(box_of([&] { c->operations.circle(c, 50, 40, 1); }),
              (std::vector<int>{50, 40, 51, 41}));
    EXPECT_EQ(box_of([&] { c->operations.ellipse(c, 80, 50, 20, 7); }),
              (std::vector<int>{60, 43, 101, 58}));
    EXPECT_EQ(box_of([&] { c->operations.line(c, 5, 5, 25, 15); }),
              (std::vector<int>{5, 5, 26, 16}));
    EXPECT_EQ(output_.At(25, 15), kRed);  // the end point is drawn
    EXPECT_EQ(box_of([&] { c->operations.plot(c, 3, 4); }), (std::vector<int>{3, 4, 4, 5}));
    EXPECT_EQ(c->operations.point(c, 3, 4), static_cast<int32_t>(kRed));
    EXPECT_EQ(c->operations.point(c, -1, 4), -1);
    // Far-away and overflowing sizes are cut, not wrapped.
    EXPECT_EQ(box_of([&] { c->operations.box(c, 2147483600, 0, 2147483600, 10); }),
              (std::vector<int>{0, 0, 0, 0}));
    EXPECT_EQ(box_of([&] { c->operations.circle(c, 0, 0, 2147483647); }),
              (std::vector<int>{0, 0, kW, kH}));
}

TEST_F(DrawingTest, FillAreaFillsTheColourFoundOrUpToABorder) {
    DrawingContext* c = Started();
    c->operations.frontColor(c, 0x0000FF);
    c->operations.drawingMode(c, kDrawingOutline);
    c->operations.box(c, 10, 10, 20, 20);
    c->operations.frontColor(c, 0x00FF00);
    c->operations.drawingMode(c, 0);
    c->operations.fill(c, 15, 15, 0x0000FF);
    EXPECT_EQ(output_.BoxOf(0x00FF00), (std::vector<int>{11, 11, 29, 29}));
    c->operations.fill(c, 0, 0, kDrawingFillArea);
    EXPECT_EQ(output_.Count(kBlue), 0);
    EXPECT_EQ(output_.Count(kRed), 76);
}

TEST_F(DrawingTest, ModesMakeTextTransparentInvertShapesAndDrawOutlinesOnly) {
    DrawingContext* c = Started();
    c->operations.drawingMode(c, kDrawingTransparent);
    Drawing_Text(10, 10, "T");
    EXPECT_EQ(output_.Count(kBlack), 0);
    EXPECT_GT(output_.Count(kWhite), 0);
    std::fill(output_.pixels.begin(), output_.pixels.end(), 0x000000FFu);
    c->operations.drawingMode(c, kDrawingOutline);
    c->operations.box(c, 10, 10, 10, 10);
    EXPECT_EQ(output_.Count(kWhite), 36);
    std::fill(output_.pixels.begin(), output_.pixels.end(), 0x000000FFu);
    c->operations.drawingMode(c, kDrawingInvert);
    c->operations.box(c, 10, 10, 10, 10);
    EXPECT_EQ(output_.Count(0x00FFFF), 100);  // blue inverted is yellow
    c->operations.box(c, 10, 10, 10, 10);
    EXPECT_EQ(output_.Count(kBlue), kW * kH);
}

TEST_F(DrawingTest, FontsChangeTextSizesAndTurnedTextStandsUp) {
    DrawingContext* c = Started();
    EXPECT_EQ(c->operations.textWidth(c, "abc"), 24);
    EXPECT_EQ(c->operations.textHeight(c, "abc"), 16);
    EXPECT_EQ(c->operations.textWidth(c, ""), 0);
    EXPECT_EQ(c->operations.textHeight(c, ""), 0);
    LOGFONTA lf{};
    lf.lfHeight = 32;
    lf.lfItalic = 1;
    HFONT big = CreateFontIndirectA(&lf);
    c->operations.font(c, reinterpret_cast<intptr_t>(big));
    EXPECT_EQ(c->italicOverhang, 6);
    EXPECT_EQ(c->operations.textWidth(c, "abc"), 48 + 6);
    EXPECT_EQ(c->operations.textHeight(c, "abc"), 32);
    EXPECT_EQ(Drawing_Text(0, 0, "ab"), 32);
    c->operations.font(c, kDrawingSystemFont);
    EXPECT_EQ(c->italicOverhang, 0);
    EXPECT_EQ(c->operations.textWidth(c, "abc"), 24);
    // An invented handle is no font and changes nothing.
    alignas(8) char junk[64] = {};
    c->operations.font(c, reinterpret_cast<intptr_t>(junk));
    EXPECT_EQ(c->operations.textWidth(c, "abc"), 24);
    std::fill(output_.pixels.begin(), output_.pixels.end(), 0x000000FFu);
    c->operations.rotatedText(c, 60, 90, "HH", 450.0f);  // 450 is 90 degrees
    EXPECT_EQ(c->rotationAngle, 90.0f);
    const std::vector<int> ink = output_.BoxOf(kWhite);
    EXPECT_GE(ink[0], 60);
    EXPECT_LE(ink[2], 76);
    EXPECT_GE(ink[1], 74);
    EXPECT_LE(ink[3], 90);
    EXPECT_EQ(output_.Count(kBlack), 0);  // transparent for the call
    Drawing_Stop();
    DeleteObject(big);
    EXPECT_EQ(Gdi_KindOf(big), GdiKind::kNone);
}

TEST_F(DrawingTest, AGrabbedImageDrawsBackTheSamePixels) {
    DrawingContext* c = Started();
    Drawing_Text(4, 4, "Kv");
    HBITMAP image = c->operations.grabImage(c, 4, 4, 16, 16);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(c->operations.drawImage(c, image, 100, 60), 1);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(output_.At(100 + x, 60 + y), output_.At(4 + x, 4 + y));
    }
    EXPECT_EQ(c->operations.drawImageSized(c, image, 0, 40, 32, 32), 1);
    EXPECT_EQ(output_.At(2 * 5 + 1, 40 + 2 * 8 + 1), output_.At(4 + 5, 4 + 8));
    EXPECT_EQ(c->operations.drawImageThroughMemory(c, image, 120, 0), 1);
    EXPECT_EQ(output_.At(120, 0), kBlack);
    EXPECT_EQ(c->operations.grabImage(c, 0, 0, 0, 5), nullptr);
    EXPECT_EQ(c->operations.drawImage(c, nullptr, 0, 0), 0);
    DeleteObject(image);
}

}  // namespace
