// A software Direct3D 9 device on a plain window, and helpers to fill textures, draw quads and
// read pixels, for the tests of the device itself.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/pixel_math.h"
#include "platform/d3d9/test_hooks.h"
#include "platform/win32/window.h"
#include "tests/support/surface_helpers.h"

struct QuadVertex {
    float x, y, z, rhw;
    uint32_t diffuse;
    float u, v;
};

class DeviceTest : public ::testing::Test {
  protected:
    void SetUp() override {
        d3d_ = Direct3DCreate9(D3D_SDK_VERSION);
        ASSERT_NE(d3d_, nullptr);
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 640, 480, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        if (device_) device_->Release();
        d3d_->Release();
        DestroyWindow(window_);
    }

    D3DPRESENT_PARAMETERS Parameters(UINT w, UINT h, D3DFORMAT format, bool windowed) {
        D3DPRESENT_PARAMETERS p{};
        p.BackBufferWidth = w;
        p.BackBufferHeight = h;
        p.BackBufferFormat = format;
        p.BackBufferCount = 1;
        p.SwapEffect = windowed ? D3DSWAPEFFECT_COPY : D3DSWAPEFFECT_FLIP;
        p.hDeviceWindow = window_;
        p.Windowed = windowed;
        p.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
        p.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
        return p;
    }

    void Open(D3DFORMAT format = D3DFMT_X8R8G8B8, UINT w = 640, UINT h = 480) {
        D3DPRESENT_PARAMETERS p = Parameters(w, h, format, false);
        ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_,
                                     D3DCREATE_SOFTWARE_VERTEXPROCESSING, &p, &device_),
                  D3D_OK);
        ASSERT_EQ(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back_), D3D_OK);
        back_->Release();  // the swap chain keeps it
        target_ = back_;
    }

    // A texture whose texel (x, y) is fill(x, y), in the texture's own format.
    template <typename F>
    IDirect3DTexture9* Texture(UINT w, UINT h, D3DFORMAT format, F fill) {
        IDirect3DTexture9* t = nullptr;
        EXPECT_EQ(device_->CreateTexture(w, h, 1, 0, format, D3DPOOL_MANAGED, &t, nullptr), D3D_OK);
        D3DLOCKED_RECT r;
        EXPECT_EQ(t->LockRect(0, &r, nullptr, 0), D3D_OK);
        for (UINT y = 0; y < h; ++y) {
            auto* row = static_cast<uint8_t*>(r.pBits) + y * r.Pitch;
            for (UINT x = 0; x < w; ++x) {
                uint32_t v = fill(x, y);
                if (format == D3DFMT_A8R8G8B8)
                    std::memcpy(row + 4 * x, &v, 4);
                else {
                    uint16_t s = static_cast<uint16_t>(v);
                    std::memcpy(row + 2 * x, &s, 2);
                }
            }
        }
        t->UnlockRect(0);
        return t;
    }

    // Raw pixel of the current target (32 or 16 bits).
    uint32_t Pixel(int x, int y) {
        const SurfaceMemory& m = target_->Memory();
        return StoredPixel(m, d3d9px::BytesPerPixel(m.format) == 4, x, y);
    }

    std::vector<uint8_t> TargetBytes() { return StoredBytes(target_->Memory()); }

    // A strip quad from (x0, y0) to (x1, y1) with coordinates (u0, v0)..(u1, v1).
    HRESULT Quad(float x0, float y0, float x1, float y1, float u0, float v0, float u1, float v1,
                 uint32_t diffuse = 0xFFFFFFFFu) {
        QuadVertex q[4] = {{x0, y0, 0, 1, diffuse, u0, v0},
                           {x1, y0, 0, 1, diffuse, u1, v0},
                           {x0, y1, 0, 1, diffuse, u0, v1},
                           {x1, y1, 0, 1, diffuse, u1, v1}};
        device_->SetFVF(0x144);
        return device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, q, sizeof(QuadVertex));
    }

    void States(DWORD blend_src, DWORD blend_dest, DWORD color_op, DWORD alpha_op) {
        device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
        device_->SetRenderState(D3DRS_SRCBLEND, blend_src);
        device_->SetRenderState(D3DRS_DESTBLEND, blend_dest);
        device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
        device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
        device_->SetTextureStageState(0, D3DTSS_COLOROP, color_op);
        device_->SetTextureStageState(0, D3DTSS_ALPHAOP, alpha_op);
    }

    IDirect3D9* d3d_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    IDirect3DSurface9* back_ = nullptr;
    IDirect3DSurface9* target_ = nullptr;
    HWND window_ = nullptr;
};
