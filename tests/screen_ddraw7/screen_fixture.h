// The screen library of kavro-dx7 started on a fresh runtime heap for each test (with the
// keyboard it needs and the decoders registered), and helpers that make sprites from images
// built in code and read the back buffer.
#pragma once
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/ddraw7/test_hooks.h"
#include "platform/win32/process.h"
#include "runtime/image/image_decoder.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"
#include "runtime/screen/ddraw7/sprite3d.h"
#include "runtime/screen/screen.h"
#include "tests/image/image_builders.h"
#include "tests/support/runtime_fixture.h"

class Dx7Test : public RuntimeTest {
  protected:
    void SetUp() override {
        RuntimeTest::SetUp();
        Program_Globals().module_handle = GetModuleHandleA(nullptr);
        ImageDecoder_Init();
        ImageDecoder_UseBmp();
        ImageDecoder_UsePng();
        ASSERT_EQ(Sprite_Init(), 1);
        ASSERT_EQ(Sprite3D_Init(), 1);
    }
    void TearDown() override {
        // The cleanup chain's order on this deliverable.
        Sprite3D_End();
        Sprite_End();
        Keyboard_End();
        ImageDecoder_Close();
        RuntimeTest::TearDown();
    }

    void Open(int32_t depth = 32, int32_t flip_mode = 0) {
        ASSERT_EQ(Screen_Open(640, 480, depth, "Kavro test", flip_mode), 1);
    }
    static ScreenState& S() { return Screen_State(); }
    static IDirectDrawSurface7* Back() { return Screen_State().backBuffer; }

    // A raw pixel of a surface (32-bit, or 16-bit in the low half).
    static uint32_t Raw(IDirectDrawSurface7* s, int x, int y) {
        const DDSurfaceMemory& m = s->Memory();
        const uint8_t* row = m.bits + static_cast<size_t>(y) * m.pitch;
        if (m.format == DDFormat::kX8R8G8B8 || m.format == DDFormat::kA8R8G8B8) {
            uint32_t v;
            std::memcpy(&v, row + 4 * x, 4);
            return v;
        }
        uint16_t v;
        std::memcpy(&v, row + 2 * x, 2);
        return v;
    }
    // The back buffer's colour at (x, y) as 0xRRGGBB (32-bit screens).
    static uint32_t Rgb(int x, int y) { return Raw(Back(), x, y) & 0xFFFFFF; }
    static void ClearTo(uint32_t rgb) {
        DDBLTFX fx{sizeof(DDBLTFX), rgb, {0, 0}};
        ASSERT_EQ(Back()->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    }
    static std::vector<uint8_t> Contents(IDirectDrawSurface7* s) {
        const DDSurfaceMemory& m = s->Memory();
        return std::vector<uint8_t>(m.bits, m.bits + static_cast<size_t>(m.pitch) * m.height);
    }

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
    // A 32-bit PNG with alpha whose pixel (x, y) is colour(x, y) as 0xAARRGGBB.
    template <typename F>
    static Bytes Png32(uint32_t w, uint32_t h, F colour) {
        PngImage image;
        image.width = w;
        image.height = h;
        image.color_type = 6;
        for (uint32_t y = 0; y < h; ++y) {
            Bytes row;
            for (uint32_t x = 0; x < w; ++x) {
                uint32_t c = colour(static_cast<int>(x), static_cast<int>(y));
                row.push_back(static_cast<uint8_t>(c >> 16));
                row.push_back(static_cast<uint8_t>(c >> 8));
                row.push_back(static_cast<uint8_t>(c));
                row.push_back(static_cast<uint8_t>(c >> 24));
            }
            image.rows.push_back(row);
        }
        return EncodePng(image);
    }
    static SpriteId Make(int32_t number, const Bytes& file, int32_t mode = 0) {
        return Sprite_CreateFromImage(number, file.data(), static_cast<int32_t>(file.size()), mode);
    }
    static IDirectDrawSurface7* SurfaceOf(int32_t number) {
        SpriteRecord* s = Sprite_Record(number);
        return s ? Sprite_Surface(s) : nullptr;
    }
};

// The one rounding rule of every 8-bit product.
inline uint32_t Mul8(uint32_t a, uint32_t b) {
    return (a * b + 127) / 255;
}
