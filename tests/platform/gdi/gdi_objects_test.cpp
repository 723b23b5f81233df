// Graphic objects and device contexts: stock objects, selection and deletion (also while
// selected), memory contexts with bitmaps, attribute defaults, and the refusal of unusable
// memory and of stale or invented handles.
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gdi/call_counts.h"
#include "tests/platform/gdi/test_surface.h"

namespace {

TEST(GdiObjectsTest, StockObjectsHaveTheirKindsAndOutliveDeletion) {
    EXPECT_EQ(Gdi_KindOf(GetStockObject(BLACK_BRUSH)), GdiKind::kBrush);
    EXPECT_EQ(Gdi_KindOf(GetStockObject(NULL_BRUSH)), GdiKind::kBrush);
    EXPECT_EQ(Gdi_KindOf(GetStockObject(BLACK_PEN)), GdiKind::kPen);
    EXPECT_EQ(Gdi_KindOf(GetStockObject(SYSTEM_FONT)), GdiKind::kFont);
    EXPECT_EQ(Gdi_KindOf(GetStockObject(DEFAULT_GUI_FONT)), GdiKind::kFont);
    EXPECT_EQ(GetStockObject(9), nullptr);
    EXPECT_EQ(GetStockObject(-1), nullptr);
    EXPECT_EQ(GetStockObject(18), nullptr);
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(Gdi_KindOf(GetStockObject(BLACK_BRUSH)), GdiKind::kBrush);
    TestSurface t(4, 4);
    t.Fill(kRed);
    RECT r{0, 0, 4, 4};
    FillRect(t.dc(), &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(t.Count(kBlack), 16);
}

TEST(GdiObjectsTest, SelectReturnsWhatItReplacesAndTheDefaultsAreThoseOfAFreshContext) {
    TestSurface t(4, 4);
    HBRUSH b = CreateSolidBrush(kRed);
    EXPECT_EQ(SelectObject(t.dc(), b), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(t.dc(), GetStockObject(BLACK_BRUSH)), b);
    HPEN p = CreatePen(PS_SOLID, 0, kRed);
    EXPECT_EQ(SelectObject(t.dc(), p), GetStockObject(BLACK_PEN));
    SelectObject(t.dc(), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SetTextColor(t.dc(), kRed), kBlack);
    EXPECT_EQ(SetBkColor(t.dc(), kRed), kWhite);
    EXPECT_EQ(SetBkMode(t.dc(), TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(t.dc(), 3), 0);
    EXPECT_EQ(SetTextAlign(t.dc(), TA_UPDATECP), TA_NOUPDATECP);
    EXPECT_EQ(SetROP2(t.dc(), R2_NOT), R2_COPYPEN);
    EXPECT_EQ(SetTextColor(t.dc(), CLR_INVALID), CLR_INVALID);
    EXPECT_TRUE(DeleteObject(b));
    EXPECT_TRUE(DeleteObject(p));
}

TEST(GdiObjectsTest, AnObjectDeletedWhileSelectedLivesUntilItIsDeselected) {
    TestSurface t(8, 8);
    HBRUSH b = CreateSolidBrush(kGreen);
    SelectObject(t.dc(), b);
    EXPECT_TRUE(DeleteObject(b));
    EXPECT_FALSE(DeleteObject(b));
    // Still drawable while selected.
    SelectObject(t.dc(), GetStockObject(NULL_PEN));
    Rectangle(t.dc(), 0, 0, 9, 9);
    EXPECT_EQ(t.Count(kGreen), 64);
    // Deselecting frees it; its handle is then stale and refused.
    SelectObject(t.dc(), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(Gdi_KindOf(b), GdiKind::kNone);
    EXPECT_EQ(SelectObject(t.dc(), b), nullptr);
    EXPECT_FALSE(DeleteObject(b));
}

TEST(GdiObjectsTest, ReleasingAContextLetsGoOfItsObjects) {
    std::vector<uint32_t> memory(16);
    HDC dc =
        Gdi_CreateSurfaceDC(GdiSurface{memory.data(), 16, 4, 4, GdiPixelFormat::kX8R8G8B8, false});
    ASSERT_NE(dc, nullptr);
    HPEN p = CreatePen(PS_SOLID, 2, kRed);
    SelectObject(dc, p);
    DeleteObject(p);
    EXPECT_EQ(Gdi_KindOf(p), GdiKind::kPen);
    EXPECT_TRUE(Gdi_DeleteSurfaceDC(dc));
    EXPECT_EQ(Gdi_KindOf(p), GdiKind::kNone);
    // The released context is no longer one.
    EXPECT_FALSE(Gdi_DeleteSurfaceDC(dc));
    EXPECT_FALSE(TextOutA(dc, 0, 0, "x", 1));
    EXPECT_EQ(SetTextColor(dc, kRed), CLR_INVALID);
}

TEST(GdiObjectsTest, UnusableMemoryGetsNoContext) {
    std::vector<uint32_t> memory(64);
    auto make = [&](void* bits, int pitch, int w, int h, GdiPixelFormat f) {
        HDC dc = Gdi_CreateSurfaceDC(GdiSurface{bits, pitch, w, h, f, false});
        const bool made = dc != nullptr;
        if (dc) Gdi_DeleteSurfaceDC(dc);
        return made;
    };
    EXPECT_TRUE(make(memory.data(), 32, 8, 8, GdiPixelFormat::kX8R8G8B8));
    EXPECT_FALSE(make(nullptr, 32, 8, 8, GdiPixelFormat::kX8R8G8B8));
    EXPECT_FALSE(make(memory.data(), 28, 8, 8, GdiPixelFormat::kX8R8G8B8));  // pitch too small
    EXPECT_FALSE(make(memory.data(), 32, 0, 8, GdiPixelFormat::kX8R8G8B8));
    EXPECT_FALSE(make(memory.data(), 32, 8, -1, GdiPixelFormat::kX8R8G8B8));
    EXPECT_FALSE(make(reinterpret_cast<uint8_t*>(memory.data()) + 1, 32, 4, 4,
                      GdiPixelFormat::kX8R8G8B8));  // rows off the pixel boundary
    EXPECT_FALSE(make(memory.data(), 34, 4, 4, GdiPixelFormat::kX8R8G8B8));
    EXPECT_TRUE(make(memory.data(), 18, 9, 4, GdiPixelFormat::kR5G6B5));
    EXPECT_FALSE(make(memory.data(), 32, 4, 4, static_cast<GdiPixelFormat>(99)));
}

TEST(GdiObjectsTest, InventedHandlesAreRefusedWithoutBeingFollowed) {
    TestSurface t(4, 4);
    alignas(16) unsigned char junk[512] = {};
    HGDIOBJ fake = reinterpret_cast<HGDIOBJ>(junk);
    HDC fake_dc = reinterpret_cast<HDC>(junk);
    EXPECT_EQ(Gdi_KindOf(fake), GdiKind::kNone);
    EXPECT_FALSE(DeleteObject(fake));
    EXPECT_EQ(SelectObject(t.dc(), fake), nullptr);
    EXPECT_EQ(GetObjectA(fake, sizeof(junk), junk), 0);
    EXPECT_FALSE(Rectangle(fake_dc, 0, 0, 2, 2));
    EXPECT_FALSE(TextOutA(fake_dc, 0, 0, "a", 1));
    EXPECT_EQ(GetPixel(fake_dc, 0, 0), CLR_INVALID);
    RECT r{0, 0, 2, 2};
    EXPECT_EQ(FillRect(t.dc(), &r, fake), 0);
    EXPECT_FALSE(DeleteDC(t.dc()));  // not a memory context
}

TEST(GdiObjectsTest, MemoryContextsDrawOnTheirSelectedBitmap) {
    TestSurface screen(16, 16, GdiPixelFormat::kR5G6B5);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.dc(), 6, 5);
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_EQ(GetObjectA(bitmap, sizeof(info), &info), static_cast<int>(sizeof(info)));
    EXPECT_EQ(info.bmWidth, 6);
    EXPECT_EQ(info.bmHeight, 5);
    EXPECT_EQ(info.bmBitsPixel, 16);
    HDC memory = CreateCompatibleDC(screen.dc());
    ASSERT_NE(memory, nullptr);
    HGDIOBJ first = SelectObject(memory, bitmap);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(SetPixelV(memory, 5, 4, kRed));
    EXPECT_FALSE(SetPixelV(memory, 6, 4, kRed));
    // A bitmap is in one memory context at a time and never in a surface context.
    HDC other = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(other, bitmap), nullptr);
    EXPECT_EQ(SelectObject(screen.dc(), bitmap), nullptr);
    BitBlt(screen.dc(), 0, 0, 6, 5, memory, 0, 0, SRCCOPY);
    EXPECT_EQ(screen.At(5, 4), kRed & 0xF8FCF8);
    EXPECT_EQ(SelectObject(memory, first), bitmap);
    EXPECT_TRUE(DeleteObject(bitmap));
    EXPECT_TRUE(DeleteDC(memory));
    EXPECT_TRUE(DeleteDC(other));
    EXPECT_FALSE(Gdi_DeleteSurfaceDC(other));
}

TEST(GdiObjectsTest, BitmapsAreMadeFromCallerRowsAndRefuseBadSizes) {
    const uint16_t rows[3][2] = {{0x7C00, 0x001F}, {0x03E0, 0x7FFF}, {0, 0}};
    HBITMAP b = CreateBitmap(2, 3, 1, 16, rows);
    ASSERT_NE(b, nullptr);
    HDC memory = CreateCompatibleDC(nullptr);
    SelectObject(memory, b);
    EXPECT_EQ(GetPixel(memory, 0, 0), 0x0000F8u);
    EXPECT_EQ(GetPixel(memory, 1, 0), 0xF80000u);
    EXPECT_EQ(GetPixel(memory, 0, 1), 0x00F800u);
    DeleteDC(memory);
    DeleteObject(b);
    EXPECT_EQ(CreateBitmap(0, 3, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(3, 3, 1, 24, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(3, 3, 2, 32, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(1 << 20, 1 << 20, 1, 32, nullptr), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, -1, 4), nullptr);
}

TEST(GdiObjectsTest, FontsKeepTheirDescription) {
    LOGFONTA lf{};
    lf.lfHeight = -26;
    lf.lfEscapement = 450;
    lf.lfItalic = 1;
    std::snprintf(lf.lfFaceName, sizeof(lf.lfFaceName), "Anything");
    HFONT f = CreateFontIndirectA(&lf);
    LOGFONTA back{};
    ASSERT_EQ(GetObjectA(f, sizeof(back), &back), static_cast<int>(sizeof(back)));
    EXPECT_EQ(back.lfHeight, -26);
    EXPECT_EQ(back.lfEscapement, 450);
    EXPECT_STREQ(back.lfFaceName, "Anything");
    EXPECT_EQ(GetObjectA(f, 4, &back), 0);
    EXPECT_EQ(CreateFontIndirectA(nullptr), nullptr);
    // A character height of 26 is a cell of 32: twice the system font.
    TestSurface t(4, 4);
    SelectObject(t.dc(), f);
    TEXTMETRICA m{};
    GetTextMetricsA(t.dc(), &m);
    EXPECT_EQ(m.tmHeight, 32);
    EXPECT_EQ(m.tmOverhang, 6);
    SelectObject(t.dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(f);
}

TEST(GdiObjectsTest, CallCountsFollowTheCalls) {
    TestSurface t(4, 4);
    const GdiCallCounts before = Gdi_CallCounts();
    HBRUSH b = CreateSolidBrush(kRed);
    HPEN p = CreatePen(PS_SOLID, 0, kRed);
    SelectObject(t.dc(), b);
    SetTextColor(t.dc(), kRed);
    SetBkColor(t.dc(), kRed);
    TextOutA(t.dc(), 0, 0, "a", 1);
    const GdiCallCounts& now = Gdi_CallCounts();
    EXPECT_EQ(now.brushes_created - before.brushes_created, 1u);
    EXPECT_EQ(now.pens_created - before.pens_created, 1u);
    EXPECT_EQ(now.objects_selected - before.objects_selected, 1u);
    EXPECT_EQ(now.text_colours_set - before.text_colours_set, 1u);
    EXPECT_EQ(now.back_colours_set - before.back_colours_set, 1u);
    EXPECT_EQ(now.texts_drawn - before.texts_drawn, 1u);
    SelectObject(t.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(b);
    DeleteObject(p);
}

// Records behind deleted handles wait to be reused, so a frame that makes and deletes the same
// objects costs no memory after the first; a deleted handle stays refused meanwhile.
TEST(GdiObjectsTest, DeletedObjectsAreRefusedAndTheirRecordsReused) {
    TestSurface t(4, 4);
    const uint64_t live = Gdi_LiveHandles();
    HBRUSH first = CreateSolidBrush(0x123456);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(DeleteObject(first));
    EXPECT_FALSE(DeleteObject(first));
    EXPECT_EQ(SelectObject(t.dc(), first), nullptr);
    EXPECT_EQ(Gdi_LiveHandles(), live);
    // A brush and a pen alive together once: from then on their records come back.
    HPEN pen = CreatePen(PS_SOLID, 0, 0);
    HBRUSH brush = CreateSolidBrush(0);
    DeleteObject(pen);
    DeleteObject(brush);
    const uint64_t made = Gdi_CallCounts().records_made;
    for (int i = 0; i < 10; ++i) {
        HBRUSH b = CreateSolidBrush(0x010101u * i);
        HPEN p = CreatePen(PS_SOLID, 0, 0);
        EXPECT_EQ(Gdi_LiveHandles(), live + 2);
        DeleteObject(b);
        DeleteObject(p);
    }
    EXPECT_EQ(Gdi_CallCounts().records_made, made);
    // Far more at once than are kept for reuse: all go back, and the count of live ones with.
    std::vector<HBRUSH> many;
    for (int i = 0; i < 300; ++i) many.push_back(CreateSolidBrush(0));
    EXPECT_EQ(Gdi_LiveHandles(), live + 300);
    for (HBRUSH b : many) EXPECT_TRUE(DeleteObject(b));
    EXPECT_EQ(Gdi_LiveHandles(), live);
}

}  // namespace
