// Rectangle draws the device holds back and completes later: the pixels equal drawing each at
// once (opaque ones hiding what lies under them, with what shows still drawn in order), and
// everything that reads or changes pixels sees the draws made before it and none after it.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "platform/gdi/gdi.h"
#include "tests/platform/d3d9/device_fixture.h"

namespace {

class HeldBackTest : public DeviceTest {
  protected:
    void SetUp() override {
        DeviceTest::SetUp();
        Open();
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00102030, 0, 0);
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    }
    void TearDown() override {
        device_->SetTexture(0, nullptr);
        DeviceTest::TearDown();
    }

    // A 32 x 32 texture of one colour (alpha included).
    IDirect3DTexture9* Plain(uint32_t argb) {
        return Texture(32, 32, D3DFMT_A8R8G8B8, [=](UINT, UINT) { return argb; });
    }
    // Sprites and tiles as the screen library draws them: blended with the texel's alpha.
    void Transparent() {
        States(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_SELECTARG1, D3DTOP_SELECTARG1);
    }
    void Opaque() { States(D3DBLEND_ONE, D3DBLEND_ZERO, D3DTOP_SELECTARG1, D3DTOP_SELECTARG1); }
    // The whole texture at (x, y), one texel per pixel.
    HRESULT At(int x, int y, int w = 32, int h = 32, uint32_t diffuse = 0xFFFFFFFFu) {
        return Quad(x - 0.5f, y - 0.5f, x + w - 0.5f, y + h - 0.5f, 0, 0, 1, 1, diffuse);
    }
};

// Many overlapping rectangles of every kind the fast paths know (opaque copies, textures whose
// alpha is all 255, keyed, any alpha, opacities, blending off), with stretched quads between
// them that the general rasteriser draws at once: held back and hidden where covered, the
// picture is byte for byte the one the general rasteriser draws.
TEST_F(HeldBackTest, CoveredAndUncoveredPartsMatchTheGeneralRasteriser) {
    std::mt19937 random(20240611);
    IDirect3DTexture9* opaque_texture = Texture(64, 48, D3DFMT_A8R8G8B8, [&](UINT x, UINT y) {
        return 0xFF000000u | ((x * 40503u + y * 2654435761u) & 0xFFFFFF);
    });
    IDirect3DTexture9* keyed = Texture(32, 32, D3DFMT_A8R8G8B8, [](UINT x, UINT y) {
        return ((x + y) % 5 == 0) ? (x * 3u) : 0xFF000000u | (x * 0x010203u + y * 0x030100u);
    });
    IDirect3DTexture9* graded = Texture(40, 24, D3DFMT_A8R8G8B8, [](UINT x, UINT y) {
        return ((x * 6 + y) & 0xFFu) << 24 | (y * 0x0A0B0Cu);
    });
    IDirect3DTexture9* textures[] = {opaque_texture, keyed, graded};
    struct Draw {
        IDirect3DTexture9* texture;
        int kind;  // 0 opaque, 1 transparent, 2 no blending
        int x, y, w, h;
        uint32_t diffuse;
        bool stretched;
    };
    std::vector<Draw> draws;
    const uint32_t diffuses[] = {0xFFFFFFFFu, 0xFFFFFFFFu, 0x80FFFFFFu, 0x3CFFFFFFu};
    for (int i = 0; i < 600; ++i) {
        Draw d{};
        d.texture = textures[random() % 3];
        D3DSURFACE_DESC desc;
        d.texture->GetLevelDesc(0, &desc);
        d.kind = static_cast<int>(random() % 3);
        d.w = static_cast<int>(desc.Width);
        d.h = static_cast<int>(desc.Height);
        // Tile-like rows on a grid with an offset, and strays anywhere, partly off the target.
        if (i % 3 != 0) {
            d.x = static_cast<int>(random() % 22) * 32 - 13;
            d.y = static_cast<int>(random() % 17) * 32 - 7;
        } else {
            d.x = static_cast<int>(random() % 720) - 60;
            d.y = static_cast<int>(random() % 560) - 60;
        }
        d.diffuse = diffuses[random() % 4];
        d.stretched = i % 97 == 0;
        draws.push_back(d);
    }
    std::vector<uint8_t> pictures[2];
    uint64_t hidden = 0;
    for (int pass = 0; pass < 2; ++pass) {
        D3D9Test_SetFastPaths(device_, pass == 0);
        D3D9Test_ResetCounters(device_);
        device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00405060, 0, 0);
        device_->BeginScene();
        for (const Draw& d : draws) {
            device_->SetTexture(0, d.texture);
            if (d.kind == 0) Opaque();
            if (d.kind == 1) Transparent();
            if (d.kind == 1 && d.diffuse != 0xFFFFFFFFu) {
                States(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DTOP_MODULATE, D3DTOP_MODULATE);
            }
            device_->SetRenderState(D3DRS_ALPHABLENDENABLE, d.kind == 2 ? FALSE : TRUE);
            if (d.stretched) {
                ASSERT_EQ(Quad(d.x - 0.5f, d.y - 0.5f, d.x + 2.5f * d.w, d.y + 1.5f * d.h, 0, 0, 1,
                               1, d.diffuse),
                          D3D_OK);
            } else {
                ASSERT_EQ(At(d.x, d.y, d.w, d.h, d.diffuse), D3D_OK);
            }
        }
        device_->EndScene();
        pictures[pass] = TargetBytes();
        if (pass == 0) hidden = D3D9Test_Counters(device_).raster.hidden_pixels;
    }
    size_t differing = 0;
    for (size_t i = 0; i < pictures[0].size(); ++i) differing += pictures[0][i] != pictures[1][i];
    EXPECT_EQ(differing, 0u);
    // Every pixel that a later opaque rectangle covers before the next stretched quad (which
    // is drawn at once, after all held back) was left out, and no other.
    std::vector<uint8_t> covered(640 * 480);
    uint64_t expected = 0;
    for (size_t i = draws.size(); i-- > 0;) {
        const Draw& d = draws[i];
        if (d.stretched) {
            std::fill(covered.begin(), covered.end(), 0);
            continue;
        }
        const bool opaque =
            d.kind != 1 || (d.texture == opaque_texture && d.diffuse == 0xFFFFFFFFu);
        for (int y = std::max(d.y, 0); y < std::min(d.y + d.h, 480); ++y) {
            for (int x = std::max(d.x, 0); x < std::min(d.x + d.w, 640); ++x) {
                expected += covered[y * 640 + x];
                if (opaque) covered[y * 640 + x] = 1;
            }
        }
    }
    EXPECT_EQ(hidden, expected);
    EXPECT_GT(expected, 50000u);
    for (IDirect3DTexture9* t : textures) t->Release();
}

TEST_F(HeldBackTest, AnOpaqueRectangleHidesWhatIsUnderItAndAKeyedOneDoesNot) {
    IDirect3DTexture9* red = Plain(0xFFFF0000u);
    IDirect3DTexture9* green = Plain(0xFF00FF00u);
    IDirect3DTexture9* holes =
        Texture(32, 32, D3DFMT_A8R8G8B8, [](UINT x, UINT) { return x < 16 ? 0u : 0xFF0000FFu; });
    device_->BeginScene();
    Transparent();
    device_->SetTexture(0, red);
    At(100, 100);
    device_->SetTexture(0, green);  // alpha 255 everywhere: a copy that hides the red
    At(100, 100);
    device_->SetTexture(0, holes);  // the left half shows the green
    At(100, 100);
    device_->EndScene();
    EXPECT_EQ(D3D9Test_Counters(device_).raster.hidden_pixels, 32u * 32u);
    EXPECT_EQ(Pixel(100, 100), 0xFF00FF00u);
    EXPECT_EQ(Pixel(115, 131), 0xFF00FF00u);
    EXPECT_EQ(Pixel(116, 100), 0xFF0000FFu);
    EXPECT_EQ(Pixel(99, 100), 0xFF102030u);
    red->Release();
    green->Release();
    holes->Release();
}

TEST_F(HeldBackTest, ALockInTheSceneSeesTheDrawsBeforeItAndNoneAfterIt) {
    IDirect3DTexture9* white = Plain(0xFFFFFFFFu);
    device_->BeginScene();
    Opaque();
    device_->SetTexture(0, white);
    At(10, 10);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(back_->LockRect(&locked, nullptr, D3DLOCK_READONLY), D3D_OK);
    uint32_t seen;
    std::memcpy(&seen, static_cast<uint8_t*>(locked.pBits) + 10 * locked.Pitch + 40, 4);
    EXPECT_EQ(seen, 0xFFFFFFFFu);
    // Drawing is refused while the target is locked, and resumes after.
    EXPECT_EQ(At(200, 10), D3DERR_INVALIDCALL);
    back_->UnlockRect();
    EXPECT_EQ(At(200, 10), D3D_OK);
    device_->EndScene();
    EXPECT_EQ(Pixel(200, 10), 0xFFFFFFFFu);
    white->Release();
}

TEST_F(HeldBackTest, ATextureWrittenAfterADrawLeavesThatDrawAsItWas) {
    IDirect3DTexture9* t = Plain(0xFFFF0000u);
    device_->BeginScene();
    Opaque();
    device_->SetTexture(0, t);
    At(0, 0);
    D3DLOCKED_RECT locked;
    ASSERT_EQ(t->LockRect(0, &locked, nullptr, 0), D3D_OK);
    for (int y = 0; y < 32; ++y) {
        auto* row =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(locked.pBits) + y * locked.Pitch);
        for (int x = 0; x < 32; ++x) row[x] = 0xFF0000FFu;
    }
    t->UnlockRect(0);
    At(64, 0);
    device_->EndScene();
    EXPECT_EQ(Pixel(5, 5), 0xFFFF0000u);
    EXPECT_EQ(Pixel(69, 5), 0xFF0000FFu);
    t->Release();
}

TEST_F(HeldBackTest, ATextureReleasedAfterItsDrawIsStillDrawn) {
    IDirect3DTexture9* t = Plain(0xFF123456u);
    device_->BeginScene();
    Opaque();
    device_->SetTexture(0, t);
    At(300, 200);
    device_->SetTexture(0, nullptr);
    t->Release();  // the last reference: its pixels go now
    device_->EndScene();
    EXPECT_EQ(Pixel(300, 200), 0xFF123456u);
    EXPECT_EQ(Pixel(331, 231), 0xFF123456u);
}

TEST_F(HeldBackTest, DrawsGoToTheTargetTheyWereMadeFor) {
    IDirect3DTexture9* t = Plain(0xFF00FFFFu);
    IDirect3DSurface9* rt = nullptr;
    ASSERT_EQ(device_->CreateRenderTarget(64, 64, D3DFMT_X8R8G8B8, D3DMULTISAMPLE_NONE, 0, TRUE,
                                          &rt, nullptr),
              D3D_OK);
    device_->BeginScene();
    Opaque();
    device_->SetTexture(0, t);
    At(0, 0);
    ASSERT_EQ(device_->SetRenderTarget(0, rt), D3D_OK);
    At(32, 32);
    ASSERT_EQ(device_->SetRenderTarget(0, back_), D3D_OK);
    device_->EndScene();
    EXPECT_EQ(Pixel(0, 0), 0xFF00FFFFu);
    EXPECT_EQ(Pixel(40, 40), 0xFF102030u);
    target_ = rt;
    EXPECT_EQ(Pixel(40, 40), 0xFF00FFFFu);
    EXPECT_EQ(Pixel(0, 0), 0u);  // a new render target is zeroed
    target_ = back_;
    rt->Release();
    t->Release();
}

TEST_F(HeldBackTest, ADeviceContextInTheSceneSeesTheDraws) {
    IDirect3DTexture9* t = Plain(0xFF804020u);
    device_->BeginScene();
    Opaque();
    device_->SetTexture(0, t);
    At(50, 60);
    HDC dc = nullptr;
    ASSERT_EQ(back_->GetDC(&dc), D3D_OK);
    EXPECT_EQ(GetPixel(dc, 50, 60), 0x00204080u);  // COLORREF: red in the low byte
    back_->ReleaseDC(dc);
    device_->EndScene();
    t->Release();
}

}  // namespace
