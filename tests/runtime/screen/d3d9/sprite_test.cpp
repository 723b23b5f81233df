// Sprites: creation from images, transparency, clipping at the screen edges, the clip
// rectangle, 16-bit textures, grabbing the screen, loading files, render targets.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "runtime/core/object_table.h"
#include "tests/runtime/screen/d3d9/screen_fixture.h"

namespace {

class SpriteTest : public ScreenTest {
  protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Open();
        ClearTo(0x0000FF);
    }
    // A solid red sprite of w x h under `number`.
    void Solid(int32_t number, int32_t w, int32_t h, uint32_t colour = 0xFF0000u) {
        ASSERT_NE(Make(number, Bmp24(w, h, [&](int, int) { return colour; })), 0);
    }
};

TEST_F(SpriteTest, PureBlackIsInvisibleOnlyWhenDrawnTransparent) {
    const uint32_t row[4] = {0x000000, 0xFF0000, 0x010101, 0xFFFFFF};
    ASSERT_NE(Make(1, Bmp24(4, 1, [&](int x, int) { return row[x]; })), 0);
    Sprite_DisplayTransparent(1, 10, 10);
    EXPECT_EQ(Rgb(10, 10), 0x0000FFu);
    EXPECT_EQ(Rgb(11, 10), 0xFF0000u);
    EXPECT_EQ(Rgb(12, 10), 0x010101u);  // near black is a colour like any other
    EXPECT_EQ(Rgb(13, 10), 0xFFFFFFu);
    Sprite_Display(1, 10, 20);
    EXPECT_EQ(Rgb(10, 20), 0x000000u);
    EXPECT_EQ(Rgb(11, 20), 0xFF0000u);
    EXPECT_EQ(Rgb(14, 20), 0x0000FFu);
}

TEST_F(SpriteTest, NearBlackJpegPixelsStayOpaque) {
    JpegImage jpeg;
    jpeg.width = 16;
    jpeg.height = 16;
    jpeg.quality = 100;
    jpeg.samples.assign(16 * 16 * 3, 4);  // (4, 4, 4) decodes near black, not to black
    ASSERT_NE(Make(2, EncodeJpeg(jpeg)), 0);
    Sprite_DisplayTransparent(2, 0, 0);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            uint32_t p = Rgb(x, y);
            ASSERT_NE(p, 0x0000FFu) << x << "," << y;
            ASSERT_LT(p & 0xFF, 16u);
        }
    }
}

TEST_F(SpriteTest, SpritesAreClippedAtAllFourEdges) {
    Solid(1, 8, 6);
    auto drawn = [&](int x, int y) {
        ClearTo(0x0000FF);
        Sprite_Display(1, x, y);
        int count = 0;
        for (int py = 0; py < 480; ++py) {
            for (int px = 0; px < 640; ++px) count += Rgb(px, py) == 0xFF0000u;
        }
        return count;
    };
    EXPECT_EQ(drawn(640, 100), 0);
    EXPECT_EQ(drawn(639, 100), 6);
    EXPECT_EQ(Rgb(639, 100), 0xFF0000u);
    EXPECT_EQ(drawn(-8, 100), 0);
    EXPECT_EQ(drawn(-7, 100), 6);
    EXPECT_EQ(Rgb(0, 105), 0xFF0000u);
    EXPECT_EQ(drawn(100, 480), 0);
    EXPECT_EQ(drawn(100, 479), 8);
    EXPECT_EQ(drawn(100, -6), 0);
    EXPECT_EQ(drawn(100, -5), 8);
    EXPECT_EQ(drawn(-4, -3), 4 * 3);
    // Entirely off the screen: no draw reaches the device.
    uint64_t draws = D3D9Test_Counters(Device()).draws;
    Sprite_Display(1, 640, 0);
    Sprite_Display(1, 0, -6);
    EXPECT_EQ(D3D9Test_Counters(Device()).draws, draws);
}

TEST_F(SpriteTest, ClipRectanglesFollowTheirRules) {
    ASSERT_NE(Make(5, Bmp24(466, 128, [](int x, int y) { return (x << 8) | y; })), 0);
    SpriteRecord* s = Sprite_Record(5);
    Sprite_Clip(5, 10, 0, 1000, 32);
    EXPECT_EQ(s->width, 456);
    EXPECT_EQ(s->height, 32);
    EXPECT_FLOAT_EQ(s->texCoords[0], 10.0f / 466.0f);
    EXPECT_FLOAT_EQ(s->texCoords[2], 1.0f);
    EXPECT_FLOAT_EQ(s->texCoords[7], 32.0f / 128.0f);
    Sprite_Clip(5, 500, 0, 30, 32);  // beyond the image
    EXPECT_EQ(s->clipX, 466);
    EXPECT_EQ(s->width, 0);
    Sprite_Clip(5, -1, 3, 20, 20);  // -1 alone means 0
    EXPECT_EQ(s->clipX, 0);
    EXPECT_EQ(s->clipY, 3);
    Sprite_Clip(5, -1, -1, -1, -1);
    EXPECT_EQ(s->width, 466);
    EXPECT_EQ(s->height, 128);
    EXPECT_EQ(Sprite_Width(5), 466);
    EXPECT_EQ(Sprite_Height(5), 128);
    // A clipped display draws that part of the image, one texel per pixel.
    Sprite_Clip(5, 200, 40, 28, 32);
    Sprite_Display(5, 0, 0);
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 28; ++x)
            ASSERT_EQ(Rgb(x, y), uint32_t(((200 + x) & 0xFF) << 8 | (40 + y)));
    }
    EXPECT_EQ(Rgb(28, 0), 0x0000FFu);
    EXPECT_EQ(Sprite_Width(6), 0);  // unknown numbers
}

TEST_F(SpriteTest, OddWidth24BitImagesConvertWithoutShear) {
    auto colour = [](int x, int y) {
        return static_cast<uint32_t>(0x100000 * (x + 1) + 0x40 * y + 7);
    };
    ASSERT_NE(Make(1, Bmp24(5, 3, colour)), 0);
    Sprite_Display(1, 50, 60);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) EXPECT_EQ(Rgb(50 + x, 60 + y), colour(x, y)) << x << "," << y;
    }
}

TEST_F(SpriteTest, SixteenBitScreensGetSixteenBitTextures) {
    Screen_Close();
    Open(16);
    const uint32_t row[3] = {0x000000, 0x12F8C4, 0xFFFFFF};
    ASSERT_NE(Make(1, Bmp24(3, 1, [&](int x, int) { return row[x]; })), 0);
    SpriteRecord* s = Sprite_Record(1);
    EXPECT_EQ(s->depth, 16);
    EXPECT_EQ(s->texture->kind, 2);
    ASSERT_NE(s->texture->renderSurface, nullptr);
    ClearTo(0x00FF00);
    Sprite_DisplayTransparent(1, 0, 0);
    EXPECT_EQ(Pixel(0, 0), 0x8000u | (0x1Fu << 5));                          // background
    EXPECT_EQ(Pixel(1, 0), 0x8000u | (0x02u << 10) | (0x1Fu << 5) | 0x18u);  // top five bits
    EXPECT_EQ(Pixel(2, 0), 0xFFFFu);
}

TEST_F(SpriteTest, SpritesNeedAnOpenScreen) {
    Screen_Close();
    // A texture belongs to the device that draws it; with no screen there is none.
    EXPECT_EQ(Make(1, Bmp24(2, 2, [](int, int) { return 0xFFu; })), 0);
    EXPECT_EQ(Sprite_Exists(1), nullptr);
    EXPECT_EQ(Make(-1, Bmp24(2, 2, [](int, int) { return 0xFFu; })), 0);
}

TEST_F(SpriteTest, GrabCopiesTheScreenUpToTheRightEdge) {
    Solid(1, 20, 10, 0x00FF00);
    Sprite_Display(1, 620, 0);
    EXPECT_EQ(Sprite_Grab(2, 621, 0, 20, 10, 0), 0);  // one column beyond the edge
    EXPECT_EQ(Sprite_Grab(2, -1, 0, 20, 10, 0), 0);
    EXPECT_EQ(Sprite_Grab(2, 0, 0, 20, 10, 2), 0);  // mode 2 is refused
    EXPECT_EQ(Sprite_Exists(2), nullptr);
    SpriteId id = Sprite_Grab(2, 615, 0, 25, 10, 4);
    ASSERT_NE(id, 0);
    EXPECT_EQ(reinterpret_cast<SpriteRecord*>(id), Sprite_Record(2));
    EXPECT_EQ(Sprite_Width(2), 25);
    ClearTo(0xFFFFFF);
    Sprite_Display(2, 0, 100);
    for (int x = 0; x < 25; ++x) EXPECT_EQ(Rgb(x, 105), x < 5 ? 0x0000FFu : 0x00FF00u) << x;
    // Same size and depth: the sprite is reused in place.
    TextureRecord* texture = Sprite_Record(2)->texture;
    ASSERT_NE(Sprite_Grab(2, 0, 100, 25, 10, 4), 0);
    EXPECT_EQ(Sprite_Record(2)->texture, texture);
}

TEST_F(SpriteTest, GrabbedBlackIsTransparent) {
    Solid(1, 4, 4, 0x00FF00);
    ClearTo(0);
    Sprite_Display(1, 2, 2);
    SpriteId id = Sprite_Grab(-1, 0, 0, 8, 8);
    ASSERT_GE(id, 0x40000000);
    ClearTo(0x0000FF);
    Sprite_DisplayTransparent(static_cast<int32_t>(id), 100, 100);
    EXPECT_EQ(Rgb(100, 100), 0x0000FFu);
    EXPECT_EQ(Rgb(103, 103), 0x00FF00u);
    Sprite_Free(static_cast<int32_t>(id));
    EXPECT_EQ(Sprite_Exists(static_cast<int32_t>(id)), nullptr);
}

std::string WriteTemp(const char* name, const Bytes& bytes) {
    std::string path = ::testing::TempDir() + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return path;
}

TEST_F(SpriteTest, LoadReadsTheWholeFileAndAcceptsDynamicNumbers) {
    std::string path =
        WriteTemp("kavro_sprite.bmp", Bmp24(6, 4, [](int x, int) { return x * 40u; }));
    SpriteId id = Sprite_Load(-1, path.c_str(), 0);
    ASSERT_GE(id, 0x40000000);
    int32_t n = static_cast<int32_t>(id);
    EXPECT_EQ(Sprite_Width(n), 6);
    EXPECT_EQ(Sprite_Height(n), 4);
    Sprite_Display(n, 0, 0);
    EXPECT_EQ(Rgb(5, 3), 200u);
    Sprite_Free(n);
    EXPECT_EQ(Sprite_Width(n), 0);
    EXPECT_EQ(Sprite_Load(3, (path + ".missing").c_str(), 0), 0);
    std::remove(path.c_str());
}

TEST_F(SpriteTest, TruncatedAndHostileFilesAreNotReadPastTheirEnd) {
    Bytes good = Bmp24(64, 64, [](int, int) { return 0x123456u; });
    // The sanitizer build turns any read beyond these buffers into a failure.
    for (size_t cut :
         {size_t{0}, size_t{2}, size_t{14}, size_t{40}, size_t{54}, size_t{200}, good.size() - 1}) {
        Bytes part(good.begin(), good.begin() + static_cast<ptrdiff_t>(cut));
        std::string path = WriteTemp("kavro_cut.bmp", part);
        SpriteId id = Sprite_Load(4, path.c_str(), 0);
        if (id) Sprite_Free(4);
        std::remove(path.c_str());
    }
    Bytes hostile = good;
    Put32(hostile, kBmpPixelOffsetField, 0x7FFFFF00u);
    Make(5, hostile);
    Put32(hostile, kBmpWidthField, 0x7FFFFFFFu);
    EXPECT_EQ(Make(5, hostile), 0);
    EXPECT_EQ(Sprite_CreateFromMemory(5, good.data(), 0), 0);
}

TEST_F(SpriteTest, RefusedModesLeaveNoSprite) {
    Bytes image = Bmp24(2, 2, [](int, int) { return 0xFFu; });
    std::string path = WriteTemp("kavro_mode.bmp", image);
    EXPECT_EQ(Sprite_Load(1, path.c_str(), 2), 0);
    EXPECT_EQ(Sprite_Exists(1), nullptr);
    EXPECT_EQ(Sprite_Load(1, path.c_str(), 8), 0);  // alpha channel needs texture mode
    EXPECT_EQ(Sprite_Exists(1), nullptr);
    ASSERT_NE(Sprite_Load(1, path.c_str(), 4 | 8), 0);
    EXPECT_EQ(Sprite_Record(1)->mode, 4);  // a 24-bit image has no alpha to keep
    std::remove(path.c_str());
}

TEST_F(SpriteTest, AnImagesOwnAlphaIsKeptWithTheAlphaFlag) {
    PngImage png;
    png.width = 2;
    png.height = 1;
    png.color_type = 6;  // RGBA
    png.rows = {{255, 0, 0, 255, 0, 255, 0, 128}};
    std::string path = WriteTemp("kavro_alpha.png", EncodePng(png));
    ASSERT_NE(Sprite_Load(1, path.c_str(), 4 | 8), 0);
    Sprite_DisplayTransparent(1, 0, 0);
    EXPECT_EQ(Rgb(0, 0), 0xFF0000u);
    // Green at alpha 128 over blue: each channel round(c x a / 255) + round(d x (255 - a) / 255).
    EXPECT_EQ(Rgb(1, 0), (128u << 8) | 127u);
    std::remove(path.c_str());
}

TEST_F(SpriteTest, RecreatingANumberFreesTheOldSprite) {
    Solid(1, 4, 4);
    TextureRecord* first = Sprite_Record(1)->texture;
    IDirect3DTexture9* first_texture = first->d3dTexture;
    first_texture->AddRef();
    Solid(1, 4, 4, 0x00FF00);
    EXPECT_NE(Sprite_Record(1)->texture->d3dTexture, first_texture);
    EXPECT_EQ(first_texture->Release(), 0u);  // ours was the last reference
}

TEST_F(SpriteTest, RenderingIntoASixteenBitSpriteLandsInItsTexture) {
    Screen_Close();
    Open(16);
    Solid(1, 8, 8, 0xFFFFFF);
    Solid(2, 2, 2, 0xFF0000);
    ASSERT_EQ(Screen_SetRenderTarget(1), 1);
    EXPECT_EQ(Screen_State().width, 8);
    Sprite_Display(2, 3, 3);
    ASSERT_EQ(Screen_SetRenderTarget(-1), 1);
    EXPECT_EQ(Screen_State().width, 640);
    ClearTo(0);
    Sprite_Display(1, 0, 0);
    EXPECT_EQ(Pixel(0, 0), 0xFFFFu);            // the sprite's own image stays
    EXPECT_EQ(Pixel(3, 3), 0x8000u | 0x7C00u);  // the red drawn into it
    // A 32-bit sprite has no render surface.
    Screen_Close();
    Open(32);
    Solid(3, 4, 4);
    EXPECT_EQ(Screen_SetRenderTarget(3), 0);
    EXPECT_EQ(Screen_State().renderTarget, -1);
}

}  // namespace
