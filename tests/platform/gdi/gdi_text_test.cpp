// Text in the system font on device contexts: placement of the cell, colours and background
// mode, the current position, alignment, extents, clipping, pixel formats, scaled, styled and
// turned fonts, and the trace line of screen texts.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "platform/gdi/system_font.h"
#include "platform/host/host.h"
#include "tests/platform/gdi/test_surface.h"

namespace {

void Text(HDC dc, int x, int y, const char* s) {
    ASSERT_TRUE(TextOutA(dc, x, y, s, static_cast<int>(std::strlen(s))));
}

// Every pixel of the text's cells is the text or the background colour, placed as the glyphs say.
void ExpectGlyphs(const TestSurface& t, int x, int y, const char* s, COLORREF fg, COLORREF bg) {
    for (size_t i = 0; i < std::strlen(s); ++i) {
        const uint8_t* rows = SystemFont_Glyph(static_cast<uint8_t>(s[i]));
        for (int r = 0; r < 16; ++r) {
            for (int col = 0; col < 8; ++col) {
                const bool ink = (rows[r] << col) & 0x80;
                ASSERT_EQ(t.At(x + 8 * static_cast<int>(i) + col, y + r), ink ? fg : bg)
                    << "char " << i << " row " << r << " column " << col;
            }
        }
    }
}

TEST(GdiTextTest, WhiteTextOnAnOpaqueBlackCellWithItsTopLeftAtXY) {
    TestSurface t(64, 40);
    t.Fill(kBlue);
    SetTextColor(t.dc(), kWhite);
    SetBkColor(t.dc(), kBlack);
    Text(t.dc(), 5, 7, "Hi");
    ExpectGlyphs(t, 5, 7, "Hi", kWhite, kBlack);
    EXPECT_EQ(t.BoxOf(kBlack), (PixelBox{5, 7, 21, 23}));
    EXPECT_EQ(t.Count(kBlue), 64 * 40 - 16 * 16);
    EXPECT_TRUE(t.PaddingClean());
}

TEST(GdiTextTest, DefaultsAreBlackTextOnWhiteOpaque) {
    TestSurface t(32, 20);
    t.Fill(kBlue);
    Text(t.dc(), 0, 0, "A");
    ExpectGlyphs(t, 0, 0, "A", kBlack, kWhite);
}

TEST(GdiTextTest, TransparentModeLeavesTheBackgroundAlone) {
    TestSurface t(32, 20);
    t.Fill(kBlue);
    SetTextColor(t.dc(), kRed);
    SetBkMode(t.dc(), TRANSPARENT);
    Text(t.dc(), 2, 1, "W");
    ExpectGlyphs(t, 2, 1, "W", kRed, kBlue);
    EXPECT_EQ(t.Count(kWhite), 0);
}

TEST(GdiTextTest, UpdateCpDrawsAtTheCurrentPositionAndAdvancesIt) {
    TestSurface t(80, 40);
    SetTextColor(t.dc(), kWhite);
    SetBkColor(t.dc(), kBlack);
    SetTextAlign(t.dc(), TA_UPDATECP);
    MoveToEx(t.dc(), 10, 4, nullptr);
    Text(t.dc(), 50, 20, "abc");
    ExpectGlyphs(t, 10, 4, "abc", kWhite, kBlack);
    POINT p{};
    GetCurrentPositionEx(t.dc(), &p);
    EXPECT_EQ(p.x, 10 + 3 * 8);
    EXPECT_EQ(p.y, 4);
    // The next text continues where the last one ended.
    Text(t.dc(), 0, 0, "d");
    ExpectGlyphs(t, 34, 4, "d", kWhite, kBlack);
}

TEST(GdiTextTest, AlignmentMovesTheCellAroundTheReferencePoint) {
    struct Case {
        UINT align;
        PixelBox box;
    } cases[] = {
        {TA_LEFT | TA_TOP, {40, 30, 56, 46}},      {TA_RIGHT | TA_TOP, {24, 30, 40, 46}},
        {TA_CENTER | TA_TOP, {32, 30, 48, 46}},    {TA_LEFT | TA_BOTTOM, {40, 14, 56, 30}},
        {TA_LEFT | TA_BASELINE, {40, 17, 56, 33}},
    };
    for (const Case& c : cases) {
        TestSurface t(100, 60);
        t.Fill(kBlue);
        SetBkColor(t.dc(), kBlack);
        SetTextColor(t.dc(), kBlack);
        SetTextAlign(t.dc(), c.align);
        Text(t.dc(), 40, 30, "xy");
        EXPECT_EQ(t.BoxOf(kBlack), c.box) << "align " << c.align;
    }
}

TEST(GdiTextTest, ExtentsAreEightPixelsACharacterAndOneCellHigh) {
    TestSurface t(8, 8);
    SIZE size{};
    ASSERT_TRUE(GetTextExtentPoint32A(t.dc(), "SCORE 100", 9, &size));
    EXPECT_EQ(size.cx, 72);
    EXPECT_EQ(size.cy, 16);
    ASSERT_TRUE(GetTextExtentPoint32A(t.dc(), "", 0, &size));
    EXPECT_EQ(size.cx, 0);
    EXPECT_FALSE(GetTextExtentPoint32A(t.dc(), "x", -1, &size));
    EXPECT_FALSE(GetTextExtentPoint32A(t.dc(), nullptr, 3, &size));
}

TEST(GdiTextTest, EmptyTextDrawsNothingAndBadArgumentsAreRefused) {
    TestSurface t(20, 20);
    t.Fill(kBlue);
    EXPECT_TRUE(TextOutA(t.dc(), 0, 0, "", 0));
    EXPECT_FALSE(TextOutA(t.dc(), 0, 0, "abc", -2));
    EXPECT_FALSE(TextOutA(t.dc(), 0, 0, nullptr, 2));
    EXPECT_FALSE(TextOutA(nullptr, 0, 0, "a", 1));
    EXPECT_EQ(t.Count(kBlue), 400);
}

TEST(GdiTextTest, TextOverTheEdgesIsCutToThePixels) {
    TestSurface t(30, 20);
    t.Fill(kBlue);
    SetBkColor(t.dc(), kBlack);
    Text(t.dc(), -5, -9, "MM");
    Text(t.dc(), 25, 15, "MM");
    Text(t.dc(), -100000, 5, "far");
    Text(t.dc(), 2147483000, 5, "far");
    EXPECT_EQ(t.BoxOf(kBlack), (PixelBox{0, 0, 30, 20}));
    EXPECT_TRUE(t.PaddingClean());
    EXPECT_EQ(t.At(10, 6), kBlack);   // bottom right of the first text's second cell
    EXPECT_EQ(t.At(10, 7), kBlue);    // below it
    EXPECT_EQ(t.At(11, 6), kBlue);    // right of it
    EXPECT_EQ(t.At(24, 19), kBlue);   // left of the second text
    EXPECT_EQ(t.At(25, 15), kBlack);  // its top-left corner
}

// Cut cells at both ends and whole ones between, one of them bold: every pixel of the surface
// is the glyphs' or the one around them.
TEST(GdiTextTest, EveryPixelOfATextCutAtBothSidesIsItsGlyphsOrUntouched) {
    const char* text = "Kavro Hills!";
    for (bool bold : {false, true}) {
        TestSurface t(70, 24);
        t.Fill(kBlue);
        LOGFONTA lf{};
        lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
        HFONT font = CreateFontIndirectA(&lf);
        SelectObject(t.dc(), font);
        SetTextColor(t.dc(), kWhite);
        SetBkColor(t.dc(), kBlack);
        const int x0 = -13, y0 = 3;
        Text(t.dc(), x0, y0, text);
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 70; ++x) {
                const int u = x - x0, row = y - y0;
                COLORREF want = kBlue;
                if (row >= 0 && row < 16 && u < 8 * static_cast<int>(std::strlen(text))) {
                    uint32_t mask = SystemFont_Glyph(static_cast<uint8_t>(text[u / 8]))[row];
                    if (bold) mask |= mask >> 1;
                    want = ((mask << (u % 8)) & 0x80) ? kWhite : kBlack;
                }
                ASSERT_EQ(t.At(x, y), want) << "bold " << bold << " at " << x << "," << y;
            }
        }
        EXPECT_TRUE(t.PaddingClean());
        SelectObject(t.dc(), GetStockObject(SYSTEM_FONT));
        DeleteObject(font);
    }
}

TEST(GdiTextTest, SixteenBitSurfacesGetTheirOwnPixelValues) {
    struct Case {
        GdiPixelFormat format;
        uint32_t white, red;
        COLORREF white_read;  // what GetPixel gives back for white
    } cases[] = {
        {GdiPixelFormat::kR5G6B5, 0xFFFF, 0xF800, 0xF8FCF8},
        {GdiPixelFormat::kX1R5G5B5, 0x7FFF, 0x7C00, 0xF8F8F8},
        {GdiPixelFormat::kA1R5G5B5, 0xFFFF, 0xFC00, 0xF8F8F8},
        {GdiPixelFormat::kA8R8G8B8, 0xFFFFFFFF, 0xFFFF0000, 0xFFFFFF},
        {GdiPixelFormat::kX8R8G8B8, 0x00FFFFFF, 0x00FF0000, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        TestSurface t(24, 20, c.format);
        SetTextColor(t.dc(), kWhite);
        SetBkColor(t.dc(), kRed);
        Text(t.dc(), 0, 0, "I");
        EXPECT_EQ(t.Raw(0, 0), c.red);
        EXPECT_EQ(t.Raw(3, 4), c.white);  // the I's stem
        EXPECT_EQ(t.At(3, 4), c.white_read);
        EXPECT_TRUE(t.PaddingClean());
    }
}

TEST(GdiTextTest, TallerFontsScaleTheGlyphsByWholeSteps) {
    TestSurface t(80, 80);
    t.Fill(kBlue);
    LOGFONTA lf{};
    lf.lfHeight = 32;
    HFONT big = CreateFontIndirectA(&lf);
    ASSERT_NE(big, nullptr);
    SelectObject(t.dc(), big);
    SetTextColor(t.dc(), kWhite);
    SetBkColor(t.dc(), kBlack);
    SIZE size{};
    GetTextExtentPoint32A(t.dc(), "AB", 2, &size);
    EXPECT_EQ(size.cx, 32);
    EXPECT_EQ(size.cy, 32);
    Text(t.dc(), 4, 6, "AB");
    EXPECT_EQ(t.BoxOf(kBlack), (PixelBox{4, 6, 36, 38}));
    const uint8_t* a = SystemFont_Glyph('A');
    for (int r = 0; r < 16; ++r) {
        for (int col = 0; col < 8; ++col) {
            const COLORREF want = ((a[r] << col) & 0x80) ? kWhite : kBlack;
            ASSERT_EQ(t.At(4 + 2 * col + 1, 6 + 2 * r + 1), want);
        }
    }
    SelectObject(t.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(big);
}

TEST(GdiTextTest, ItalicLeansAndReportsItsOverhangAndBoldIsHeavier) {
    LOGFONTA lf{};
    lf.lfItalic = 1;
    HFONT italic = CreateFontIndirectA(&lf);
    lf.lfItalic = 0;
    lf.lfWeight = FW_BOLD;
    HFONT bold = CreateFontIndirectA(&lf);
    TestSurface plain(40, 20), leaning(40, 20), heavy(40, 20);
    for (TestSurface* t : {&plain, &leaning, &heavy}) {
        t->Fill(kBlue);
        SetTextColor(t->dc(), kWhite);
        SetBkMode(t->dc(), TRANSPARENT);
    }
    SelectObject(leaning.dc(), italic);
    SelectObject(heavy.dc(), bold);
    TEXTMETRICA m{};
    ASSERT_TRUE(GetTextMetricsA(leaning.dc(), &m));
    EXPECT_EQ(m.tmOverhang, 3);
    EXPECT_EQ(m.tmItalic, 1);
    ASSERT_TRUE(GetTextMetricsA(plain.dc(), &m));
    EXPECT_EQ(m.tmOverhang, 0);
    EXPECT_EQ(m.tmHeight, 16);
    EXPECT_EQ(m.tmAscent + m.tmDescent, 16);
    Text(plain.dc(), 4, 0, "\xC0g");
    Text(leaning.dc(), 4, 0, "\xC0g");
    Text(heavy.dc(), 4, 0, "\xC0g");
    // Rows lean right above the baseline by a pixel every four rows (three at the top) and one
    // pixel left below it.
    const int slant[16] = {3, 2, 2, 2, 2, 1, 1, 1, 1, 0, 0, 0, 0, -1, -1, -1};
    for (int r = 0; r < 16; ++r) {
        for (int x = 4; x < 20; ++x) {
            ASSERT_EQ(plain.At(x, r), leaning.At(x + slant[r], r)) << "row " << r << " x " << x;
        }
    }
    EXPECT_GT(heavy.Count(kWhite), plain.Count(kWhite));
    EXPECT_EQ(heavy.BoxOf(kWhite).right, plain.BoxOf(kWhite).right + 1);
    SelectObject(leaning.dc(), GetStockObject(SYSTEM_FONT));
    SelectObject(heavy.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(italic);
    DeleteObject(bold);
}

TEST(GdiTextTest, EscapementTurnsTheTextLineCounterClockwise) {
    TestSurface upright(100, 100), turned(100, 100), upside(100, 100);
    LOGFONTA lf{};
    lf.lfEscapement = 900;
    HFONT up = CreateFontIndirectA(&lf);
    lf.lfEscapement = 1800;
    HFONT down = CreateFontIndirectA(&lf);
    for (TestSurface* t : {&upright, &turned, &upside}) {
        t->Fill(kBlue);
        SetTextColor(t->dc(), kWhite);
        SetBkColor(t->dc(), kBlack);
    }
    SelectObject(turned.dc(), up);
    SelectObject(upside.dc(), down);
    Text(upright.dc(), 50, 50, "Go");
    Text(turned.dc(), 50, 50, "Go");
    Text(upside.dc(), 50, 50, "Go");
    // A quarter turn: the cells stand on the left edge going up from the reference point.
    EXPECT_EQ(turned.BoxOf(kBlack), (PixelBox{50, 34, 66, 50}));
    // Every pixel of the upright text reappears turned about the reference point.
    for (int v = 0; v < 16; ++v) {
        for (int u = 0; u < 16; ++u) {
            ASSERT_EQ(upright.At(50 + u, 50 + v), turned.At(50 + v, 49 - u));
            ASSERT_EQ(upright.At(50 + u, 50 + v), upside.At(49 - u, 49 - v));
        }
    }
    for (TestSurface* t : {&turned, &upside}) SelectObject(t->dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(up);
    DeleteObject(down);
}

TEST(GdiTextTest, AnyAngleDrawsWithinTheTurnedCells) {
    TestSurface t(120, 120);
    t.Fill(kBlue);
    LOGFONTA lf{};
    lf.lfEscapement = 450;
    HFONT f = CreateFontIndirectA(&lf);
    SelectObject(t.dc(), f);
    SetTextColor(t.dc(), kWhite);
    SetBkMode(t.dc(), TRANSPARENT);
    SetTextAlign(t.dc(), TA_UPDATECP);
    MoveToEx(t.dc(), 20, 90, nullptr);
    Text(t.dc(), 0, 0, "HHHH");
    const PixelBox ink = t.BoxOf(kWhite);
    // 32 pixels along a 45 degree line up and to the right, 16 across it.
    EXPECT_GE(ink.left, 20);
    EXPECT_LE(ink.right, 20 + 23 + 12 + 2);
    EXPECT_LE(ink.bottom, 90 + 12 + 1);
    EXPECT_GE(ink.top, 90 - 23 - 1);
    EXPECT_GT(t.Count(kWhite), 4 * 20);
    POINT p{};
    GetCurrentPositionEx(t.dc(), &p);
    EXPECT_EQ(p.x, 20 + 23);  // 32 · cos 45°
    EXPECT_EQ(p.y, 90 - 23);
    SelectObject(t.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(f);
}

class GdiTraceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = ::testing::TempDir() + "gdi_trace_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
        std::remove(path_.c_str());
        setenv("KAVRO_TRACE", path_.c_str(), 1);
        Host_ReloadSettings();
    }
    void TearDown() override {
        unsetenv("KAVRO_TRACE");
        Host_ReloadSettings();
        std::remove(path_.c_str());
    }
    std::string Trace() {
        Host_ReloadSettings();  // closes the file so that everything is on disk
        std::ifstream in(path_, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string path_;
};

TEST_F(GdiTraceTest, EveryTextOnAScreenWritesItsLineWithTheCellsTopLeft) {
    TestSurface screen(200, 100, GdiPixelFormat::kX8R8G8B8, true);
    TestSurface sprite(200, 100, GdiPixelFormat::kX8R8G8B8, false);
    Text(screen.dc(), 10, 30, "1 Bonus  0");
    Text(sprite.dc(), 1, 1, "not a screen");
    SetTextAlign(screen.dc(), TA_UPDATECP);
    MoveToEx(screen.dc(), 500, 1, nullptr);
    Text(screen.dc(), 0, 0, "Jump\xB4n");
    Text(screen.dc(), 0, 0, "");
    SetTextAlign(screen.dc(), TA_RIGHT);
    Text(screen.dc(), 100, -3, "ab");
    EXPECT_EQ(Trace(), "text 10 30 1 Bonus  0\ntext 500 1 Jump\xB4n\ntext 84 -3 ab\n");
}

TEST_F(GdiTraceTest, NothingIsWrittenWithoutTheSetting) {
    unsetenv("KAVRO_TRACE");
    Host_ReloadSettings();
    TestSurface screen(50, 20, GdiPixelFormat::kX8R8G8B8, true);
    Text(screen.dc(), 0, 0, "x");
    std::ifstream in(path_);
    EXPECT_FALSE(in.good());
}

}  // namespace
