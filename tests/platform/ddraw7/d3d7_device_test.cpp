// The Direct3D 7 device: its enumeration and creation on a 3D surface, the scene bracket, the
// vertex formats it reads, the default texture stage, alpha blending by the one 8-bit rule, and
// texture colour keys honoured only on textures that have one.
#include <cstring>
#include <vector>

#include "tests/platform/ddraw7/d3d7_fixture.h"

namespace {

HRESULT Collect(char*, char* name, D3DDEVICEDESC7* desc, void* context) {
    auto* seen = static_cast<std::vector<GUID>*>(context);
    seen->push_back(desc->deviceGUID);
    EXPECT_NE(name[0], '\0');
    return D3DENUMRET_OK;
}

TEST_F(D3DTest, ThreeDevicesAreReportedTheTransformAndLightingOneLast) {
    std::vector<GUID> seen;
    ASSERT_EQ(d3d_->EnumDevices(&Collect, &seen), D3D_OK);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[0] == IID_IDirect3DRGBDevice);
    EXPECT_TRUE(seen[2] == IID_IDirect3DTnLHalDevice);
    IDirect3DDevice7* other = nullptr;
    EXPECT_EQ(d3d_->CreateDevice(seen[2], back_, &other), D3D_OK);
    if (other) other->Release();
    // Only surfaces made for a 3D device, and known device kinds.
    EXPECT_EQ(d3d_->CreateDevice(IID_IDirect3DRGBDevice, Surface(8, 8), &other), DDERR_INVALIDCAPS);
    EXPECT_EQ(d3d_->CreateDevice(IID_IDirectDraw7, back_, &other), DDERR_INVALIDPARAMS);
    D3DVIEWPORT7 vp{};
    ASSERT_EQ(device_->GetViewport(&vp), D3D_OK);
    EXPECT_EQ(vp.dwWidth, 640u);
    EXPECT_EQ(vp.dwHeight, 480u);
}

TEST_F(D3DTest, DrawsNeedASceneAndPreTransformedVertices) {
    EXPECT_EQ(Quad(0, 0, 4, 4), D3DERR_SCENE_NOT_IN_SCENE);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    EXPECT_EQ(device_->BeginScene(), D3DERR_SCENE_IN_SCENE);
    D3DTLVERTEX v[4]{};
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0x1C2, v, 4, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 2, 0),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(device_->DrawPrimitive(4, D3DFVF_TLVERTEX, v, 3, 0), DDERR_INVALIDPARAMS);
    EXPECT_EQ(Quad(0, 0, 4, 4), D3D_OK);
    EXPECT_EQ(device_->EndScene(), D3D_OK);
    EXPECT_EQ(device_->EndScene(), D3DERR_SCENE_NOT_IN_SCENE);
    // A lost target opens no scene.
    DDraw7Test_LoseSurfaces(dd_);
    EXPECT_EQ(device_->BeginScene(), DDERR_SURFACELOST);
    EXPECT_EQ(D3D7Test_Counters(device_).draws, 1u);
}

TEST_F(D3DTest, ByDefaultTheTextureIsModulatedByTheDiffuseColour) {
    IDirectDrawSurface7* t = Texture(2, 2, [](int, int) { return 0x00FF8040u; });
    ASSERT_EQ(device_->SetTexture(0, t), D3D_OK);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(Quad(-0.5f, -0.5f, 1.5f, 1.5f, 0xFF808080u), D3D_OK);
    device_->EndScene();
    // Red 255 x 128, green 128 x 128, blue 64 x 128, each by the one rule.
    const uint32_t want = (Mul8(0xFF, 0x80) << 16) | (Mul8(0x80, 0x80) << 8) | Mul8(0x40, 0x80);
    EXPECT_EQ(Raw(back_, 0, 0), want);
    EXPECT_EQ(Raw(back_, 1, 1), want);
    EXPECT_EQ(Raw(back_, 2, 2), 0u);
    // Only surfaces made as textures are textures.
    EXPECT_EQ(device_->SetTexture(0, Surface(2, 2)), DDERR_INVALIDPARAMS);
}

TEST_F(D3DTest, OpacityBlendsTheTexelOverThePixelByTheOneRule) {
    Fill(back_, [](int, int) { return 0x00204060u; });
    IDirectDrawSurface7* t = Texture(1, 1, [](int, int) { return 0x00F0A010u; });
    device_->SetTexture(0, t);
    QuadStates();
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    for (uint32_t a : {0u, 1u, 128u, 254u, 255u}) {
        const float x = static_cast<float>(a % 16) * 2 + static_cast<float>(a / 16) * 32;
        ASSERT_EQ(Quad(x - 0.5f, -0.5f, x + 0.5f, 0.5f, (a << 24) | 0xFFFFFFu), D3D_OK);
        auto blend = [a](uint32_t s, uint32_t d) { return Mul8(s, a) + Mul8(d, 255 - a); };
        const uint32_t want =
            (blend(0xF0, 0x20) << 16) | (blend(0xA0, 0x40) << 8) | blend(0x10, 0x60);
        EXPECT_EQ(Raw(back_, static_cast<int>(x), 0) & 0xFFFFFF, want) << "alpha " << a;
    }
    device_->EndScene();
}

TEST_F(D3DTest, ColourKeysCutOnlyTexturesThatHaveOneAndOnlyWhenEnabled) {
    Fill(back_, [](int, int) { return 0x000000FFu; });
    auto pattern = [](int x, int) { return x == 0 ? 0u : 0x00808080u; };
    IDirectDrawSurface7* keyed = Texture(2, 1, pattern);
    IDirectDrawSurface7* unkeyed = Texture(2, 1, pattern);
    DDCOLORKEY black{0, 0};
    ASSERT_EQ(keyed->SetColorKey(DDCKEY_SRCBLT, &black), DD_OK);
    QuadStates();
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    device_->SetTexture(0, keyed);
    ASSERT_EQ(Quad(-0.5f, -0.5f, 1.5f, 0.5f), D3D_OK);  // opacity 255
    device_->SetTexture(0, unkeyed);
    ASSERT_EQ(Quad(-0.5f, 0.5f, 1.5f, 1.5f), D3D_OK);
    device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, FALSE);
    device_->SetTexture(0, keyed);
    ASSERT_EQ(Quad(-0.5f, 1.5f, 1.5f, 2.5f), D3D_OK);
    device_->EndScene();
    EXPECT_EQ(Raw(back_, 0, 0), 0x000000FFu);  // cut by the key
    EXPECT_EQ(Raw(back_, 1, 0), 0x00808080u);
    EXPECT_EQ(Raw(back_, 0, 1), 0u);  // no key: black is drawn
    EXPECT_EQ(Raw(back_, 0, 2), 0u);  // keys off
}

TEST_F(D3DTest, TexturesWithAlphaModulateTheirAlphaByTheOpacity) {
    Fill(back_, [](int, int) { return 0u; });
    DDPIXELFORMAT argb = Argb32();
    IDirectDrawSurface7* t = Texture(
        1, 1, [](int, int) { return 0x80FFFFFFu; }, &argb);
    device_->SetTexture(0, t);
    QuadStates();
    device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(Quad(-0.5f, -0.5f, 0.5f, 0.5f, 0x80FFFFFFu), D3D_OK);
    device_->EndScene();
    const uint32_t a = Mul8(0x80, 0x80);
    EXPECT_EQ(Raw(back_, 0, 0) & 0xFF, Mul8(0xFF, a));
}

TEST_F(D3DTest, SixteenBitTargetsStoreTheTopBitsOfEachChannel) {
    device_->Release();
    device_ = nullptr;
    d3d_->Release();
    d3d_ = nullptr;
    back_->Release();
    primary_->Release();
    back_ = primary_ = nullptr;
    Open(16);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    IDirectDrawSurface7* t = Texture(1, 1, [](int, int) { return 0xFFFFu; });
    device_->SetTexture(0, t);
    ASSERT_EQ(Quad(-0.5f, -0.5f, 0.5f, 0.5f, 0xFF80FF08u), D3D_OK);
    device_->EndScene();
    // White texel times (0x80, 0xFF, 0x08): 5-6-5 keeps 0x80 >> 3, 0xFF >> 2, 0x08 >> 3.
    EXPECT_EQ(Raw(back_, 0, 0), (0x10u << 11) | (0x3Fu << 5) | 0x01u);
}

TEST_F(D3DTest, TheViewportClipsDraws) {
    Fill(back_, [](int, int) { return 0u; });
    D3DVIEWPORT7 vp{10, 10, 5, 5, 0, 1};
    ASSERT_EQ(device_->SetViewport(&vp), D3D_OK);
    D3DVIEWPORT7 outside{630, 0, 20, 5, 0, 1};
    EXPECT_EQ(device_->SetViewport(&outside), DDERR_INVALIDPARAMS);
    ASSERT_EQ(device_->BeginScene(), D3D_OK);
    ASSERT_EQ(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_XYZRHW | D3DFVF_DIFFUSE,
                                     std::vector<float>(20, 0.0f).data(), 4, 0),
              D3D_OK);  // a degenerate strip draws nothing
    device_->SetTexture(0, nullptr);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    ASSERT_EQ(Quad(-0.5f, -0.5f, 639.5f, 479.5f, 0xFF00FF00u), D3D_OK);
    device_->EndScene();
    int drawn = 0;
    for (int y = 0; y < 480; ++y) {
        for (int x = 0; x < 640; ++x) {
            if (Raw(back_, x, y) == 0x0000FF00u) {
                ++drawn;
                EXPECT_TRUE(x >= 10 && x < 15 && y >= 10 && y < 15) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(drawn, 25);
}

}  // namespace
