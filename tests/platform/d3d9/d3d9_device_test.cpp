// The software Direct3D 9 device: creation rules, Clear, locks, reference counts, the lost and
// reset states and presentation.
#include <gtest/gtest.h>

#include "platform/host/video.h"
#include "platform/win32/time.h"
#include "tests/platform/d3d9/device_fixture.h"

namespace {

TEST_F(DeviceTest, AdapterOffersTheThreeDisplayFormatsOnly) {
    EXPECT_GT(d3d_->GetAdapterModeCount(0, D3DFMT_X8R8G8B8), 0u);
    EXPECT_GT(d3d_->GetAdapterModeCount(0, D3DFMT_R5G6B5), 0u);
    EXPECT_GT(d3d_->GetAdapterModeCount(0, D3DFMT_X1R5G5B5), 0u);
    EXPECT_EQ(d3d_->GetAdapterModeCount(0, D3DFMT_A8R8G8B8), 0u);
    EXPECT_EQ(d3d_->GetAdapterModeCount(1, D3DFMT_X8R8G8B8), 0u);
    EXPECT_EQ(d3d_->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_R5G6B5, D3DFMT_R5G6B5, FALSE),
              D3D_OK);
    EXPECT_NE(d3d_->CheckDeviceType(0, D3DDEVTYPE_HAL, D3DFMT_R8G8B8, D3DFMT_R8G8B8, FALSE),
              D3D_OK);
    EXPECT_NE(d3d_->CheckDepthStencilMatch(0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8,
                                           D3DFMT_D16),
              D3D_OK);
    D3DCAPS9 caps;
    ASSERT_EQ(d3d_->GetDeviceCaps(0, D3DDEVTYPE_HAL, &caps), D3D_OK);
    EXPECT_EQ(caps.DevCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT, 0u);
    EXPECT_EQ(Direct3DCreate9(31), nullptr);
}

TEST_F(DeviceTest, CreationRefusesWhatItCannotBuild) {
    IDirect3DDevice9* d = nullptr;
    D3DPRESENT_PARAMETERS p = Parameters(640, 480, D3DFMT_UNKNOWN, false);
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, 0x20, &p, &d), D3DERR_INVALIDCALL);
    EXPECT_EQ(d, nullptr);
    p = Parameters(640, 480, D3DFMT_X8R8G8B8, false);
    p.EnableAutoDepthStencil = TRUE;
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, 0x20, &p, &d), D3DERR_NOTAVAILABLE);
    p = Parameters(640, 480, D3DFMT_X8R8G8B8, false);
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, 0x40, &p, &d), D3DERR_NOTAVAILABLE);
    p = Parameters(641, 480, D3DFMT_X8R8G8B8, false);  // no such full-screen mode
    EXPECT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, 0x20, &p, &d), D3DERR_INVALIDCALL);
    p = Parameters(641, 333, D3DFMT_UNKNOWN, true);  // windowed: any size, desktop format
    ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, 0x20, &p, &d), D3D_OK);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    d->Release();
}

TEST_F(DeviceTest, ClearFillsTheTargetAndSetsTheUnusedBits) {
    Open();
    ASSERT_EQ(device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00123456, 0, 0), D3D_OK);
    EXPECT_EQ(Pixel(0, 0), 0xFF123456u);
    EXPECT_EQ(Pixel(639, 479), 0xFF123456u);
    D3DRECT r{630, 470, 700, 500};  // reaches beyond the surface: clipped
    ASSERT_EQ(device_->Clear(1, &r, D3DCLEAR_TARGET, 0xFF0000FF, 0, 0), D3D_OK);
    EXPECT_EQ(Pixel(639, 479), 0xFF0000FFu);
    EXPECT_EQ(Pixel(629, 479), 0xFF123456u);
    EXPECT_EQ(device_->Clear(0, nullptr, D3DCLEAR_ZBUFFER, 0, 1.0f, 0), D3DERR_INVALIDCALL);
}

TEST_F(DeviceTest, SixteenBitTargetsStoreTheTopBitsOfEachChannel) {
    Open(D3DFMT_R5G6B5);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00FF8040, 0, 0);
    EXPECT_EQ(Pixel(3, 3), (0x1Fu << 11) | (0x20u << 5) | 0x08u);
    IDirect3DSurface9* rt = nullptr;
    ASSERT_EQ(device_->CreateRenderTarget(8, 8, D3DFMT_X1R5G5B5, 0, 0, TRUE, &rt, nullptr), D3D_OK);
    ASSERT_EQ(device_->SetRenderTarget(0, rt), D3D_OK);
    target_ = rt;
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00FF8040, 0, 0);
    EXPECT_EQ(Pixel(7, 7), 0x8000u | (0x1Fu << 10) | (0x10u << 5) | 0x08u);
    device_->SetRenderTarget(0, back_);
    rt->Release();
}

TEST_F(DeviceTest, LocksStayInsideTheSurface) {
    Open();
    IDirect3DSurface9* s = nullptr;
    ASSERT_EQ(device_->CreateOffscreenPlainSurface(10, 10, D3DFMT_X8R8G8B8, D3DPOOL_SYSTEMMEM, &s,
                                                   nullptr),
              D3D_OK);
    D3DLOCKED_RECT locked;
    RECT outside{5, 5, 11, 10};
    EXPECT_EQ(s->LockRect(&locked, &outside, 0), D3DERR_INVALIDCALL);
    RECT negative{-1, 0, 3, 3};
    EXPECT_EQ(s->LockRect(&locked, &negative, 0), D3DERR_INVALIDCALL);
    RECT empty{3, 3, 3, 4};
    EXPECT_EQ(s->LockRect(&locked, &empty, 0), D3DERR_INVALIDCALL);
    RECT inside{2, 3, 10, 10};
    ASSERT_EQ(s->LockRect(&locked, &inside, 0), D3D_OK);
    EXPECT_EQ(s->LockRect(&locked, nullptr, 0), D3DERR_INVALIDCALL);  // already locked
    EXPECT_EQ(static_cast<uint8_t*>(locked.pBits) - s->Memory().bits, 3 * locked.Pitch + 2 * 4);
    EXPECT_EQ(s->UnlockRect(), D3D_OK);
    EXPECT_EQ(s->UnlockRect(), D3DERR_INVALIDCALL);
    s->Release();
    // Texture formats carry alpha: no device context on them.
    IDirect3DTexture9* t = Texture(4, 4, D3DFMT_A8R8G8B8, [](UINT, UINT) { return 0u; });
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(t->GetSurfaceLevel(0, &level), D3D_OK);
    HDC dc = nullptr;
    EXPECT_EQ(level->GetDC(&dc), D3DERR_INVALIDCALL);
    level->Release();
    t->Release();
}

TEST_F(DeviceTest, ABoundTextureOutlivesTheProgramsLastReference) {
    Open();
    IDirect3DTexture9* t =
        Texture(2, 1, D3DFMT_A8R8G8B8, [](UINT x, UINT) { return x ? 0xFF00FF00u : 0xFFFF0000u; });
    device_->SetTexture(0, t);
    EXPECT_EQ(t->Release(), 1u);  // the device's own reference remains
    device_->BeginScene();
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    ASSERT_EQ(Quad(-0.5f, -0.5f, 1.5f, 0.5f, 0, 0, 1, 1), D3D_OK);
    device_->EndScene();
    EXPECT_EQ(Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(Pixel(1, 0), 0xFF00FF00u);
    device_->SetTexture(0, nullptr);  // frees it; the sanitizer build would see a leak otherwise
}

TEST_F(DeviceTest, DrawsNeedASceneAMatchingStrideAndAKnownFormat) {
    Open();
    QuadVertex q[4] = {};
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, q, 28), D3DERR_INVALIDCALL);
    device_->BeginScene();
    EXPECT_EQ(device_->BeginScene(), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetFVF(0x142), D3DERR_INVALIDCALL);
    ASSERT_EQ(device_->SetFVF(0x144), D3D_OK);
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, q, 24), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, q, 28), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, q, 28), D3D_OK);
    EXPECT_EQ(device_->SetRenderState(D3DRS_SRCBLEND, 7), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_MODULATE),
              D3DERR_INVALIDCALL);
    device_->EndScene();
    EXPECT_EQ(device_->EndScene(), D3DERR_INVALIDCALL);
}

TEST_F(DeviceTest, PresentShowsTheBackBufferThroughTheHost) {
    Open();
    uint32_t before = Host_PresentCount();
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(Host_PresentCount(), before + 1);
    device_->BeginScene();
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    device_->EndScene();
    RECT part{0, 0, 10, 10};  // rectangles need the copy effect
    EXPECT_EQ(device_->Present(&part, nullptr, nullptr, nullptr), D3DERR_INVALIDCALL);
    EXPECT_EQ(D3D9Test_Counters(device_).presents, 1u);
}

TEST_F(DeviceTest, IntervalOnePacesPresentsAtTheRefreshRate) {
    D3DPRESENT_PARAMETERS p = Parameters(320, 200, D3DFMT_UNKNOWN, true);
    p.PresentationInterval = D3DPRESENT_INTERVAL_ONE;
    ASSERT_EQ(d3d_->CreateDevice(0, D3DDEVTYPE_HAL, window_, 0x20, &p, &device_), D3D_OK);
    ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);  // starts the grid
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    // 30 refreshes of the headless 60 Hz display: half a second, not the 0.48 s of 62.5 Hz. A
    // loaded machine can only make a run late, never early, so a late run is tried again.
    double seconds = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        for (int i = 0; i < 30; ++i)
            ASSERT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
        QueryPerformanceCounter(&t1);
        seconds = double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart);
        EXPECT_GT(seconds, 29.0 / 60.0);
        if (seconds < 31.5 / 60.0) break;
    }
    EXPECT_LT(seconds, 31.5 / 60.0);
}

TEST_F(DeviceTest, ALostDeviceRefusesScenesAndPresentsUntilReset) {
    Open();
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device_->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00FFFFFF, 0, 0);
    D3D9Test_LoseDevice(device_, kD3D9NeverResettable);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    EXPECT_EQ(device_->BeginScene(), D3DERR_DEVICELOST);
    D3DPRESENT_PARAMETERS p = Parameters(640, 480, D3DFMT_X8R8G8B8, false);
    EXPECT_EQ(device_->Reset(&p), D3DERR_DEVICELOST);

    D3D9Test_MakeResettable(device_);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    // Default-pool resources must go before a reset.
    IDirect3DSurface9* rt = nullptr;
    ASSERT_EQ(device_->CreateRenderTarget(4, 4, D3DFMT_X1R5G5B5, 0, 0, TRUE, &rt, nullptr), D3D_OK);
    EXPECT_EQ(device_->Reset(&p), D3DERR_INVALIDCALL);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    rt->Release();
    ASSERT_EQ(device_->Reset(&p), D3D_OK);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3D_OK);
    // States are back to their defaults, the back buffer is black and is the same object.
    DWORD blend = 1;
    device_->GetRenderState(D3DRS_ALPHABLENDENABLE, &blend);
    EXPECT_EQ(blend, 0u);
    EXPECT_EQ(Pixel(5, 5) & 0xFFFFFFu, 0u);
    IDirect3DSurface9* again = nullptr;
    device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &again);
    EXPECT_EQ(again, back_);
    again->Release();
    EXPECT_EQ(device_->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
}

TEST_F(DeviceTest, ALostDeviceBecomesResettableAfterItsDelay) {
    Open();
    D3D9Test_LoseDevice(device_, 20);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICELOST);
    DWORD start = GetTickCount();
    while (device_->TestCooperativeLevel() == D3DERR_DEVICELOST) {
        ASSERT_LT(GetTickCount() - start, 2000u);
    }
    EXPECT_GE(GetTickCount() - start, 19u);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DEVICENOTRESET);
    D3D9Test_FailDriver(device_);
    EXPECT_EQ(device_->TestCooperativeLevel(), D3DERR_DRIVERINTERNALERROR);
}

TEST_F(DeviceTest, TheDeviceGoesWhenItsLastResourceGoes) {
    Open();
    IDirect3DTexture9* t = Texture(4, 4, D3DFMT_A1R5G5B5, [](UINT, UINT) { return 0x8000u; });
    device_->SetTexture(0, t);
    EXPECT_EQ(device_->Release(), 0u);
    device_ = nullptr;
    // The texture is still usable memory; releasing it frees the device too (a leak otherwise).
    D3DLOCKED_RECT r;
    ASSERT_EQ(t->LockRect(0, &r, nullptr, D3DLOCK_READONLY), D3D_OK);
    EXPECT_EQ(*static_cast<uint16_t*>(r.pBits), 0x8000u);
    t->UnlockRect(0);
    EXPECT_EQ(t->Release(), 0u);
}

}  // namespace
