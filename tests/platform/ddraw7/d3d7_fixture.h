// A Direct3D 7 device of the stand-in on the back buffer of an exclusive 640 x 480 screen, with
// helpers that make textures and draw quads of transformed-and-lit vertices.
#pragma once
#include "tests/platform/ddraw7/ddraw_fixture.h"

class D3DTest : public DDrawTest {
  protected:
    void SetUp() override {
        DDrawTest::SetUp();
        Open(32);
    }
    void TearDown() override {
        if (device_) device_->Release();
        if (d3d_) d3d_->Release();
        DDrawTest::TearDown();
    }
    void Open(DWORD bpp) {
        Exclusive(bpp);
        Chain();
        void* d3d = nullptr;
        ASSERT_EQ(dd_->QueryInterface(IID_IDirect3D7, &d3d), DD_OK);
        d3d_ = static_cast<IDirect3D7*>(d3d);
        ASSERT_EQ(d3d_->CreateDevice(IID_IDirect3DRGBDevice, back_, &device_), D3D_OK);
    }

    // A texture of `w` x `h` raw texels fill(x, y), in the display's format or `format`.
    template <typename F>
    IDirectDrawSurface7* Texture(int w, int h, F fill, const DDPIXELFORMAT* format = nullptr) {
        IDirectDrawSurface7* t = Surface(w, h, DDSCAPS_TEXTURE, format);
        Fill(t, fill);
        return t;
    }

    // A strip quad from (x0, y0) to (x1, y1) with coordinates (u0, v0)..(u1, v1).
    HRESULT Quad(float x0, float y0, float x1, float y1, uint32_t diffuse = 0xFFFFFFFFu,
                 float u0 = 0, float v0 = 0, float u1 = 1, float v1 = 1) {
        D3DTLVERTEX q[4] = {{x0, y0, 0, 1, diffuse, 0, u0, v0},
                            {x1, y0, 0, 1, diffuse, 0, u1, v0},
                            {x0, y1, 0, 1, diffuse, 0, u0, v1},
                            {x1, y1, 0, 1, diffuse, 0, u1, v1}};
        return device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, q, 4, 0);
    }

    // The quad states of the textured quads: alpha from the diffuse colour, keys on.
    void QuadStates() {
        device_->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
        device_->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
        device_->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
        device_->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, TRUE);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    }

    IDirect3D7* d3d_ = nullptr;
    IDirect3DDevice7* device_ = nullptr;
};

// The one rounding rule of every 8-bit product.
inline uint32_t Mul8(uint32_t a, uint32_t b) {
    return (a * b + 127) / 255;
}
