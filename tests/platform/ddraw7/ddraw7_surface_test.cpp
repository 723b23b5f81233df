// DirectDraw 7 surfaces: formats from the display mode or the description, locks against
// device contexts, source colour keys as exact matches in the surface's format, and blits that
// refuse rectangles outside their surfaces without drawing.
#include "tests/platform/ddraw7/ddraw_fixture.h"

namespace {

TEST_F(DDrawTest, SurfacesTakeTheDisplaysFormatUnlessTheyNameOne) {
    Exclusive(32);
    DDPIXELFORMAT f{};
    ASSERT_EQ(Surface(4, 4)->GetPixelFormat(&f), DD_OK);
    EXPECT_EQ(f.dwRGBBitCount, 32u);
    EXPECT_EQ(f.dwRBitMask, 0xFF0000u);
    EXPECT_EQ(f.dwFlags & DDPF_ALPHAPIXELS, 0u);
    DDPIXELFORMAT argb = Argb32();
    ASSERT_EQ(Surface(4, 4, DDSCAPS_TEXTURE, &argb)->GetPixelFormat(&f), DD_OK);
    EXPECT_EQ(f.dwRGBAlphaBitMask, 0xFF000000u);
    ASSERT_EQ(dd_->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    ASSERT_EQ(Surface(4, 4)->GetPixelFormat(&f), DD_OK);
    EXPECT_EQ(f.dwRGBBitCount, 16u);
    EXPECT_EQ(f.dwGBitMask, 0x7E0u);  // 5-6-5 unless the display is made 5-5-5
    DDraw7Test_UseX1R5G5B5(dd_, true);
    ASSERT_EQ(dd_->SetDisplayMode(800, 600, 16, 0, 0), DD_OK);
    ASSERT_EQ(Surface(4, 4)->GetPixelFormat(&f), DD_OK);
    EXPECT_EQ(f.dwGBitMask, 0x3E0u);
}

TEST_F(DDrawTest, CreationRefusesWhatItCannotHold) {
    DDSURFACEDESC2 d = Desc();
    d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    d.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    IDirectDrawSurface7* s = nullptr;
    d.dwWidth = 0;
    d.dwHeight = 4;
    EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPARAMS);
    d.dwWidth = 20000;
    EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPARAMS);
    d.dwWidth = 4;
    d.dwSize = 12;  // a description of another size is not read
    EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPARAMS);
    d.dwSize = sizeof(d);
    d.dwFlags |= DDSD_PIXELFORMAT;
    d.ddpfPixelFormat =
        DDPIXELFORMAT{sizeof(DDPIXELFORMAT), DDPF_RGB, 0, 24, 0xFF0000, 0xFF00, 0xFF, 0};
    EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DDERR_INVALIDPIXELFORMAT);
    EXPECT_EQ(s, nullptr);
    // A flipping chain needs exclusive mode.
    DDSURFACEDESC2 p = Desc();
    p.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    p.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    p.dwBackBufferCount = 1;
    EXPECT_EQ(dd_->CreateSurface(&p, &s, nullptr), DDERR_NOEXCLUSIVEMODE);
}

TEST_F(DDrawTest, LocksAndDeviceContextsExcludeEachOther) {
    Exclusive();
    IDirectDrawSurface7* s = Surface(8, 8);
    DDSURFACEDESC2 d = Desc();
    RECT outside{4, 4, 9, 8};
    EXPECT_EQ(s->Lock(&outside, &d, DDLOCK_WAIT, nullptr), DDERR_INVALIDRECT);
    RECT inside{2, 3, 4, 5};
    ASSERT_EQ(s->Lock(&inside, &d, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(d.lpSurface, s->Memory().bits + 3 * s->Memory().pitch + 2 * 4);
    EXPECT_EQ(d.dwWidth, 2u);
    HDC dc = nullptr;
    EXPECT_EQ(s->GetDC(&dc), DDERR_SURFACEBUSY);
    EXPECT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(s->Unlock(nullptr), DD_OK);
    EXPECT_EQ(s->Unlock(nullptr), DDERR_NOTLOCKED);
    ASSERT_EQ(s->GetDC(&dc), DD_OK);
    EXPECT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    HDC again = nullptr;
    EXPECT_EQ(s->GetDC(&again), DDERR_DCALREADYCREATED);
    // GDI writes the colour into the surface's memory.
    SetPixelV(dc, 1, 1, RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(s->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(Raw(s, 1, 1) & 0xFFFFFF, 0x123456u);
}

TEST_F(DDrawTest, BltFastCopiesOneToOne) {
    Exclusive();
    IDirectDrawSurface7* src = Surface(8, 4);
    IDirectDrawSurface7* dst = Surface(16, 16);
    Fill(src, [](int x, int y) { return 0x010203u * (1 + x + 8 * y); });
    Fill(dst, [](int, int) { return 0x00AA00u; });
    RECT r{2, 1, 6, 3};
    ASSERT_EQ(dst->BltFast(10, 5, src, &r, DDBLTFAST_WAIT), DD_OK);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            bool in = x >= 10 && x < 14 && y >= 5 && y < 7;
            uint32_t want = in ? 0x010203u * (1 + (x - 10 + 2) + 8 * (y - 5 + 1)) : 0x00AA00u;
            ASSERT_EQ(Raw(dst, x, y), want) << x << "," << y;
        }
    }
    // Null: the whole source, which must fit.
    EXPECT_EQ(dst->BltFast(8, 12, src, nullptr, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Raw(dst, 15, 15), 0x010203u * 32);
    EXPECT_EQ(DDraw7Test_Counters(dd_).blt_fasts, 2u);
}

TEST_F(DDrawTest, RectanglesOutsideEitherSurfaceFailAndDrawNothing) {
    Exclusive();
    IDirectDrawSurface7* src = Surface(8, 8);
    IDirectDrawSurface7* dst = Surface(16, 16);
    Fill(src, [](int, int) { return 0xFFFFFFu; });
    std::vector<uint8_t> before = Bytes(dst);
    RECT left_of_it{-1, 0, 4, 4}, past_right{5, 0, 9, 4}, past_bottom{0, 6, 4, 9};
    RECT inverted{4, 0, 2, 4}, empty{2, 2, 2, 4};
    for (RECT* r : {&left_of_it, &past_right, &past_bottom, &inverted, &empty}) {
        EXPECT_EQ(dst->BltFast(0, 0, src, r, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    }
    // The destination must hold the whole rectangle too.
    EXPECT_EQ(dst->BltFast(9, 0, src, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(dst->BltFast(0, 0xFFFFFFF0u, src, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(Bytes(dst), before);
    EXPECT_EQ(DDraw7Test_Counters(dd_).blt_fasts, 0u);
}

TEST_F(DDrawTest, TheSourceKeyIsAnExactMatchInTheSurfacesFormat) {
    Exclusive();
    IDirectDrawSurface7* src = Surface(4, 1);
    IDirectDrawSurface7* dst = Surface(4, 1);
    // Black with a stray unused byte, near-black, black, white.
    Fill(src, [](int x, int) {
        const uint32_t v[] = {0xEE000000u, 0x00000001u, 0x00000000u, 0x00FFFFFFu};
        return v[x];
    });
    Fill(dst, [](int, int) { return 0x00336699u; });
    DDCOLORKEY black{0, 0};
    ASSERT_EQ(src->SetColorKey(DDCKEY_SRCBLT, &black), DD_OK);
    ASSERT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Raw(dst, 0, 0), 0x00336699u);  // the unused byte is no colour
    EXPECT_EQ(Raw(dst, 1, 0), 0x00000001u);
    EXPECT_EQ(Raw(dst, 2, 0), 0x00336699u);
    EXPECT_EQ(Raw(dst, 3, 0), 0x00FFFFFFu);
    // Without the flag the key is not used.
    ASSERT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Raw(dst, 2, 0), 0u);
    // Ranges are not offered.
    DDCOLORKEY range{0, 5};
    EXPECT_EQ(src->SetColorKey(DDCKEY_SRCBLT, &range), DDERR_UNSUPPORTED);
}

TEST_F(DDrawTest, SixteenBitKeysCompareTheColourBits) {
    Exclusive(16);
    DDraw7Test_UseX1R5G5B5(dd_, true);
    ASSERT_EQ(dd_->SetDisplayMode(640, 480, 16, 0, 0), DD_OK);
    IDirectDrawSurface7* src = Surface(3, 1);
    IDirectDrawSurface7* dst = Surface(3, 1);
    // 5-5-5: the top bit is no colour, so 0x8000 is black too.
    Fill(src, [](int x, int) { return x == 0 ? 0x8000u : x == 1 ? 0x0001u : 0x0000u; });
    Fill(dst, [](int, int) { return 0x7C00u; });
    DDCOLORKEY black{0, 0};
    ASSERT_EQ(src->SetColorKey(DDCKEY_SRCBLT, &black), DD_OK);
    ASSERT_EQ(dst->BltFast(0, 0, src, nullptr, DDBLTFAST_SRCCOLORKEY), DD_OK);
    EXPECT_EQ(Raw(dst, 0, 0), 0x7C00u);
    EXPECT_EQ(Raw(dst, 1, 0), 0x0001u);
    EXPECT_EQ(Raw(dst, 2, 0), 0x7C00u);
}

TEST_F(DDrawTest, BlitsMoveRawPixelsBetweenLikeFormatsOnly) {
    Exclusive(32);
    DDPIXELFORMAT argb = Argb32();
    IDirectDrawSurface7* alpha = Surface(2, 1, DDSCAPS_TEXTURE, &argb);
    IDirectDrawSurface7* plain = Surface(2, 1, DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY);
    Fill(alpha, [](int x, int) { return x ? 0x80123456u : 0x00654321u; });
    ASSERT_EQ(plain->Blt(nullptr, alpha, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    EXPECT_EQ(Raw(plain, 0, 0), 0x00654321u);
    EXPECT_EQ(Raw(plain, 1, 0), 0x80123456u);
    DDPIXELFORMAT rgb565{sizeof(DDPIXELFORMAT), DDPF_RGB, 0, 16, 0xF800, 0x7E0, 0x1F, 0};
    IDirectDrawSurface7* sixteen = Surface(2, 1, DDSCAPS_OFFSCREENPLAIN, &rgb565);
    EXPECT_EQ(sixteen->BltFast(0, 0, plain, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDPIXELFORMAT);
    EXPECT_EQ(sixteen->Blt(nullptr, plain, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDPIXELFORMAT);
}

TEST_F(DDrawTest, BltStretchesToTheNearestPixelAndFills) {
    Exclusive();
    IDirectDrawSurface7* src = Surface(2, 2);
    IDirectDrawSurface7* dst = Surface(4, 4);
    Fill(src, [](int x, int y) { return 0x100u * (1 + x + 2 * y); });
    ASSERT_EQ(dst->Blt(nullptr, src, nullptr, DDBLT_WAIT, nullptr), DD_OK);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) EXPECT_EQ(Raw(dst, x, y), 0x100u * (1 + x / 2 + 2 * (y / 2)));
    }
    DDBLTFX fx{sizeof(DDBLTFX), 0x00ABCDEFu, {0, 0}};
    RECT r{1, 1, 3, 2};
    ASSERT_EQ(dst->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    EXPECT_EQ(Raw(dst, 1, 1), 0x00ABCDEFu);
    EXPECT_EQ(Raw(dst, 2, 1), 0x00ABCDEFu);
    EXPECT_EQ(Raw(dst, 3, 1), 0x100u * 2);
    RECT outside{2, 2, 5, 4};
    EXPECT_EQ(dst->Blt(&outside, src, nullptr, DDBLT_WAIT, nullptr), DDERR_INVALIDRECT);
}

TEST_F(DDrawTest, OverlappingCopiesWithinOneSurfaceAreExact) {
    Exclusive();
    IDirectDrawSurface7* s = Surface(8, 8);
    auto value = [](int x, int y) { return static_cast<uint32_t>(1 + x + 8 * y); };
    Fill(s, value);
    DDCOLORKEY key{5, 5};
    ASSERT_EQ(s->SetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    RECT r{0, 0, 6, 6};
    // Down and right by one, keyed: every pixel takes its old upper-left neighbour.
    ASSERT_EQ(s->BltFast(1, 1, s, &r, DDBLTFAST_SRCCOLORKEY), DD_OK);
    for (int y = 1; y < 7; ++y) {
        for (int x = 1; x < 7; ++x) {
            uint32_t from = value(x - 1, y - 1);
            EXPECT_EQ(Raw(s, x, y), from == 5 ? value(x, y) : from) << x << "," << y;
        }
    }
    // Up and left, unkeyed.
    Fill(s, value);
    RECT lower{2, 2, 8, 8};
    ASSERT_EQ(s->BltFast(0, 0, s, &lower, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Raw(s, 0, 0), value(2, 2));
    EXPECT_EQ(Raw(s, 5, 5), value(7, 7));
}

}  // namespace
