// Textured quads of kavro-dx7 on Direct3D 7: alpha = opacity with black cut by the colour key
// (the difference from the Direct3D 9 quads, whose alpha is texel alpha x opacity), sprites with
// their own alpha, the clip size squeezing a clipped sprite, the states set once per change, and
// quads that outlive their sprite.
#include <vector>

#include "tests/runtime/screen/ddraw7/screen_fixture.h"

namespace {

class Dx7QuadTest : public Dx7Test {
  protected:
    // A 4 x 1 tile: black, dark grey, near-black, orange.
    void MakeTile(int32_t number) {
        ASSERT_NE(Make(number,
                       Bmp24(4, 1,
                             [](int x, int) {
                                 const uint32_t c[] = {0x000000u, 0x404040u, 0x000100u, 0xFF8000u};
                                 return c[x];
                             }),
                       kSpriteTextureMode),
                  0);
        ASSERT_NE(Sprite3D_Create(number, number), 0);
    }
};

TEST_F(Dx7QuadTest, OpacityIsTheAlphaAndTheKeyCutsBlack) {
    Open();
    MakeTile(1);
    ClearTo(0x2060A0);
    ASSERT_EQ(Sprite3D_Start(), 1);
    const int32_t opacities[] = {255, 128, 1, 0, 256, 0x1FF, -1};
    for (int i = 0; i < 7; ++i) Sprite3D_Display(1, 0, i, opacities[i]);
    Sprite3D_Stop();
    const uint32_t texels[] = {0x000000u, 0x404040u, 0x000100u, 0xFF8000u};
    const uint32_t under = 0x2060A0u;
    for (int i = 0; i < 7; ++i) {
        const uint32_t a = static_cast<uint32_t>(opacities[i]) & 0xFF;  // the low 8 bits
        EXPECT_EQ(Rgb(0, i), under) << "black is cut at every opacity";
        for (int x = 1; x < 4; ++x) {
            uint32_t want = 0;
            for (int shift : {16, 8, 0}) {
                const uint32_t s = (texels[x] >> shift) & 0xFF, d = (under >> shift) & 0xFF;
                want |= (Mul8(s, a) + Mul8(d, 255 - a)) << shift;
            }
            // On Direct3D 9 the alpha is texel alpha (255 for a non-black texel) x opacity:
            // the same value, so the pixels are the same; only black differs in kind (alpha 0
            // there, cut by the key here) and not in result.
            EXPECT_EQ(Rgb(x, i), want) << "opacity " << opacities[i] << " texel " << x;
        }
    }
}

TEST_F(Dx7QuadTest, OpacityTwoFiftyFiveOnAKeyedTileDrawsItLikeATransparentSprite) {
    Open();
    MakeTile(1);
    ClearTo(0x00FF00);
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(1, 10, 10, 255);
    Sprite3D_Stop();
    ASSERT_NE(Make(2, Bmp24(4, 1,
                            [](int x, int) {
                                const uint32_t c[] = {0x000000u, 0x404040u, 0x000100u, 0xFF8000u};
                                return c[x];
                            })),
              0);
    Sprite_DisplayTransparent(2, 10, 11);
    for (int x = 10; x < 14; ++x) EXPECT_EQ(Rgb(x, 10), Rgb(x, 11)) << x;
    EXPECT_EQ(Rgb(10, 10), 0x00FF00u);
    EXPECT_EQ(Rgb(12, 10), 0x000100u);
}

TEST_F(Dx7QuadTest, SpritesWithTheirOwnAlphaBlendByItWithoutAKey) {
    Open();
    ASSERT_NE(Make(3, Png32(2, 1, [](int x, int) { return x ? 0x80FFFFFFu : 0x00000000u; }),
                   kSpriteTextureMode | kSpriteAlphaChannel),
              0);
    ASSERT_NE(Sprite3D_Create(3, 3), 0);
    MakeTile(1);
    ClearTo(0x000040);
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(3, 0, 0, 128);
    Sprite3D_Display(1, 0, 1, 255);  // the key is on again for a keyed tile
    Sprite3D_Stop();
    const uint32_t a = Mul8(0x80, 128);  // texel alpha x opacity
    EXPECT_EQ(Rgb(0, 0), 0x000040u);     // alpha 0
    EXPECT_EQ(Rgb(1, 0), Mul8(0xFF, a) * 0x010100u + Mul8(0xFF, a) + Mul8(0x40, 255 - a));
    EXPECT_EQ(Rgb(0, 1), 0x000040u);
    EXPECT_EQ(Rgb(3, 1), 0xFF8000u);
    EXPECT_EQ(Sprite3D_State().colorKeyEnabled, 1);
}

TEST_F(Dx7QuadTest, TheKeyStateIsSentOnlyWhenItChanges) {
    Open();
    MakeTile(1);
    ASSERT_NE(Make(3, Png32(1, 1, [](int, int) { return 0xFFFFFFFFu; }),
                   kSpriteTextureMode | kSpriteAlphaChannel),
              0);
    ASSERT_NE(Sprite3D_Create(3, 3), 0);
    ASSERT_EQ(Sprite3D_Start(), 1);
    IDirect3DDevice7* d = Sprite3D_State().device;
    D3D7Test_ResetCounters(d);
    for (int i = 0; i < 5; ++i) Sprite3D_Display(1, 0, 0, 255);
    EXPECT_EQ(D3D7Test_Counters(d).render_states, 0u);
    EXPECT_EQ(D3D7Test_Counters(d).draws, 5u);
    Sprite3D_Display(3, 0, 0, 255);
    Sprite3D_Display(3, 0, 0, 255);
    Sprite3D_Display(1, 0, 0, 255);
    EXPECT_EQ(D3D7Test_Counters(d).render_states, 2u);
    Sprite3D_Stop();
}

TEST_F(Dx7QuadTest, AClippedSpritesWholeSurfaceIsSqueezedIntoItsClip) {
    Open();
    ASSERT_NE(
        Make(4, Bmp24(4, 2, [](int x, int) { return 0x100000u * (x + 1); }), kSpriteTextureMode),
        0);
    Sprite_Clip(4, 0, 0, 2, 2);
    ASSERT_NE(Sprite3D_Create(4, 4), 0);
    ClearTo(0x0000FF);
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(4, 0, 0, 255);
    Sprite3D_Stop();
    // Four texels over two pixels: each pixel centre samples every second texel.
    EXPECT_EQ(Rgb(0, 0), 0x200000u);
    EXPECT_EQ(Rgb(1, 0), 0x400000u);
    EXPECT_EQ(Rgb(2, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(0, 2), 0x0000FFu);
}

TEST_F(Dx7QuadTest, QuadsNeedATextureModeSpriteAndAnOpenScreen) {
    EXPECT_EQ(Sprite3D_Start(), 0);  // no screen, no device
    Open();
    ASSERT_NE(Make(5, Bmp24(2, 2, [](int, int) { return 0xFFFFFFu; })), 0);
    EXPECT_EQ(Sprite3D_Create(5, 5), 0);
    EXPECT_EQ(Sprite3D_Create(6, 77), 0);
    SpriteId dynamic = 0;
    MakeTile(1);
    dynamic = Sprite3D_Create(-1, 1);
    ASSERT_NE(dynamic, 0);
    ClearTo(0);
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(static_cast<int32_t>(dynamic), 0, 0, 255);
    Sprite3D_Display(12345, 0, 0, 255);  // unknown: nothing
    Sprite3D_Stop();
    EXPECT_EQ(Rgb(3, 0), 0xFF8000u);
    Sprite3D_Free(static_cast<int32_t>(dynamic));
}

TEST_F(Dx7QuadTest, AQuadOutlivingItsSpriteStillDrawsItsSurface) {
    Open();
    MakeTile(1);
    Sprite_Free(1);
    EXPECT_EQ(Sprite_Exists(1), nullptr);
    ClearTo(0);
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(1, 20, 20, 255);
    Sprite3D_Stop();
    EXPECT_EQ(Rgb(23, 20), 0xFF8000u);
}

}  // namespace

// The frame's background and a whole layer of opaque tiles over it, as the game draws them:
// the background behind them is never copied, and the picture is the tiles'.
TEST_F(Dx7QuadTest, ABackgroundBehindAWholeLayerOfOpaqueTilesIsNotCopied) {
    Open();
    ASSERT_NE(
        Make(0, Bmp24(700, 520, [](int x, int y) { return 0x010101u * ((x + y) % 200 + 1); })), 0);
    ASSERT_NE(Make(1, Bmp24(32, 32, [](int x, int y) { return 0x102030u + 0x010000u * (x + y); }),
                   kSpriteTextureMode),
              0);
    ASSERT_NE(Sprite3D_Create(1, 1), 0);
    const uint64_t hidden = DDraw7Test_Counters(S().directDraw).hidden_pixels;
    Sprite_Display(0, -37, -20);
    ASSERT_EQ(Sprite3D_Start(), 1);
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 21; ++column)
            Sprite3D_Display(1, column * 32 - 7, row * 32 - 5, 255);
    }
    Sprite3D_Stop();
    EXPECT_EQ(Rgb(0, 0), 0x102030u + 0x010000u * (7 + 5));
    EXPECT_EQ(Rgb(639, 479), 0x102030u + 0x010000u * ((639 + 7) % 32 + (479 + 5) % 32));
    EXPECT_EQ(DDraw7Test_Counters(S().directDraw).hidden_pixels - hidden, 640u * 480u);
}
