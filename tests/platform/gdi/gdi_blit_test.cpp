// Blits between device contexts: copies across pixel formats, clipping to both surfaces,
// overlapping copies within one surface, stretching and mirroring, raster operations, and
// msimg32's AlphaBlend.
#include <gtest/gtest.h>

#include "tests/platform/gdi/test_surface.h"

namespace {

// A picture where every pixel differs from its neighbours.
void Paint(TestSurface& t) {
    for (int y = 0; y < t.height(); ++y) {
        for (int x = 0; x < t.width(); ++x) SetPixelV(t.dc(), x, y, RGB(x * 8, y * 8, 128 + x));
    }
}

COLORREF Painted(int x, int y) {
    return RGB(x * 8, y * 8, 128 + x);
}

TEST(GdiBlitTest, BitBltCopiesARectangleAndCutsItToBothSurfaces) {
    TestSurface src(16, 16), dst(20, 10);
    Paint(src);
    dst.Fill(kBlack);
    ASSERT_TRUE(BitBlt(dst.dc(), 15, -2, 10, 8, src.dc(), 3, 4, SRCCOPY));
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 15 && y < 6;
            ASSERT_EQ(dst.At(x, y), inside ? Painted(x - 12, y + 6) : kBlack) << x << "," << y;
        }
    }
    // A source rectangle that leaves the source copies only what exists.
    dst.Fill(kBlack);
    BitBlt(dst.dc(), 0, 0, 10, 10, src.dc(), 12, -3, SRCCOPY);
    EXPECT_EQ(dst.BoxOf(Painted(12, 0)), (PixelBox{0, 3, 1, 4}));
    EXPECT_EQ(dst.At(4, 3), kBlack);
    EXPECT_EQ(dst.At(0, 2), kBlack);
    EXPECT_TRUE(dst.PaddingClean());
    EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, -1, 5, src.dc(), 0, 0, SRCCOPY));
    EXPECT_FALSE(BitBlt(dst.dc(), 0, 0, 5, 5, nullptr, 0, 0, SRCCOPY));
}

TEST(GdiBlitTest, CopiesBetweenFormatsKeepTheColourTheTargetCanHold) {
    TestSurface src(8, 8), wide(8, 8, GdiPixelFormat::kA8R8G8B8),
        narrow(8, 8, GdiPixelFormat::kR5G6B5), back(8, 8);
    Paint(src);
    BitBlt(wide.dc(), 0, 0, 8, 8, src.dc(), 0, 0, SRCCOPY);
    BitBlt(narrow.dc(), 0, 0, 8, 8, src.dc(), 0, 0, SRCCOPY);
    BitBlt(back.dc(), 0, 0, 8, 8, narrow.dc(), 0, 0, SRCCOPY);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(wide.At(x, y), Painted(x, y));
            EXPECT_EQ(wide.Raw(x, y) >> 24, 0xFFu);  // GDI pixels are opaque
            EXPECT_EQ(back.At(x, y), Painted(x, y) & 0xF8FCF8);
        }
    }
}

TEST(GdiBlitTest, OverlappingCopiesWithinOneSurfaceScrollCleanly) {
    for (auto [dx, dy] : {std::pair{3, 2}, {-3, -2}, {4, 0}, {0, -5}}) {
        TestSurface t(20, 20), ref(20, 20);
        Paint(t);
        Paint(ref);
        BitBlt(t.dc(), 5 + dx, 5 + dy, 10, 10, t.dc(), 5, 5, SRCCOPY);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) {
                ASSERT_EQ(t.At(5 + dx + x, 5 + dy + y), ref.At(5 + x, 5 + y)) << dx << "," << dy;
            }
        }
        // The same through the general path (a stretch of equal size but another operation).
        TestSurface u(20, 20);
        Paint(u);
        StretchBlt(u.dc(), 5 + dx, 5 + dy, 10, 10, u.dc(), 5, 5, 10, 10, NOTSRCCOPY);
        for (int y = 0; y < 10; ++y) {
            for (int x = 0; x < 10; ++x) {
                ASSERT_EQ(u.At(5 + dx + x, 5 + dy + y), 0xFFFFFF ^ ref.At(5 + x, 5 + y));
            }
        }
    }
}

TEST(GdiBlitTest, StretchBltTakesTheNearestSourcePixelAndMirrors) {
    TestSurface src(4, 4), dst(16, 16);
    Paint(src);
    ASSERT_TRUE(StretchBlt(dst.dc(), 0, 0, 8, 12, src.dc(), 0, 0, 4, 4, SRCCOPY));
    for (int y = 0; y < 12; ++y) {
        for (int x = 0; x < 8; ++x) ASSERT_EQ(dst.At(x, y), Painted(x / 2, y / 3));
    }
    // Shrinking samples the middle of each source run.
    TestSurface big(16, 16), small(4, 4);
    Paint(big);
    StretchBlt(small.dc(), 0, 0, 4, 4, big.dc(), 0, 0, 16, 16, SRCCOPY);
    EXPECT_EQ(small.At(0, 0), Painted(2, 2));
    EXPECT_EQ(small.At(3, 3), Painted(14, 14));
    // A negative width mirrors: the destination runs left from x.
    dst.Fill(kBlack);
    StretchBlt(dst.dc(), 7, 0, -4, 4, src.dc(), 0, 0, 4, 4, SRCCOPY);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.At(7 - x, 1), Painted(x, 1));
    EXPECT_EQ(dst.At(3, 1), kBlack);
    StretchBlt(dst.dc(), 0, 8, 4, 4, src.dc(), 3, 3, -4, -4, SRCCOPY);
    EXPECT_EQ(dst.At(0, 8), Painted(3, 3));
    EXPECT_EQ(dst.At(3, 11), Painted(0, 0));
    EXPECT_TRUE(dst.PaddingClean());
}

TEST(GdiBlitTest, RasterOperationsCombineSourceDestinationAndBrush) {
    TestSurface src(4, 4), dst(4, 4);
    src.Fill(0x0F0F0F);
    struct Case {
        DWORD rop;
        COLORREF want;
    } cases[] = {
        {SRCPAINT, 0x3F3F3F},  {SRCAND, 0x000F0F},    {SRCINVERT, 0x3F3030}, {NOTSRCCOPY, 0xF0F0F0},
        {DSTINVERT, 0xCFC0C0}, {BLACKNESS, 0x000000}, {WHITENESS, 0xFFFFFF}, {PATCOPY, kRed},
    };
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ old = SelectObject(dst.dc(), red);
    for (const Case& c : cases) {
        dst.Fill(0x303F3F);
        ASSERT_TRUE(BitBlt(dst.dc(), 0, 0, 4, 4, src.dc(), 0, 0, c.rop)) << std::hex << c.rop;
        EXPECT_EQ(dst.At(2, 2), c.want) << std::hex << c.rop;
    }
    // Operations without a source need none.
    EXPECT_TRUE(BitBlt(dst.dc(), 0, 0, 4, 4, nullptr, 0, 0, BLACKNESS));
    EXPECT_EQ(dst.Count(kBlack), 16);
    SelectObject(dst.dc(), old);
    DeleteObject(red);
}

TEST(GdiBlitTest, AlphaBlendLaysTheSourceOverWithConstantAlpha) {
    TestSurface src(4, 4), dst(4, 4);
    src.Fill(RGB(200, 100, 0));
    dst.Fill(RGB(0, 100, 200));
    BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
    ASSERT_TRUE(AlphaBlend(dst.dc(), 1, 1, 2, 2, src.dc(), 0, 0, 2, 2, half));
    // 200·128/255 = 100.4 and 200·127/255 = 99.6, each rounded.
    EXPECT_EQ(dst.At(1, 1), RGB(100, 100, 100));
    EXPECT_EQ(dst.At(0, 0), RGB(0, 100, 200));
    BLENDFUNCTION full{AC_SRC_OVER, 0, 255, 0};
    AlphaBlend(dst.dc(), 0, 0, 1, 1, src.dc(), 0, 0, 1, 1, full);
    EXPECT_EQ(dst.At(0, 0), RGB(200, 100, 0));
    BLENDFUNCTION none{AC_SRC_OVER, 0, 0, 0};
    AlphaBlend(dst.dc(), 3, 3, 1, 1, src.dc(), 0, 0, 1, 1, none);
    EXPECT_EQ(dst.At(3, 3), RGB(0, 100, 200));
}

TEST(GdiBlitTest, AlphaBlendUsesThePremultipliedSourceAlpha) {
    std::vector<uint32_t> pixels = {0x80400000u, 0x00000000u, 0xFF00FF00u, 0x40202020u};
    GdiSurface s{pixels.data(), 8, 2, 2, GdiPixelFormat::kA8R8G8B8, false};
    HDC src = Gdi_CreateSurfaceDC(s);
    TestSurface dst(2, 2);
    dst.Fill(RGB(100, 100, 100));
    BLENDFUNCTION per_pixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 2, 2, src, 0, 0, 2, 2, per_pixel));
    // Alpha 128: 100·127/255 = 49.8 → 50 kept, plus the source's own 64 of red.
    EXPECT_EQ(dst.At(0, 0), RGB(64 + 50, 50, 50));
    EXPECT_EQ(dst.At(1, 0), RGB(100, 100, 100));  // alpha 0 leaves it
    EXPECT_EQ(dst.At(0, 1), RGB(0, 255, 0));      // alpha 255 replaces it
    EXPECT_EQ(dst.At(1, 1), RGB(32 + 75, 32 + 75, 32 + 75));
    Gdi_DeleteSurfaceDC(src);
}

TEST(GdiBlitTest, AlphaBlendScalesAndRefusesWhatTheRealCallRefuses) {
    TestSurface src(2, 2), dst(8, 8);
    Paint(src);
    BLENDFUNCTION full{AC_SRC_OVER, 0, 255, 0};
    ASSERT_TRUE(AlphaBlend(dst.dc(), 0, 0, 8, 8, src.dc(), 0, 0, 2, 2, full));
    EXPECT_EQ(dst.At(3, 3), Painted(0, 0));
    EXPECT_EQ(dst.At(4, 7), Painted(1, 1));
    EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 2, 2, src.dc(), 1, 0, 2, 2, full));   // leaves src
    EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, -2, 2, src.dc(), 0, 0, 2, 2, full));  // negative
    EXPECT_FALSE(AlphaBlend(nullptr, 0, 0, 2, 2, src.dc(), 0, 0, 2, 2, full));
    BLENDFUNCTION bad_op{1, 0, 255, 0};
    EXPECT_FALSE(AlphaBlend(dst.dc(), 0, 0, 2, 2, src.dc(), 0, 0, 2, 2, bad_op));
    // Destination rectangles are cut to the pixels.
    EXPECT_TRUE(AlphaBlend(dst.dc(), 6, 6, 8, 8, src.dc(), 0, 0, 2, 2, full));
    EXPECT_TRUE(dst.PaddingClean());
}

}  // namespace
