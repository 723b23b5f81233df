// The screen library of kavro-dx7 started on a fresh runtime heap for each test (with the
// keyboard it needs and the decoders registered), and helpers that make sprites from images
// built in code (surface_helpers.h) and read the back buffer.
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
#include "tests/support/image_builders.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/surface_helpers.h"

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
        return StoredPixel(m, m.format == DDFormat::kX8R8G8B8 || m.format == DDFormat::kA8R8G8B8, x,
                           y);
    }
    // The back buffer's colour at (x, y) as 0xRRGGBB (32-bit screens).
    static uint32_t Rgb(int x, int y) { return Raw(Back(), x, y) & 0xFFFFFF; }
    static void ClearTo(uint32_t rgb) {
        DDBLTFX fx{sizeof(DDBLTFX), rgb, {0, 0}};
        ASSERT_EQ(Back()->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
    }
    static std::vector<uint8_t> Contents(IDirectDrawSurface7* s) {
        return StoredBytes(s->Memory());
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
