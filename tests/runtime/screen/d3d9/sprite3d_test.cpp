// Textured quads: opacity, the whole texture whatever the sprite's clip, sprites drawn between
// quads, the quad states applied once per run, and quads that outlive their sprite.
#include <gtest/gtest.h>

#include "tests/runtime/screen/d3d9/screen_fixture.h"

namespace {

using d3d9px::Mul8;

class QuadTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Open();
        ClearTo(0x0000FF);
        // A 4 x 2 tile: black (transparent) on the left half, grey-green on the right.
        Bytes tile = Bmp24(4, 2, [](int x, int) { return x < 2 ? 0u : 0x40C080u; });
        ASSERT_NE(Sprite_CreateFromMemory(1, tile.data(), static_cast<int32_t>(tile.size())), 0);
        // Texture mode comes from grabbing, as the map engine makes its tiles.
        Sprite_Display(1, 0, 0);
        ASSERT_NE(Sprite_Grab(2, 0, 0, 4, 2, 4), 0);
        ASSERT_NE(Sprite3D_Create(10, 2), 0);
        ClearTo(0x0000FF);
    }
    // Tile colour blended at `alpha` over the blue background.
    static uint32_t Over(uint32_t alpha) {
        uint32_t r = Mul8(0x40, alpha), g = Mul8(0xC0, alpha);
        uint32_t b = Mul8(0x80, alpha) + Mul8(0xFF, 255 - alpha);
        return (r << 16) | (g << 8) | b;
    }
};

TEST_F(QuadTest, OpacityScalesTheTexelAlpha) {
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(10, 0, 0, 255);
    Sprite3D_Display(10, 10, 0, 128);
    Sprite3D_Display(10, 20, 0, 256);  // only the low 8 bits: 0
    Sprite3D_Display(10, 30, 0, 0);
    Sprite3D_Stop();
    EXPECT_EQ(Rgb(0, 0), 0x0000FFu);  // transparent texels stay invisible
    EXPECT_EQ(Rgb(2, 0), 0x40C080u);  // 255 draws the tile like a transparent sprite
    EXPECT_EQ(Rgb(3, 1), 0x40C080u);
    EXPECT_EQ(Rgb(4, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(12, 1), Over(128));
    EXPECT_EQ(Rgb(10, 1), 0x0000FFu);
    EXPECT_EQ(Rgb(22, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(32, 0), 0x0000FFu);
}

TEST_F(QuadTest, ASpriteBetweenTwoQuadsLeavesTheSecondBlendedRight) {
    Bytes opaque = Bmp24(2, 2, [](int, int) { return 0xFFFFFFu; });
    ASSERT_NE(Make(3, opaque), 0);
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(10, 0, 0, 128);
    Sprite_Display(3, 100, 100);  // drops the quad states: opaque copy
    EXPECT_EQ(Sprite3D_State().quadStatesActive, 0);
    Sprite3D_Display(10, 50, 0, 128);
    EXPECT_EQ(Sprite3D_State().quadStatesActive, 1);
    Sprite3D_Stop();
    EXPECT_EQ(Rgb(2, 0), Over(128));
    EXPECT_EQ(Rgb(52, 0), Over(128));
    EXPECT_EQ(Rgb(50, 0), 0x0000FFu);
    EXPECT_EQ(Rgb(100, 100), 0xFFFFFFu);
}

TEST_F(QuadTest, AQuadDrawsTheWholeTextureWhateverTheSpritesClip) {
    Sprite_Clip(2, 3, 1, 1, 1);
    ASSERT_NE(Sprite3D_Create(11, 2), 0);
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(11, 200, 200, 255);
    Sprite3D_Stop();
    EXPECT_EQ(Rgb(202, 200), 0x40C080u);
    EXPECT_EQ(Rgb(203, 201), 0x40C080u);
    EXPECT_EQ(Rgb(204, 200), 0x0000FFu);
}

TEST_F(QuadTest, OnlyTextureModeSpritesMakeQuads) {
    EXPECT_EQ(Sprite3D_Create(12, 1), 0);   // made without flag 4
    EXPECT_EQ(Sprite3D_Create(12, 99), 0);  // no such sprite
    SpriteId dynamic = Sprite3D_Create(-1, 2);
    ASSERT_GE(dynamic, 0x40000000);
    Sprite3D_Free(static_cast<int32_t>(dynamic));
}

TEST_F(QuadTest, QuadStatesAreAppliedOncePerRun) {
    ASSERT_EQ(Sprite3D_Start(), 1);
    const D3D9TestCounters& c = D3D9Test_Counters(Device());
    uint64_t stage = c.stage_states, render = c.render_states, fvf = c.fvf_changes;
    uint64_t draws = c.draws;
    for (int i = 0; i < 50; ++i) Sprite3D_Display(10, i * 4, 300, 200);
    EXPECT_EQ(c.stage_states, stage);
    EXPECT_EQ(c.render_states, render);
    EXPECT_EQ(c.fvf_changes, fvf);
    EXPECT_EQ(c.draws, draws + 50);
    Sprite3D_Stop();
    EXPECT_EQ(Sprite3D_State().sprite3DMode, 0);
    // A quad drawn without a start sets no states.
    uint64_t before = c.stage_states;
    Sprite3D_Display(10, 0, 400, 255);
    EXPECT_EQ(c.stage_states, before);
}

TEST_F(QuadTest, AQuadOutlivingItsSpriteDrawsItsTextureSafely) {
    Sprite_Free(2);
    EXPECT_EQ(Sprite_Exists(2), nullptr);
    ASSERT_EQ(Sprite3D_Start(), 1);
    Sprite3D_Display(10, 60, 60, 255);  // the texture is held by the quad
    Sprite3D_Stop();
    EXPECT_EQ(Rgb(62, 60), 0x40C080u);
    Sprite3D_Free(10);
    // The screen closes with the quads of the game still made: the cleanup chain frees them
    // after the sprites (Sprite_End, then Sprite3D_End).
    ASSERT_NE(Sprite_Grab(2, 0, 0, 4, 2, 4), 0);
    ASSERT_NE(Sprite3D_Create(10, 2), 0);
}

}  // namespace
