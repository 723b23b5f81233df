// A frame like the game's (a scrolled opaque background, rows of tile quads at several
// opacities, transparent sprites clipped at the edges, a sprite between quads) rendered through
// the fast paths and again through the general rasteriser: every pixel is the same.
#include <gtest/gtest.h>

#include "content/tiles.h"
#include "tests/runtime/screen/d3d9/screen_fixture.h"

namespace {

class SceneTest : public ScreenTest {
  protected:
    void Build() {
        // Background larger than the screen, player sheet, and tiles cut from a tile sheet.
        ASSERT_NE(Make(0, Bmp24(1024, 768,
                                [](int x, int y) {
                                    return static_cast<uint32_t>((x * 7) ^ (y * 13)) & 0xFFFFFF;
                                })),
                  0);
        ASSERT_NE(Make(100, Bmp24(466, 128,
                                  [](int x, int y) {
                                      return ((x / 7 + y / 5) % 4 == 0)
                                                 ? 0u
                                                 : 0x101010u * (1 + (x + y) % 15);
                                  })),
                  0);
        ASSERT_NE(Make(50, Bmp24(128, 64,
                                 [](int x, int y) {
                                     return ((x % 32) < 4 || (y % 32) > 28)
                                                ? 0u
                                                : 0x030507u * ((x * 3 + y) % 80);
                                 })),
                  0);
        Sprite_Display(50, 0, 0);
        int32_t q = kavro_content::kTileQuadBase;
        for (int row = 0; row < 2; ++row) {
            for (int col = 0; col < 4; ++col, ++q) {
                ASSERT_NE(Sprite_Grab(q, col * 32, row * 32, 32, 32, 4), 0);
                ASSERT_NE(Sprite3D_Create(q, q), 0);
            }
        }
    }
    void Frame(int view_x, int view_y) {
        Sprite_Display(0, -view_x / 8, -view_y / 8);
        Sprite3D_Start();
        const int32_t opacities[] = {255, 255, 128, 200, 255, 64, 255, 256};
        for (int cy = -1; cy < 16; ++cy) {
            for (int cx = -1; cx < 21; ++cx) {
                int tile = (cx * 3 + cy * 5) & 7;
                Sprite3D_Display(kavro_content::kTileQuadBase + tile, cx * 32 - view_x % 32,
                                 cy * 32 - view_y % 32, opacities[(cx + cy) & 7]);
                if (cx == 10 && cy == 7) {
                    Sprite_Clip(100, 28, 32, 28, 32);
                    Sprite_DisplayTransparent(100, 301, 233);
                }
            }
        }
        Sprite3D_Stop();
        Sprite_Clip(100, 0, 0, 30, 32);
        Sprite_DisplayTransparent(100, 320, 240);
        Sprite_DisplayTransparent(100, -7, 470);
        Sprite_DisplayTransparent(100, 625, -20);
    }
};

TEST_F(SceneTest, FastPathsAndTheGeneralRasteriserDrawTheSameFrame) {
    Open();
    Build();
    std::vector<uint8_t> frames[2];
    for (int pass = 0; pass < 2; ++pass) {
        D3D9Test_SetFastPaths(Device(), pass == 0);
        D3D9Test_ResetCounters(Device());
        ClearTo(0);
        Frame(123, 77);
        Screen_EndScene();
        frames[pass] = BackBufferBytes();
        const D3D9TestCounters& c = D3D9Test_Counters(Device());
        EXPECT_GT(c.draws, 300u);
        if (pass == 0)
            EXPECT_EQ(c.raster.triangles, 0u);  // everything took a fast path
        else
            EXPECT_EQ(c.raster.fast_rectangles, 0u);
    }
    ASSERT_EQ(frames[0].size(), frames[1].size());
    size_t differing = 0;
    for (size_t i = 0; i < frames[0].size(); ++i) differing += frames[0][i] != frames[1][i];
    EXPECT_EQ(differing, 0u);
}

TEST_F(SceneTest, SixteenBitFramesAgreeToo) {
    Open(16);
    Build();
    std::vector<uint8_t> frames[2];
    for (int pass = 0; pass < 2; ++pass) {
        D3D9Test_SetFastPaths(Device(), pass == 0);
        ClearTo(0);
        Frame(40, 500);
        Screen_EndScene();
        frames[pass] = BackBufferBytes();
    }
    EXPECT_TRUE(frames[0] == frames[1]);
}

}  // namespace
