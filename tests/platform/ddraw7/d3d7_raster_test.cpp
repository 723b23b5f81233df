// The rasteriser of the Direct3D 7 device: one-to-one quads at the half-pixel offset, the
// top-left rule on shared edges, culling, and the rectangle fast paths, which must draw exactly
// the pixels of the general rasteriser for every state the quads use.
#include <cstdint>
#include <vector>

#include "tests/platform/ddraw7/d3d7_fixture.h"

namespace {

class RasterTest : public D3DTest {
  protected:
    // Draws the same scene with the fast paths on and off; the back buffers must match.
    template <typename Scene>
    void ExpectSamePixels(Scene scene) {
        Fill(back_, [](int x, int y) { return static_cast<uint32_t>(x * 7919 + y * 104729); });
        std::vector<uint8_t> start = Bytes(back_);
        D3D7Test_SetFastPaths(device_, true);
        D3D7Test_ResetCounters(device_);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        scene();
        device_->EndScene();
        const uint64_t fast = D3D7Test_Counters(device_).fast_rectangles;
        std::vector<uint8_t> with_fast = Bytes(back_);
        Fill(back_, [](int x, int y) { return static_cast<uint32_t>(x * 7919 + y * 104729); });
        ASSERT_EQ(Bytes(back_), start);
        D3D7Test_SetFastPaths(device_, false);
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        scene();
        device_->EndScene();
        EXPECT_EQ(D3D7Test_Counters(device_).fast_rectangles, fast);  // none more
        EXPECT_GT(fast, 0u);
        EXPECT_TRUE(Bytes(back_) == with_fast);
        EXPECT_NE(with_fast, start);
    }
};

TEST_F(RasterTest, AHalfPixelOffsetQuadMapsTexelsOneToOne) {
    IDirectDrawSurface7* t = Texture(3, 2, [](int x, int y) { return 0x10101u * (1 + x + 3 * y); });
    device_->SetTexture(0, t);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(Quad(9.5f, 19.5f, 12.5f, 21.5f), D3D_OK);
    device_->EndScene();
    for (int y = 19; y <= 22; ++y) {
        for (int x = 9; x <= 13; ++x) {
            bool in = x >= 10 && x < 13 && y >= 20 && y < 22;
            if (in) {
                EXPECT_EQ(Raw(back_, x, y), 0x10101u * (1 + (x - 10) + 3 * (y - 20)));
            } else {
                EXPECT_EQ(Raw(back_, x, y), 0u) << x << "," << y;
            }
        }
    }
}

TEST_F(RasterTest, SharedEdgesOfAnyQuadAreDrawnExactlyOnce) {
    // Additive blending counts how often each pixel is drawn.
    Fill(back_, [](int, int) { return 0u; });
    device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
    device_->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    D3D7Test_SetFastPaths(device_, false);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    // A skewed strip of four triangles.
    D3DTLVERTEX v[6] = {
        {2.3f, 1.1f, 0, 1, 0xFF010101u, 0, 0, 0},  {20.7f, 3.9f, 0, 1, 0xFF010101u, 0, 0, 0},
        {1.2f, 14.6f, 0, 1, 0xFF010101u, 0, 0, 0}, {17.5f, 12.5f, 0, 1, 0xFF010101u, 0, 0, 0},
        {3.0f, 30.0f, 0, 1, 0xFF010101u, 0, 0, 0}, {25.25f, 28.75f, 0, 1, 0xFF010101u, 0, 0, 0}};
    device_->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 6, 0), D3D_OK);
    device_->EndScene();
    int covered = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x) {
            uint32_t p = Raw(back_, x, y);
            ASSERT_TRUE(p == 0 || p == 0x010101u) << x << "," << y << " drawn " << (p & 0xFF);
            covered += p != 0;
        }
    }
    EXPECT_GT(covered, 300);
}

TEST_F(RasterTest, CounterClockwiseTrianglesAreCulledByDefault) {
    Fill(back_, [](int, int) { return 0u; });
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    // Strip order bottom-left, bottom-right, top-left, top-right: both triangles wind the
    // other way.
    D3DTLVERTEX v[4] = {{0, 10, 0, 1, 0xFFFFFFFFu, 0, 0, 0},
                        {10, 10, 0, 1, 0xFFFFFFFFu, 0, 0, 0},
                        {0, 0, 0, 1, 0xFFFFFFFFu, 0, 0, 0},
                        {10, 0, 0, 1, 0xFFFFFFFFu, 0, 0, 0}};
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0), D3D_OK);
    EXPECT_EQ(Raw(back_, 5, 5), 0u);
    device_->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0), D3D_OK);
    device_->EndScene();
    EXPECT_EQ(Raw(back_, 5, 5), 0x00FFFFFFu);
}

TEST_F(RasterTest, FastPathsDrawTheGeneralPixelsForTheGamesQuads) {
    // Tiles with black holes, keyed, at every opacity the game uses, partly off the screen.
    IDirectDrawSurface7* tile = Texture(32, 32, [](int x, int y) {
        return ((x + y) % 5 == 0) ? 0u : static_cast<uint32_t>(0x030507u * (x * 3 + y));
    });
    DDCOLORKEY black{0, 0};
    tile->SetColorKey(DDCKEY_SRCBLT, &black);
    ExpectSamePixels([&] {
        QuadStates();
        device_->SetTexture(0, tile);
        const uint32_t opacities[] = {255, 0, 1, 128, 200, 254};
        int i = 0;
        for (int cy = -1; cy < 16; cy += 3) {
            for (int cx = -1; cx < 21; cx += 2, ++i) {
                const uint32_t a = opacities[i % 6];
                const float x = static_cast<float>(cx * 32 + 7) - 0.5f;
                const float y = static_cast<float>(cy * 32 - 5) - 0.5f;
                ASSERT_EQ(Quad(x, y, x + 32, y + 32, (a << 24) | 0xFFFFFFu), D3D_OK);
            }
        }
    });
}

TEST_F(RasterTest, FastPathsDrawTheGeneralPixelsForOtherStatesAndFormats) {
    DDPIXELFORMAT argb = Argb32();
    IDirectDrawSurface7* alpha = Texture(
        16, 8, [](int x, int y) { return (static_cast<uint32_t>(x * 16 + y) << 24) | 0x8040C0u; },
        &argb);
    IDirectDrawSurface7* plain = Texture(16, 8, [](int x, int y) { return 0x010203u * (x + y); });
    ExpectSamePixels([&] {
        QuadStates();
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        device_->SetTexture(0, alpha);
        ASSERT_EQ(Quad(99.5f, 99.5f, 115.5f, 107.5f, 0xC0FFFFFFu), D3D_OK);
        // A coloured diffuse, blending off, then ONE / ZERO.
        device_->SetTexture(0, plain);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, FALSE);
        ASSERT_EQ(Quad(199.5f, 99.5f, 215.5f, 107.5f, 0xFF80C040u), D3D_OK);
        device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
        device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
        device_->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ZERO);
        ASSERT_EQ(Quad(629.5f, 475.5f, 645.5f, 483.5f), D3D_OK);  // cut at the corner
        // A sub-rectangle of the texture.
        ASSERT_EQ(Quad(300.5f, 300.5f, 304.5f, 302.5f, 0xFFFFFFFFu, 0.25f, 0.5f, 0.5f, 0.75f),
                  D3D_OK);
    });
}

TEST_F(RasterTest, FastPathsFollowEveryChangeOfAKeyedTexture) {
    // Wholly keyed, keyed nowhere, and keyed in part: the fast paths take a shortcut for the
    // first two, which must last only as long as the texels do.
    IDirectDrawSurface7* tile = Texture(4, 4, [](int, int) { return 0u; });
    IDirectDrawSurface7* black = Texture(4, 4, [](int, int) { return 0u; });
    DDCOLORKEY key{0, 0};
    tile->SetColorKey(DDCKEY_SRCBLT, &key);
    QuadStates();
    device_->SetTexture(0, tile);
    auto draw = [&](float x) {
        ASSERT_EQ(device_->BeginScene(), D3D_OK);
        ASSERT_EQ(Quad(x - 0.5f, -0.5f, x + 3.5f, 3.5f), D3D_OK);
        device_->EndScene();
    };
    Fill(back_, [](int, int) { return 0x000000FFu; });
    draw(0);
    EXPECT_EQ(Raw(back_, 1, 1), 0x000000FFu);  // all key: nothing
    Fill(tile, [](int, int) { return 0x00808080u; });
    draw(10);
    EXPECT_EQ(Raw(back_, 11, 1), 0x00808080u);  // no key texel any more
    RECT corner{0, 0, 2, 2};
    ASSERT_EQ(tile->BltFast(0, 0, black, &corner, DDBLTFAST_WAIT), DD_OK);
    draw(20);
    EXPECT_EQ(Raw(back_, 20, 0), 0x000000FFu);  // the black corner is cut again
    EXPECT_EQ(Raw(back_, 23, 3), 0x00808080u);
    // A device context may change the texels too.
    HDC dc = nullptr;
    ASSERT_EQ(tile->GetDC(&dc), DD_OK);
    SetPixelV(dc, 3, 3, 0);
    tile->ReleaseDC(dc);
    draw(30);
    EXPECT_EQ(Raw(back_, 33, 3), 0x000000FFu);
    EXPECT_EQ(Raw(back_, 32, 3), 0x00808080u);
    // Taking the key away draws black as black.
    tile->SetColorKey(DDCKEY_SRCBLT, nullptr);
    draw(40);
    EXPECT_EQ(Raw(back_, 40, 0), 0u);
}

TEST_F(RasterTest, FastPathsDrawTheGeneralPixelsForWhollyAndNeverKeyedTiles) {
    IDirectDrawSurface7* empty = Texture(32, 32, [](int, int) { return 0u; });
    IDirectDrawSurface7* solid =
        Texture(32, 32, [](int x, int y) { return 0x010101u * (1 + x + y); });
    DDCOLORKEY key{0, 0};
    empty->SetColorKey(DDCKEY_SRCBLT, &key);
    solid->SetColorKey(DDCKEY_SRCBLT, &key);
    ExpectSamePixels([&] {
        QuadStates();
        for (int i = 0; i < 8; ++i) {
            device_->SetTexture(0, i % 2 ? empty : solid);
            const float x = static_cast<float>(i * 40) - 10.5f;
            ASSERT_EQ(Quad(x, 9.5f, x + 32, 41.5f, ((i * 37u) << 24) | 0xFFFFFFu), D3D_OK);
        }
    });
}

}  // namespace
