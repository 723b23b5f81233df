// Sprites of kavro-dx7: surfaces in the screen's format with black as their source key, the
// displays cut to the render target in software (the blit rectangles of the edge cases), the clip
// without clamping, memory sprites, grabbing by blit, and the render target.
#include <vector>

#include "tests/runtime/screen/ddraw7/screen_fixture.h"

namespace {

// A sprite whose column x has the colour 0x010000 * (x + 1) + row: every pixel tells where it
// came from.
uint32_t Marked(int x, int y) {
    return 0x010000u * static_cast<uint32_t>(x + 1) + static_cast<uint32_t>(y + 1);
}

TEST(Dx7BlitAreaTest, SpritesLeavingTheTargetAreCutToIt) {
    RECT src;
    int32_t x = 0, y = 0;
    // At x = -5 with width 30: blitted at 0 from clipX + 5, 25 pixels wide.
    ASSERT_TRUE(Sprite_BlitArea(-5, 10, 30, 32, 100, 7, 640, 480, &src, &x, &y));
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 10);
    EXPECT_EQ(src.left, 105);
    EXPECT_EQ(src.right - src.left, 25);
    EXPECT_EQ(src.top, 7);
    EXPECT_EQ(src.bottom, 39);
    // At x = 620 with width 30 on a 640-pixel target: 20 pixels wide.
    ASSERT_TRUE(Sprite_BlitArea(620, 470, 30, 32, 0, 0, 640, 480, &src, &x, &y));
    EXPECT_EQ(x, 620);
    EXPECT_EQ(src.left, 0);
    EXPECT_EQ(src.right, 20);
    EXPECT_EQ(src.bottom, 10);
    // Wider than the target on both sides.
    ASSERT_TRUE(Sprite_BlitArea(-100, -50, 1024, 768, 0, 0, 640, 480, &src, &x, &y));
    EXPECT_EQ(src.left, 100);
    EXPECT_EQ(src.right, 740);
    EXPECT_EQ(src.top, 50);
    EXPECT_EQ(src.bottom, 530);
    // Entirely outside, or touching the edge only: nothing.
    EXPECT_FALSE(Sprite_BlitArea(640, 0, 30, 32, 0, 0, 640, 480, &src, &x, &y));
    EXPECT_FALSE(Sprite_BlitArea(-30, 0, 30, 32, 0, 0, 640, 480, &src, &x, &y));
    EXPECT_FALSE(Sprite_BlitArea(0, 480, 30, 32, 0, 0, 640, 480, &src, &x, &y));
    EXPECT_FALSE(Sprite_BlitArea(0, -32, 30, 32, 0, 0, 640, 480, &src, &x, &y));
    EXPECT_TRUE(Sprite_BlitArea(639, 0, 30, 32, 0, 0, 640, 480, &src, &x, &y));
    EXPECT_TRUE(Sprite_BlitArea(-29, 0, 30, 32, 0, 0, 640, 480, &src, &x, &y));
    // Extreme positions do not overflow.
    EXPECT_FALSE(Sprite_BlitArea(INT32_MIN, 0, 30, 32, 0, 0, 640, 480, &src, &x, &y));
    EXPECT_FALSE(Sprite_BlitArea(INT32_MAX, 0, 30, 32, 0, 0, 640, 480, &src, &x, &y));
}

TEST_F(Dx7Test, ASpriteAtMinusFiveIsBlittedFromFivePixelsIn) {
    Open();
    ASSERT_NE(Make(1, Bmp24(60, 40, Marked)), 0);
    Sprite_Clip(1, 10, 4, 30, 32);
    ClearTo(0x0000FF);
    Sprite_Display(1, -5, 100);
    for (int x = 0; x < 27; ++x) {
        // Pixel x shows clip column 5 + x, i.e. image column 15 + x.
        const uint32_t want = x < 25 ? Marked(15 + x, 4) : 0x0000FFu;
        ASSERT_EQ(Rgb(x, 100), want) << x;
    }
    EXPECT_EQ(Rgb(0, 131), Marked(15, 35));
    EXPECT_EQ(Rgb(0, 132), 0x0000FFu);
    ClearTo(0x0000FF);
    Sprite_Display(1, 620, 0);
    EXPECT_EQ(Rgb(619, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(620, 0), Marked(10, 4));
    EXPECT_EQ(Rgb(639, 0), Marked(29, 4));
}

TEST_F(Dx7Test, PureBlackIsTransparentOnlyWhenDrawnTransparent) {
    Open();
    ASSERT_NE(Make(2, Bmp24(3, 1,
                            [](int x, int) {
                                const uint32_t c[] = {0x000000u, 0x000001u, 0xFF0000u};
                                return c[x];
                            })),
              0);
    ClearTo(0x00FF00);
    Sprite_DisplayTransparent(2, 0, 0);
    EXPECT_EQ(Rgb(0, 0), 0x00FF00u);
    EXPECT_EQ(Rgb(1, 0), 0x000001u);  // near-black stays
    EXPECT_EQ(Rgb(2, 0), 0xFF0000u);
    Sprite_Display(2, 0, 1);
    EXPECT_EQ(Rgb(0, 1), 0u);
    DDCOLORKEY key{};
    EXPECT_EQ(SurfaceOf(2)->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0u);
}

TEST_F(Dx7Test, SixteenBitScreensConvertToTheirOwnLayout) {
    Open(16);
    auto colour = [](int, int) { return 0xFF8844u; };  // red 0xFF, green 0x88, blue 0x44
    ASSERT_NE(Make(3, Bmp24(1, 1, colour)), 0);
    EXPECT_EQ(Raw(SurfaceOf(3), 0, 0), ((0xF8u << 8) + (0x88u << 3) + (0x44u >> 3)));
    DDraw7Test_UseX1R5G5B5(S().directDraw, true);
    Open(16);
    ASSERT_NE(Make(3, Bmp24(1, 1, colour)), 0);
    EXPECT_EQ(Raw(SurfaceOf(3), 0, 0), ((0xF8u << 7) + (0x88u << 2) + (0x44u >> 3)));
    Sprite_Display(3, 5, 5);
    EXPECT_EQ(Raw(Back(), 5, 5), Raw(SurfaceOf(3), 0, 0));
}

TEST_F(Dx7Test, ImagesAndSurfacesKeepTheirRowsApart) {
    Open();
    // 5 pixels wide: the BMP rows are padded, the surface rows are the surface's pitch.
    ASSERT_NE(Make(4, Bmp24(5, 3, Marked)), 0);
    Sprite_Display(4, 0, 0);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(Rgb(x, y), Marked(x, y));
    }
    // The fourth byte of each pixel is 0 without the alpha flag.
    EXPECT_EQ(Raw(SurfaceOf(4), 2, 2) >> 24, 0u);
}

TEST_F(Dx7Test, CreationNeedsAScreenAndReturnsTheSurfaceOrTheDynamicNumber) {
    Bytes image = Bmp24(4, 4, [](int, int) { return 0x123456u; });
    // Depth 24 against a screen depth of 0: refused, and nothing left behind.
    EXPECT_EQ(Make(5, image), 0);
    EXPECT_EQ(Sprite_Exists(5), nullptr);
    Open();
    SpriteId fixed = Make(5, image);
    EXPECT_EQ(fixed, reinterpret_cast<SpriteId>(SurfaceOf(5)));
    SpriteId dynamic = Make(-1, image);
    ASSERT_NE(dynamic, 0);
    EXPECT_EQ(Sprite_Width(static_cast<int32_t>(dynamic)), 4);
    Sprite_Free(static_cast<int32_t>(dynamic));
    EXPECT_EQ(Sprite_Exists(static_cast<int32_t>(dynamic)), nullptr);
    // Not an image: nothing.
    Bytes junk(64, 0x42);
    EXPECT_EQ(Make(6, junk), 0);
    EXPECT_EQ(Sprite_Exists(6), nullptr);
}

TEST_F(Dx7Test, ModeFlagsChooseTheSurfaceKind) {
    Open();
    Bytes image = Bmp24(4, 4, [](int, int) { return 0x123456u; });
    DDSCAPS2 caps{};
    ASSERT_NE(Make(1, image, 1), 0);
    SurfaceOf(1)->GetCaps(&caps);
    EXPECT_EQ(caps.dwCaps & 0x840u, 0x840u);
    ASSERT_NE(Make(2, image, kSpriteTextureMode), 0);
    SurfaceOf(2)->GetCaps(&caps);
    EXPECT_NE(caps.dwCaps & DDSCAPS_TEXTURE, 0u);
    ASSERT_NE(Make(3, image, 0), 0);
    SurfaceOf(3)->GetCaps(&caps);
    EXPECT_EQ(caps.dwCaps & (DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY),
              DDSCAPS_OFFSCREENPLAIN);
    // Flag 8 keeps a 32-bit image's alpha and sets no key; a 24-bit image loses the flag.
    ASSERT_NE(Make(4, Png32(2, 1, [](int x, int) { return x ? 0x80FF0000u : 0x00000000u; }),
                   kSpriteTextureMode | kSpriteAlphaChannel),
              0);
    EXPECT_EQ(Raw(SurfaceOf(4), 1, 0), 0x80FF0000u);
    DDCOLORKEY key{};
    EXPECT_EQ(SurfaceOf(4)->GetColorKey(DDCKEY_SRCBLT, &key), DDERR_NOCOLORKEY);
    ASSERT_NE(Make(5, image, kSpriteTextureMode | kSpriteAlphaChannel), 0);
    EXPECT_EQ(Sprite_Record(5)->mode, kSpriteTextureMode);
    EXPECT_EQ(SurfaceOf(5)->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
}

TEST_F(Dx7Test, MemorySpritesHoldABlockAndAreNeverDrawn) {
    Open();
    Bytes image = Bmp24(6, 3, [](int, int) { return 0xFFFFFFu; });
    // The creation reports 0, but the number holds a block of width x height bytes.
    EXPECT_EQ(Make(8, image, 2), 0);
    SpriteRecord* sprite = Sprite_Exists(8);
    ASSERT_NE(sprite, nullptr);
    EXPECT_EQ(sprite->depth, kMemorySpriteDepth);
    EXPECT_EQ(Sprite_Surface(sprite), nullptr);
    EXPECT_EQ(Sprite_Width(8), 6);
    ClearTo(0);
    Sprite_Display(8, 0, 0);
    Sprite_DisplayTransparent(8, 0, 0);
    EXPECT_EQ(Rgb(0, 0), 0u);
    EXPECT_EQ(Sprite3D_Create(1, 8), 0);
    EXPECT_EQ(Screen_SetRenderTarget(8), 0);
    Sprite_Free(8);
    EXPECT_EQ(Sprite_Exists(8), nullptr);
    // Grabbing in mode 2 is refused.
    EXPECT_EQ(Sprite_Grab(9, 0, 0, 4, 4, 2), 0);
}

TEST_F(Dx7Test, ClipRectanglesAreTakenAsGiven) {
    Open();
    ASSERT_NE(Make(1, Bmp24(466, 128, Marked)), 0);
    Sprite_Clip(1, 10, 0, 1000, 32);
    EXPECT_EQ(Sprite_Width(1), 456);
    EXPECT_EQ(Sprite_Height(1), 32);
    Sprite_Clip(1, -1, -1, -1, -1);
    EXPECT_EQ(Sprite_Width(1), 466);
    EXPECT_EQ(Sprite_Height(1), 128);
    EXPECT_EQ(Sprite_Record(1)->clipX, 0);
    // No clamping: an origin outside the image is kept, and such a clip is not drawn.
    Sprite_Clip(1, -3, 0, 20, 10);
    EXPECT_EQ(Sprite_Record(1)->clipX, -3);
    EXPECT_EQ(Sprite_Width(1), 20);
    Sprite_Clip(1, 470, 0, 20, 10);
    EXPECT_EQ(Sprite_Width(1), -4);
    ClearTo(0x0000FF);
    std::vector<uint8_t> before = Contents(Back());
    Sprite_Clip(1, -3, 0, 20, 10);
    Sprite_Display(1, 100, 100);
    Sprite_Clip(1, 470, 0, 20, 10);  // right of the image
    Sprite_Display(1, 100, 100);
    Sprite_Clip(1, 0, 130, 10, 10);  // below it
    Sprite_Display(1, 100, 100);
    EXPECT_EQ(Contents(Back()), before);
}

TEST_F(Dx7Test, GrabCopiesTheRenderTargetByBlitUpToItsEdges) {
    Open();
    ASSERT_NE(Make(1, Bmp24(64, 32, Marked)), 0);
    Sprite_Display(1, 576, 448);  // the bottom-right corner of the screen
    // Outside the target: refused.
    EXPECT_EQ(Sprite_Grab(2, 577, 448, 64, 32), 0);
    EXPECT_EQ(Sprite_Grab(2, -1, 0, 4, 4), 0);
    EXPECT_EQ(Sprite_Exists(2), nullptr);
    // Touching the right and bottom edges exactly.
    SpriteId grabbed = Sprite_Grab(2, 576, 448, 64, 32, kSpriteTextureMode);
    ASSERT_NE(grabbed, 0);
    EXPECT_EQ(grabbed, reinterpret_cast<SpriteId>(SurfaceOf(2)));
    EXPECT_EQ(Raw(SurfaceOf(2), 63, 31) & 0xFFFFFF, Marked(63, 31));
    // Black is the key of a grabbed sprite.
    DDCOLORKEY key{1, 1};
    EXPECT_EQ(SurfaceOf(2)->GetColorKey(DDCKEY_SRCBLT, &key), DD_OK);
    EXPECT_EQ(key.dwColorSpaceLowValue, 0u);
    EXPECT_EQ(Sprite_Record(2)->depth, 0);
    // A second grab under the number replaces the sprite; a dynamic number is reused in place.
    ASSERT_NE(Sprite_Grab(2, 0, 0, 8, 8), 0);
    EXPECT_EQ(Sprite_Width(2), 8);
    SpriteId dynamic = Sprite_Grab(-1, 576, 448, 4, 4);
    ASSERT_NE(dynamic, 0);
    const int32_t number = static_cast<int32_t>(dynamic);
    const SpriteId again = Sprite_Grab(number, 576, 448, 16, 2);
    EXPECT_EQ(again, reinterpret_cast<SpriteId>(SurfaceOf(number)));
    EXPECT_EQ(Sprite_Width(number), 16);
    EXPECT_EQ(Raw(SurfaceOf(number), 15, 1) & 0xFFFFFF, Marked(15, 1));
}

TEST_F(Dx7Test, SpritesCanBeTheRenderTarget) {
    Open();
    ASSERT_NE(Make(1, Bmp24(16, 16, [](int, int) { return 0x404040u; })), 0);
    ASSERT_NE(Make(2, Bmp24(4, 4, [](int, int) { return 0xFF0000u; })), 0);
    ASSERT_EQ(Screen_SetRenderTarget(1), 1);
    EXPECT_EQ(S().width, 16);
    Sprite_Display(2, 14, 14);  // cut to the sprite's size
    EXPECT_EQ(Raw(SurfaceOf(1), 15, 15) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Raw(SurfaceOf(1), 13, 13) & 0xFFFFFF, 0x404040u);
    // Grabs read the target; a grab into the target itself is refused.
    ASSERT_NE(Sprite_Grab(3, 12, 12, 4, 4), 0);
    EXPECT_EQ(Raw(SurfaceOf(3), 3, 3) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(Sprite_Grab(1, 0, 0, 4, 4), 0);
    EXPECT_EQ(Sprite_Grab(4, 0, 0, 32, 4), 0);  // larger than the sprite
    // Freeing the target sprite sends blits back to the back buffer.
    Sprite_Free(1);
    EXPECT_EQ(S().renderTarget, -1);
    EXPECT_EQ(S().width, 640);
    ASSERT_EQ(Screen_SetRenderTarget(3), 1);
    Screen_Flip();
    EXPECT_EQ(S().renderSurface, Back());
}

TEST_F(Dx7Test, RecreatingANumberFreesTheOldSprite) {
    Open();
    ASSERT_NE(Make(1, Bmp24(4, 4, [](int, int) { return 0x111111u; })), 0);
    IDirectDrawSurface7* old = SurfaceOf(1);
    old->AddRef();
    ASSERT_NE(Make(1, Bmp24(2, 2, [](int, int) { return 0x222222u; })), 0);
    EXPECT_EQ(old->Release(), 0u);  // the table let go of it
    EXPECT_EQ(Sprite_Width(1), 2);
}

}  // namespace
