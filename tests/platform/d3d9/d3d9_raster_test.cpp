// The rasteriser: the 8-bit rule, pixel centres and the top-left rule, point sampling,
// culling, shared edges drawn once, and the fast paths held to the general path pixel for
// pixel.
#include <gtest/gtest.h>

#include <random>

#include "platform/win32/time.h"
#include "tests/platform/d3d9/device_fixture.h"

namespace {

using d3d9px::Mul8;

TEST(PixelMathTest, TheProductRuleIsRoundingAndExactAtTheEnds) {
    for (uint32_t a = 0; a < 256; ++a) {
        for (uint32_t b = 0; b < 256; ++b)
            ASSERT_EQ(Mul8(a, b), (a * b + 127) / 255) << a << " " << b;
        ASSERT_EQ(Mul8(a, 255), a);
        ASSERT_EQ(Mul8(a, 0), 0u);
    }
}

TEST(PixelMathTest, SixteenBitChannelsWidenToTheFullRange) {
    EXPECT_EQ(d3d9px::FromA1R5G5B5(0xFFFF), 0xFFFFFFFFu);
    EXPECT_EQ(d3d9px::FromA1R5G5B5(0x7C00), 0x00FF0000u);
    EXPECT_EQ(d3d9px::FromR5G6B5(0x07E0), 0xFF00FF00u);
    EXPECT_EQ(d3d9px::FromX1R5G5B5(0x0000), 0xFF000000u);
    for (uint32_t p = 0; p < 0x8000; ++p) {
        ASSERT_EQ(d3d9px::ToX1R5G5B5(d3d9px::FromX1R5G5B5(p)), p | 0x8000u);
    }
}

class RasterTest : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        Open();
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 0, 0);
        device_->BeginScene();
    }
    void TearDown() override {
        device_->SetTexture(0, nullptr);
        device_->EndScene();
        DeviceTest::TearDown();
    }
};

TEST_F(RasterTest, AHalfPixelOffsetQuadMapsTexelsOneToOne) {
    IDirect3DTexture9* t = Texture(5, 3, D3DFMT_A8R8G8B8, [](UINT x, UINT y) {
        return 0xFF000000u | (x << 16) | (y << 8) | 7;
    });
    device_->SetTexture(0, t);
    States(D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_SELECTARG1, D3DTOP_SELECTARG1);
    for (bool fast : {true, false}) {
        D3D9Test_SetFastPaths(device_, fast);
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 0, 0);
        ASSERT_EQ(Quad(9.5f, 19.5f, 14.5f, 22.5f, 0, 0, 1, 1), D3D_OK);
        for (int y = 18; y < 24; ++y) {
            for (int x = 8; x < 16; ++x) {
                bool inside = x >= 10 && x < 15 && y >= 20 && y < 23;
                uint32_t want =
                    inside ? 0xFF000000u | ((x - 10) << 16) | ((y - 20) << 8) | 7 : 0xFF000000u;
                ASSERT_EQ(Pixel(x, y), want) << x << "," << y << " fast " << fast;
            }
        }
    }
    EXPECT_GT(D3D9Test_Counters(device_).raster.fast_rectangles, 0u);
    EXPECT_GT(D3D9Test_Counters(device_).raster.triangles, 0u);
    t->Release();
}

TEST_F(RasterTest, EdgesThroughPixelCentresFollowTheTopLeftRule) {
    IDirect3DTexture9* t = Texture(1, 1, D3DFMT_A8R8G8B8, [](UINT, UINT) { return 0xFFFFFFFFu; });
    device_->SetTexture(0, t);
    States(D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_SELECTARG1, D3DTOP_SELECTARG1);
    for (bool fast : {true, false}) {
        D3D9Test_SetFastPaths(device_, fast);
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0, 0, 0);
        // Left edge on centre 1 (drawn), right edge on centre 3 (not drawn); same for rows.
        ASSERT_EQ(Quad(1.0f, 1.0f, 3.0f, 3.0f, 0, 0, 1, 1), D3D_OK);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 5; ++x) {
                bool inside = x >= 1 && x < 3 && y >= 1 && y < 3;
                ASSERT_EQ(Pixel(x, y), inside ? 0xFFFFFFFFu : 0xFF000000u)
                    << x << "," << y << " fast " << fast;
            }
        }
    }
    t->Release();
}

TEST_F(RasterTest, SharedEdgesOfAnyQuadAreDrawnExactlyOnce) {
    IDirect3DTexture9* t = Texture(1, 1, D3DFMT_A8R8G8B8, [](UINT, UINT) { return 0x80FFFFFFu; });
    device_->SetTexture(0, t);
    States(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_SELECTARG1, D3DTOP_SELECTARG1);
    // A tilted quad and a fan of strips whose inner edges run through pixel centres.
    QuadVertex q[4] = {{20.0f, 10.0f, 0, 1, ~0u, 0, 0},
                       {60.0f, 20.0f, 0, 1, ~0u, 1, 0},
                       {10.0f, 50.0f, 0, 1, ~0u, 0, 1},
                       {50.0f, 60.0f, 0, 1, ~0u, 1, 1}};
    device_->SetFVF(0x144);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, q, sizeof(QuadVertex)), D3D_OK);
    QuadVertex strip[6] = {{100, 10, 0, 1, ~0u, 0, 0}, {110, 10, 0, 1, ~0u, 0, 0},
                           {100, 20, 0, 1, ~0u, 0, 0}, {110, 20, 0, 1, ~0u, 0, 0},
                           {100, 30, 0, 1, ~0u, 0, 0}, {110, 30, 0, 1, ~0u, 0, 0}};
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 4, strip, sizeof(QuadVertex)), D3D_OK);
    const uint32_t once = 0xFF000000u | Mul8(255, 128) * 0x010101u;
    int covered = 0;
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 120; ++x) {
            uint32_t p = Pixel(x, y);
            ASSERT_TRUE(p == 0xFF000000u || p == once) << x << "," << y << " " << std::hex << p;
            covered += p == once;
        }
    }
    // The strip covers exactly its 10 x 20 pixel centres.
    int strip_pixels = 0;
    for (int y = 0; y < 40; ++y) {
        for (int x = 95; x < 115; ++x) strip_pixels += Pixel(x, y) == once;
    }
    EXPECT_EQ(strip_pixels, 200);
    EXPECT_GT(covered, 1000);
    t->Release();
}

TEST_F(RasterTest, PointSamplingClampsCoordinatesOutsideTheTexture) {
    IDirect3DTexture9* t =
        Texture(2, 1, D3DFMT_A8R8G8B8, [](UINT x, UINT) { return x ? 0xFF0000FFu : 0xFFFF0000u; });
    device_->SetTexture(0, t);
    States(D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_SELECTARG1, D3DTOP_SELECTARG1);
    // u runs from -1 to 3 over 8 pixels, -0.75 at the first centre, +0.5 per pixel: texel
    // floor(u x 2) clamped to 0..1.
    ASSERT_EQ(Quad(-0.5f, -0.5f, 7.5f, 0.5f, -1.0f, 0, 3.0f, 1), D3D_OK);
    const uint32_t want[8] = {0xFFFF0000u, 0xFFFF0000u, 0xFFFF0000u, 0xFF0000FFu,
                              0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu};
    for (int x = 0; x < 8; ++x) EXPECT_EQ(Pixel(x, 0), want[x]) << x;
    t->Release();
}

TEST_F(RasterTest, CounterClockwiseTrianglesAreCulled) {
    IDirect3DTexture9* t = Texture(1, 1, D3DFMT_A8R8G8B8, [](UINT, UINT) { return 0xFFFFFFFFu; });
    device_->SetTexture(0, t);
    States(D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_SELECTARG1, D3DTOP_SELECTARG1);
    // Mirrored strip order: bottom-left first.
    QuadVertex q[3] = {
        {0, 10, 0, 1, ~0u, 0, 0}, {10, 10, 0, 1, ~0u, 0, 0}, {0, 0, 0, 1, ~0u, 0, 0}};
    device_->SetFVF(0x144);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 1, q, sizeof(QuadVertex)), D3D_OK);
    EXPECT_EQ(Pixel(2, 6), 0xFF000000u);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    ASSERT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 1, q, sizeof(QuadVertex)), D3D_OK);
    EXPECT_EQ(Pixel(2, 6), 0xFFFFFFFFu);
    t->Release();
}

TEST_F(RasterTest, ModulateAndBlendFollowTheOneRule) {
    IDirect3DTexture9* t = Texture(1, 1, D3DFMT_A8R8G8B8, [](UINT, UINT) { return 0xC0806040u; });
    device_->SetTexture(0, t);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00204080, 0, 0);
    States(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_MODULATE, D3DTOP_MODULATE);
    const uint32_t diffuse = 0x90F0A050u;
    ASSERT_EQ(Quad(-0.5f, -0.5f, 0.5f, 0.5f, 0, 0, 1, 1, diffuse), D3D_OK);
    uint32_t a = Mul8(0xC0, 0x90);
    uint32_t r = Mul8(Mul8(0x80, 0xF0), a) + Mul8(0x20, 255 - a);
    uint32_t g = Mul8(Mul8(0x60, 0xA0), a) + Mul8(0x40, 255 - a);
    uint32_t b = Mul8(Mul8(0x40, 0x50), a) + Mul8(0x80, 255 - a);
    EXPECT_EQ(Pixel(0, 0), 0xFF000000u | (r << 16) | (g << 8) | b);
    t->Release();
}

// Many quads of every kind the fast paths take (and some they must refuse), drawn once with the
// fast paths and once through the general rasteriser only: every byte of the target agrees.
struct Scene {
    D3DFORMAT target_format;
    D3DFORMAT texture_format;
};

class FastPathTest : public DeviceTest, public ::testing::WithParamInterface<Scene> {};

TEST_P(FastPathTest, FastPathsGiveExactlyTheGeneralPixels) {
    const Scene scene = GetParam();
    Open();
    IDirect3DSurface9* rt = nullptr;
    if (scene.target_format != D3DFMT_X8R8G8B8) {
        ASSERT_EQ(
            device_->CreateRenderTarget(320, 240, scene.target_format, 0, 0, TRUE, &rt, nullptr),
            D3D_OK);
        device_->SetRenderTarget(0, rt);
        target_ = rt;
    }
    const bool wide = scene.texture_format == D3DFMT_A8R8G8B8;
    std::mt19937 random(1234);
    auto texel = [&](UINT, UINT) -> uint32_t {
        uint32_t v = random();
        if (!wide) return v & 0xFFFF;
        switch (v % 4) {
            case 0:
                return v & 0x00FFFFFF;  // transparent
            case 1:
                return v | 0xFF000000;  // opaque
            default:
                return v;  // any alpha
        }
    };
    IDirect3DTexture9* any_alpha = Texture(37, 29, scene.texture_format, texel);
    IDirect3DTexture9* keyed =
        Texture(64, 48, scene.texture_format, [&](UINT x, UINT y) -> uint32_t {
            bool hole = ((x / 3 + y / 5) % 3) == 0;
            if (!wide) return (hole ? 0u : 0x8000u) | (x * 97 + y * 31) % 0x7FFF;
            return hole ? 0u : 0xFF000000u | ((x * 2654435761u + y) & 0xFFFFFF);
        });
    struct Draw {
        IDirect3DTexture9* texture;
        DWORD src, dest, color_op, alpha_op;
        bool blend;
        float x, y;
        int w, h;
        float u0, v0, u1, v1;
        uint32_t diffuse;
    };
    std::vector<Draw> draws;
    const DWORD ops[] = {D3DTOP_SELECTARG1, D3DTOP_SELECTARG2, D3DTOP_MODULATE};
    const uint32_t diffuses[] = {0xFFFFFFFFu, 0x80FFFFFFu, 0x00FFFFFFu, 0xC0806040u, 0x01FFFFFFu};
    for (int i = 0; i < 400; ++i) {
        Draw d{};
        d.texture = (i % 2) ? keyed : any_alpha;
        D3DSURFACE_DESC desc;
        d.texture->GetLevelDesc(0, &desc);
        // Sub-rectangles of the texture as a sprite clip makes them, at integer positions.
        int cx = static_cast<int>(random() % desc.Width),
            cy = static_cast<int>(random() % desc.Height);
        d.w = 1 + static_cast<int>(random() % (desc.Width - cx));
        d.h = 1 + static_cast<int>(random() % (desc.Height - cy));
        d.u0 = static_cast<float>(cx) / desc.Width;
        d.v0 = static_cast<float>(cy) / desc.Height;
        d.u1 = static_cast<float>(cx + d.w) / desc.Width;
        d.v1 = static_cast<float>(cy + d.h) / desc.Height;
        d.x = static_cast<float>(static_cast<int>(random() % 400) - 60) - 0.5f;
        d.y = static_cast<float>(static_cast<int>(random() % 300) - 40) - 0.5f;
        if (i % 17 == 0) d.x += 0.25f;  // not one to one: the general path draws it anyway
        if (i % 23 == 0) d.w *= 2;      // stretched
        int kind = static_cast<int>(random() % 4);
        d.blend = kind != 0;
        d.src = kind == 3 ? D3DBLEND_ONE : D3DBLEND_SRCALPHA;
        d.dest = kind == 3 ? D3DBLEND_ZERO : D3DBLEND_INVSRCALPHA;
        d.color_op = i % 5 == 0 ? ops[random() % 3] : D3DTOP_SELECTARG1;
        d.alpha_op = i % 3 == 0 ? D3DTOP_MODULATE : D3DTOP_SELECTARG1;
        d.diffuse = diffuses[random() % 5];
        draws.push_back(d);
    }
    std::vector<uint8_t> pictures[2];
    for (int pass = 0; pass < 2; ++pass) {
        D3D9Test_SetFastPaths(device_, pass == 0);
        D3D9Test_ResetCounters(device_);
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00336699, 0, 0);
        device_->BeginScene();
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        for (const Draw& d : draws) {
            device_->SetTexture(0, d.texture);
            device_->SetRenderState(D3DRS_ALPHABLENDENABLE, d.blend);
            device_->SetRenderState(D3DRS_SRCBLEND, d.src);
            device_->SetRenderState(D3DRS_DESTBLEND, d.dest);
            device_->SetTextureStageState(0, D3DTSS_COLOROP, d.color_op);
            device_->SetTextureStageState(0, D3DTSS_ALPHAOP, d.alpha_op);
            ASSERT_EQ(Quad(d.x, d.y, d.x + d.w, d.y + d.h, d.u0, d.v0, d.u1, d.v1, d.diffuse),
                      D3D_OK);
        }
        device_->EndScene();
        pictures[pass] = TargetBytes();
        const D3D9TestCounters& c = D3D9Test_Counters(device_);
        if (pass == 0)
            EXPECT_GT(c.raster.fast_rectangles, 300u);
        else
            EXPECT_EQ(c.raster.fast_rectangles, 0u);
    }
    ASSERT_EQ(pictures[0].size(), pictures[1].size());
    size_t differing = 0;
    for (size_t i = 0; i < pictures[0].size(); ++i) differing += pictures[0][i] != pictures[1][i];
    EXPECT_EQ(differing, 0u);
    device_->SetTexture(0, nullptr);
    any_alpha->Release();
    keyed->Release();
    if (rt) {
        device_->SetRenderTarget(0, back_);
        rt->Release();
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, FastPathTest,
                         ::testing::Values(Scene{D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8},
                                           Scene{D3DFMT_X8R8G8B8, D3DFMT_A1R5G5B5},
                                           Scene{D3DFMT_R5G6B5, D3DFMT_A8R8G8B8},
                                           Scene{D3DFMT_X1R5G5B5, D3DFMT_A1R5G5B5}));

}  // namespace
