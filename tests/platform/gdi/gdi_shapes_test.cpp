// Lines, shapes, pixels and fills: the extents each covers, pen rim against brush inside, null
// pens and brushes, raster operations, wide pens, far-away coordinates and flood fills.
#include <gtest/gtest.h>

#include "tests/platform/gdi/test_surface.h"

namespace {

// Selects a pen and a brush for one test and deletes them after.
class Tools {
  public:
    Tools(HDC dc, COLORREF pen, COLORREF brush, int width = 0)
        : dc_(dc), pen_(CreatePen(PS_SOLID, width, pen)), brush_(CreateSolidBrush(brush)) {
        old_pen_ = SelectObject(dc, pen_);
        old_brush_ = SelectObject(dc, brush_);
    }
    ~Tools() {
        SelectObject(dc_, old_pen_);
        SelectObject(dc_, old_brush_);
        DeleteObject(pen_);
        DeleteObject(brush_);
    }

  private:
    HDC dc_;
    HPEN pen_;
    HBRUSH brush_;
    HGDIOBJ old_pen_, old_brush_;
};

TEST(GdiShapesTest, RectangleHasAPenRimAndABrushInsideWithinItsBox) {
    TestSurface t(40, 30);
    t.Fill(kBlue);
    Tools tools(t.dc(), kRed, kGreen);
    ASSERT_TRUE(Rectangle(t.dc(), 5, 6, 15, 12));
    EXPECT_EQ(t.BoxOf(kRed), (PixelBox{5, 6, 15, 12}));
    EXPECT_EQ(t.BoxOf(kGreen), (PixelBox{6, 7, 14, 11}));
    EXPECT_EQ(t.Count(kRed), 2 * 10 + 2 * 4);
    EXPECT_EQ(t.Count(kGreen), 8 * 4);
}

TEST(GdiShapesTest, RectangleTakesItsCornersInEitherOrderAndTinyBoxesAreAllRim) {
    TestSurface t(40, 30);
    t.Fill(kBlue);
    Tools tools(t.dc(), kRed, kGreen);
    Rectangle(t.dc(), 15, 12, 5, 6);
    EXPECT_EQ(t.BoxOf(kRed), (PixelBox{5, 6, 15, 12}));
    t.Fill(kBlue);
    Rectangle(t.dc(), 3, 3, 4, 4);
    EXPECT_EQ(t.Count(kRed), 1);
    Rectangle(t.dc(), 10, 10, 12, 20);
    EXPECT_EQ(t.Count(kGreen), 0);
    Rectangle(t.dc(), 20, 20, 20, 25);  // no width: nothing
    EXPECT_EQ(t.Count(kRed), 1 + 20);
}

TEST(GdiShapesTest, NullPenLosesTheLastColumnAndRowAndNullBrushLeavesTheInside) {
    TestSurface t(40, 30);
    t.Fill(kBlue);
    HBRUSH green = CreateSolidBrush(kGreen);
    SelectObject(t.dc(), green);
    SelectObject(t.dc(), GetStockObject(NULL_PEN));
    Rectangle(t.dc(), 5, 6, 15, 12);
    EXPECT_EQ(t.BoxOf(kGreen), (PixelBox{5, 6, 14, 11}));
    EXPECT_EQ(t.Count(kGreen), 9 * 5);
    t.Fill(kBlue);
    SelectObject(t.dc(), GetStockObject(BLACK_PEN));
    SelectObject(t.dc(), GetStockObject(NULL_BRUSH));
    Rectangle(t.dc(), 5, 6, 15, 12);
    EXPECT_EQ(t.Count(kBlack), 28);
    EXPECT_EQ(t.Count(kBlue), 40 * 30 - 28);
    SelectObject(t.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(green);
}

TEST(GdiShapesTest, EllipseFillsItsBoxSymmetricallyWithARimAllRound) {
    TestSurface t(60, 60);
    t.Fill(kBlue);
    Tools tools(t.dc(), kRed, kGreen);
    // A circle of radius 10 about (30, 25).
    Ellipse(t.dc(), 20, 15, 41, 36);
    EXPECT_EQ(t.BoxOf(kRed), (PixelBox{20, 15, 41, 36}));
    for (int y = 15; y < 36; ++y) {
        for (int x = 20; x < 41; ++x) {
            const COLORREF c = t.At(x, y);
            ASSERT_EQ(c, t.At(60 - x, y)) << x << "," << y;
            ASSERT_EQ(c, t.At(x, 50 - y)) << x << "," << y;
            ASSERT_EQ(c, t.At(30 + (y - 25), 25 + (x - 30))) << x << "," << y;
        }
    }
    EXPECT_EQ(t.At(30, 25), kGreen);
    EXPECT_EQ(t.At(20, 15), kBlue);  // corners stay outside
    EXPECT_EQ(t.At(20, 25), kRed);
    EXPECT_EQ(t.At(30, 15), kRed);
    // Every inside pixel has its four neighbours inside the shape.
    for (int y = 15; y < 36; ++y) {
        for (int x = 20; x < 41; ++x) {
            if (t.At(x, y) != kGreen) continue;
            for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                ASSERT_NE(t.At(x + dx, y + dy), kBlue);
            }
        }
    }
}

TEST(GdiShapesTest, EvenSizedAndFlatEllipsesReachTheirBoxEdges) {
    for (auto [w, h] : {std::pair{10, 10}, {20, 6}, {7, 30}, {2, 2}, {1, 1}, {3, 1}}) {
        TestSurface t(50, 50);
        t.Fill(kBlue);
        Tools tools(t.dc(), kRed, kGreen);
        Ellipse(t.dc(), 5, 5, 5 + w, 5 + h);
        EXPECT_EQ(t.BoxOf(kRed), (PixelBox{5, 5, 5 + w, 5 + h})) << w << "x" << h;
    }
}

TEST(GdiShapesTest, RoundRectCutsItsCornersAndKeepsItsEdges) {
    TestSurface t(60, 60);
    t.Fill(kBlue);
    Tools tools(t.dc(), kRed, kGreen);
    RoundRect(t.dc(), 10, 10, 40, 30, 10, 8);
    EXPECT_EQ(t.BoxOf(kRed), (PixelBox{10, 10, 40, 30}));
    EXPECT_EQ(t.At(10, 10), kBlue);
    EXPECT_EQ(t.At(39, 29), kBlue);
    EXPECT_EQ(t.At(25, 10), kRed);  // straight top edge
    EXPECT_EQ(t.At(10, 20), kRed);  // straight left edge
    EXPECT_EQ(t.At(25, 20), kGreen);
    // Corner sizes of 0 or 1 are a plain rectangle; oversized corners make an ellipse.
    t.Fill(kBlue);
    RoundRect(t.dc(), 10, 10, 40, 30, 0, 0);
    EXPECT_EQ(t.At(10, 10), kRed);
    t.Fill(kBlue);
    RoundRect(t.dc(), 10, 10, 31, 31, 500, 500);
    TestSurface e(60, 60);
    e.Fill(kBlue);
    Tools etools(e.dc(), kRed, kGreen);
    Ellipse(e.dc(), 10, 10, 31, 31);
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 60; ++x) ASSERT_EQ(t.At(x, y), e.At(x, y));
    }
}

TEST(GdiShapesTest, LineLeavesItsEndPointOutAndMovesTheCurrentPosition) {
    TestSurface t(40, 40);
    t.Fill(kBlue);
    Tools tools(t.dc(), kRed, kGreen);
    MoveToEx(t.dc(), 2, 3, nullptr);
    LineTo(t.dc(), 12, 3);
    EXPECT_EQ(t.BoxOf(kRed), (PixelBox{2, 3, 12, 4}));
    LineTo(t.dc(), 12, 13);
    EXPECT_EQ(t.BoxOf(kRed), (PixelBox{2, 3, 13, 13}));
    EXPECT_EQ(t.Count(kRed), 20);
    POINT p{};
    GetCurrentPositionEx(t.dc(), &p);
    EXPECT_EQ(p.x, 12);
    EXPECT_EQ(p.y, 13);
    // A diagonal steps one pixel per row and column.
    t.Fill(kBlue);
    MoveToEx(t.dc(), 20, 20, nullptr);
    LineTo(t.dc(), 10, 30);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(t.At(20 - i, 20 + i), kRed);
    EXPECT_EQ(t.Count(kRed), 10);
    // A shallow line covers every column between its ends once.
    t.Fill(kBlue);
    MoveToEx(t.dc(), 0, 0, nullptr);
    LineTo(t.dc(), 30, 7);
    EXPECT_EQ(t.Count(kRed), 30);
    EXPECT_EQ(t.BoxOf(kRed), (PixelBox{0, 0, 30, 8}));
}

TEST(GdiShapesTest, WidePensCoverTheirWidthAcrossTheLineAndInsideShapes) {
    TestSurface t(60, 60);
    t.Fill(kBlue);
    Tools tools(t.dc(), kRed, kGreen, 3);
    MoveToEx(t.dc(), 10, 10, nullptr);
    LineTo(t.dc(), 30, 10);
    EXPECT_EQ(t.BoxOf(kRed), (PixelBox{10, 9, 30, 12}));
    t.Fill(kBlue);
    Rectangle(t.dc(), 10, 10, 30, 30);
    EXPECT_EQ(t.BoxOf(kRed), (PixelBox{10, 10, 30, 30}));
    EXPECT_EQ(t.BoxOf(kGreen), (PixelBox{13, 13, 27, 27}));
}

TEST(GdiShapesTest, NotInvertsWhatIsThereAndTwiceRestoresIt) {
    TestSurface t(40, 40);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) SetPixelV(t.dc(), x, y, RGB(x * 6, y * 6, 77));
    }
    TestSurface before(40, 40);
    BitBlt(before.dc(), 0, 0, 40, 40, t.dc(), 0, 0, SRCCOPY);
    Tools tools(t.dc(), kRed, kGreen);
    SetROP2(t.dc(), R2_NOT);
    Ellipse(t.dc(), 5, 5, 35, 30);
    EXPECT_EQ(t.At(20, 17), 0xFFFFFF ^ before.At(20, 17));
    EXPECT_EQ(t.At(0, 0), before.At(0, 0));
    Ellipse(t.dc(), 5, 5, 35, 30);
    MoveToEx(t.dc(), 0, 39, nullptr);
    LineTo(t.dc(), 39, 0);
    LineTo(t.dc(), 0, 39);  // back over the same pixels, except the two ends
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            if ((x == 0 && y == 39) || (x == 39 && y == 0)) continue;
            ASSERT_EQ(t.At(x, y), before.At(x, y)) << x << "," << y;
        }
    }
    EXPECT_EQ(SetROP2(t.dc(), R2_COPYPEN), R2_NOT);
    EXPECT_EQ(SetROP2(t.dc(), 0), 0);
    EXPECT_EQ(SetROP2(t.dc(), 17), 0);
}

TEST(GdiShapesTest, FarAwayCoordinatesCostNothingAndTouchOnlyThePixels) {
    TestSurface t(50, 40);
    t.Fill(kBlue);
    Tools tools(t.dc(), kRed, kGreen);
    MoveToEx(t.dc(), -2000000000, 20, nullptr);
    LineTo(t.dc(), 2000000000, 20);
    EXPECT_EQ(t.BoxOf(kRed), (PixelBox{0, 20, 50, 21}));
    t.Fill(kBlue);
    Rectangle(t.dc(), -2147483647, -2147483647, 2147483647, 2147483647);
    EXPECT_EQ(t.Count(kGreen), 50 * 40);
    Ellipse(t.dc(), -2147483647, -5, 2147483647, 2147483647);
    RoundRect(t.dc(), -2147483647, -5, 2147483647, 2147483647, 2147483647, 2147483647);
    MoveToEx(t.dc(), -2147483647, -2147483647, nullptr);
    LineTo(t.dc(), 2147483647, 2147483647);
    EXPECT_TRUE(t.PaddingClean());
}

TEST(GdiShapesTest, PixelsAreSetAndReadBackInsideOnly) {
    TestSurface t(10, 10);
    EXPECT_TRUE(SetPixelV(t.dc(), 9, 9, 0x123456));
    EXPECT_EQ(GetPixel(t.dc(), 9, 9), 0x123456u);
    EXPECT_FALSE(SetPixelV(t.dc(), 10, 0, kRed));
    EXPECT_FALSE(SetPixelV(t.dc(), -1, 0, kRed));
    EXPECT_EQ(GetPixel(t.dc(), 0, 10), CLR_INVALID);
    EXPECT_EQ(SetPixel(t.dc(), 0, 0, kRed), kRed);
    TestSurface w(10, 10, GdiPixelFormat::kR5G6B5);
    EXPECT_EQ(SetPixel(w.dc(), 1, 1, 0x123456), 0x103450u);
    EXPECT_TRUE(w.PaddingClean());
}

TEST(GdiShapesTest, FillRectCoversItsRectangleCutToThePixels) {
    TestSurface t(20, 20);
    t.Fill(kBlue);
    HBRUSH red = CreateSolidBrush(kRed);
    RECT r{-5, 15, 3, 40};
    EXPECT_EQ(FillRect(t.dc(), &r, red), 1);
    EXPECT_EQ(t.BoxOf(kRed), (PixelBox{0, 15, 3, 20}));
    RECT empty{10, 10, 5, 12};
    FillRect(t.dc(), &empty, red);
    RECT above{2, -30, 8, 0};
    FillRect(t.dc(), &above, red);
    EXPECT_EQ(t.Count(kRed), 15);
    EXPECT_EQ(FillRect(t.dc(), &r, nullptr), 0);
    EXPECT_TRUE(t.PaddingClean());
    DeleteObject(red);
}

TEST(GdiShapesTest, FloodFillStopsAtTheBorderColourOrFillsOneColoursArea) {
    TestSurface t(40, 40);
    t.Fill(kWhite);
    Tools tools(t.dc(), kRed, kWhite);
    SelectObject(t.dc(), GetStockObject(NULL_BRUSH));
    Rectangle(t.dc(), 5, 5, 20, 20);  // a red frame
    Ellipse(t.dc(), 25, 5, 38, 30);   // and a red ring
    HBRUSH green = CreateSolidBrush(kGreen);
    SelectObject(t.dc(), green);
    ASSERT_TRUE(ExtFloodFill(t.dc(), 10, 10, kRed, FLOODFILLBORDER));
    EXPECT_EQ(t.BoxOf(kGreen), (PixelBox{6, 6, 19, 19}));
    EXPECT_EQ(t.Count(kGreen), 13 * 13);
    // The border pixel itself is no start.
    EXPECT_FALSE(ExtFloodFill(t.dc(), 5, 5, kRed, FLOODFILLBORDER));
    // Filling the white outside with blue leaves the inside of the ring white.
    HBRUSH blue = CreateSolidBrush(kBlue);
    SelectObject(t.dc(), blue);
    ASSERT_TRUE(ExtFloodFill(t.dc(), 0, 0, kWhite, FLOODFILLSURFACE));
    EXPECT_EQ(t.At(31, 17), kWhite);
    EXPECT_EQ(t.At(0, 39), kBlue);
    EXPECT_EQ(t.At(10, 10), kGreen);
    EXPECT_FALSE(ExtFloodFill(t.dc(), 10, 10, kWhite, FLOODFILLSURFACE));
    EXPECT_FALSE(ExtFloodFill(t.dc(), 40, 0, kWhite, FLOODFILLSURFACE));
    EXPECT_FALSE(ExtFloodFill(t.dc(), 1, 1, kWhite, 7));
    // A fill in the colour it replaces ends too.
    SelectObject(t.dc(), green);
    ASSERT_TRUE(ExtFloodFill(t.dc(), 10, 10, kGreen, FLOODFILLSURFACE));
    EXPECT_EQ(t.Count(kGreen), 13 * 13);
    SelectObject(t.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(green);
    DeleteObject(blue);
}

}  // namespace
