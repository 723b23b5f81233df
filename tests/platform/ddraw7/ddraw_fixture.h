// A DirectDraw object of the stand-in on a plain popup window, with helpers that make surfaces,
// fill them with raw pixels and read them back, for the tests of the stand-in itself.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/ddraw7/d3d7.h"
#include "platform/ddraw7/ddraw.h"
#include "platform/ddraw7/test_hooks.h"
#include "platform/win32/window.h"
#include "tests/support/surface_helpers.h"

class DDrawTest : public ::testing::Test {
  protected:
    void SetUp() override {
        void* made = nullptr;
        ASSERT_EQ(DirectDrawCreateEx(nullptr, &made, IID_IDirectDraw7, nullptr), DD_OK);
        dd_ = static_cast<IDirectDraw7*>(made);
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr,
                                  nullptr, nullptr, nullptr);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override {
        for (IDirectDrawSurface7* s : made_) s->Release();
        if (back_) back_->Release();
        if (primary_) primary_->Release();
        dd_->Release();
        DestroyWindow(window_);
    }

    void Exclusive(DWORD bpp = 32) {
        ASSERT_EQ(dd_->SetCooperativeLevel(window_, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN), DD_OK);
        ASSERT_EQ(dd_->SetDisplayMode(640, 480, bpp, 0, 0), DD_OK);
    }

    // The flipping chain of the screen: primary surface and its back buffer.
    void Chain() {
        DDSURFACEDESC2 d = Desc();
        d.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
        d.ddsCaps.dwCaps =
            DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
        d.dwBackBufferCount = 1;
        ASSERT_EQ(dd_->CreateSurface(&d, &primary_, nullptr), DD_OK);
        DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, 0};
        ASSERT_EQ(primary_->GetAttachedSurface(&caps, &back_), DD_OK);
    }

    static DDSURFACEDESC2 Desc() {
        DDSURFACEDESC2 d{};
        d.dwSize = sizeof(d);
        return d;
    }

    // A surface of the display's format (or `format`), released by the fixture.
    IDirectDrawSurface7* Surface(int w, int h, DWORD caps = DDSCAPS_OFFSCREENPLAIN,
                                 const DDPIXELFORMAT* format = nullptr) {
        DDSURFACEDESC2 d = Desc();
        d.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
        d.dwWidth = static_cast<DWORD>(w);
        d.dwHeight = static_cast<DWORD>(h);
        d.ddsCaps.dwCaps = caps;
        if (format) {
            d.dwFlags |= DDSD_PIXELFORMAT;
            d.ddpfPixelFormat = *format;
        }
        IDirectDrawSurface7* s = nullptr;
        EXPECT_EQ(dd_->CreateSurface(&d, &s, nullptr), DD_OK);
        if (s) made_.push_back(s);
        return s;
    }

    static DDPIXELFORMAT Argb32() {
        return DDPIXELFORMAT{sizeof(DDPIXELFORMAT),
                             DDPF_RGB | DDPF_ALPHAPIXELS,
                             0,
                             32,
                             0xFF0000,
                             0xFF00,
                             0xFF,
                             0xFF000000};
    }

    // Writes raw pixel values fill(x, y) through a lock.
    template <typename F>
    static void Fill(IDirectDrawSurface7* s, F fill) {
        DDSURFACEDESC2 d = Desc();
        ASSERT_EQ(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DD_OK);
        const int bpp = static_cast<int>(d.ddpfPixelFormat.dwRGBBitCount / 8);
        for (DWORD y = 0; y < d.dwHeight; ++y) {
            auto* row = static_cast<uint8_t*>(d.lpSurface) + static_cast<size_t>(y) * d.lPitch;
            for (DWORD x = 0; x < d.dwWidth; ++x) {
                uint32_t v = fill(static_cast<int>(x), static_cast<int>(y));
                if (bpp == 4) {
                    std::memcpy(row + 4 * x, &v, 4);
                } else {
                    uint16_t h = static_cast<uint16_t>(v);
                    std::memcpy(row + 2 * x, &h, 2);
                }
            }
        }
        s->Unlock(nullptr);
    }

    // The raw pixel at (x, y), read from the surface's memory.
    static uint32_t Raw(IDirectDrawSurface7* s, int x, int y) {
        const DDSurfaceMemory& m = s->Memory();
        return StoredPixel(m, m.format == DDFormat::kX8R8G8B8 || m.format == DDFormat::kA8R8G8B8, x,
                           y);
    }

    static std::vector<uint8_t> Bytes(IDirectDrawSurface7* s) { return StoredBytes(s->Memory()); }

    IDirectDraw7* dd_ = nullptr;
    HWND window_ = nullptr;
    IDirectDrawSurface7* primary_ = nullptr;
    IDirectDrawSurface7* back_ = nullptr;
    std::vector<IDirectDrawSurface7*> made_;
};
