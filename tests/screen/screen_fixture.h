// The screen library started on a fresh runtime heap for each test, with the decoders
// registered, and helpers that make sprites from images built in code and read the back buffer.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/d3d9/test_hooks.h"
#include "platform/win32/process.h"
#include "runtime/image/image_decoder.h"
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"
#include "runtime/screen/d3d9/sprite3d.h"
#include "tests/image/image_builders.h"
#include "tests/support/runtime_fixture.h"

class ScreenTest : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        Program_Globals().module_handle = GetModuleHandleA(nullptr);
        ImageDecoder_Init();
        ImageDecoder_UseBmp();
        ImageDecoder_UsePng();
        ImageDecoder_UseJpeg();
        ASSERT_EQ(Sprite_Init(), 1);
        ASSERT_EQ(Sprite3D_Init(), 1);
    }
    void TearDown() override {
        // The cleanup chain's order.
        Sprite_End();
        Sprite3D_End();
        ImageDecoder_Close();
        RuntimeTest::TearDown();
    }

    void Open(int32_t depth = 32, int32_t flags = 0) {
        ASSERT_EQ(Screen_Open(640, 480, depth, "Kavro test", flags), 1);
    }
    IDirect3DDevice9* Device() { return Screen_State().device; }

    // The back buffer's pixel at (x, y) as stored (32-bit, or 16-bit in the low half).
    uint32_t Pixel(int x, int y) {
        const SurfaceMemory& m = Screen_State().backBuffer->Memory();
        const uint8_t* row = m.bits + static_cast<size_t>(y) * m.pitch;
        if (m.format == D3DFMT_X8R8G8B8) {
            uint32_t v;
            std::memcpy(&v, row + 4 * x, 4);
            return v;
        }
        uint16_t v;
        std::memcpy(&v, row + 2 * x, 2);
        return v;
    }
    uint32_t Rgb(int x, int y) { return Pixel(x, y) & 0xFFFFFF; }
    std::vector<uint8_t> BackBufferBytes() {
        const SurfaceMemory& m = Screen_State().backBuffer->Memory();
        return std::vector<uint8_t>(m.bits, m.bits + static_cast<size_t>(m.pitch) * m.height);
    }
    void ClearTo(uint32_t colour) { Device()->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 0, 0); }

    // A 24-bit BMP whose pixel (x, y) is colour(x, y) as 0xRRGGBB.
    template <typename F>
    static Bytes Bmp24(int32_t w, int32_t h, F colour) {
        BmpImage image;
        image.width = w;
        image.height = h;
        image.bits = 24;
        for (int32_t y = 0; y < h; ++y) {
            Bytes row;
            for (int32_t x = 0; x < w; ++x) {
                uint32_t c = colour(x, y);
                row.push_back(static_cast<uint8_t>(c));
                row.push_back(static_cast<uint8_t>(c >> 8));
                row.push_back(static_cast<uint8_t>(c >> 16));
            }
            image.rows.push_back(row);
        }
        return EncodeBmp(image);
    }
    SpriteId Make(int32_t number, const Bytes& file) {
        return Sprite_CreateFromMemory(number, file.data(), static_cast<int32_t>(file.size()));
    }
};
