// The screen library started on a fresh runtime heap for each test, with the decoders
// registered, and helpers that make sprites from images built in code (surface_helpers.h) and
// read the back buffer.
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
#include "tests/support/image_builders.h"
#include "tests/support/runtime_fixture.h"
#include "tests/support/surface_helpers.h"

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
        return StoredPixel(m, m.format == D3DFMT_X8R8G8B8, x, y);
    }
    uint32_t Rgb(int x, int y) { return Pixel(x, y) & 0xFFFFFF; }
    std::vector<uint8_t> BackBufferBytes() {
        return StoredBytes(Screen_State().backBuffer->Memory());
    }
    void ClearTo(uint32_t colour) { Device()->Clear(0, nullptr, D3DCLEAR_TARGET, colour, 0, 0); }

    SpriteId Make(int32_t number, const Bytes& file) {
        return Sprite_CreateFromMemory(number, file.data(), static_cast<int32_t>(file.size()));
    }
};
