// The painted pictures: sizes, where the frames lie, the mirrored rows, the black that the
// sprites key out, and the embedded copies the executables carry.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string_view>

#include "embedded_images.h"
#include "tools/art/pictures.h"
#include "tools/formats/image_files.h"

namespace {

using kavro_art::Canvas;
using kavro_art::kClear;

bool Empty(const Canvas& c, int x, int y, int w, int h) {
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i)
            if (!(c.Get(i, j) == kClear)) return false;
    return true;
}

int LowestOpaqueRow(const Canvas& c, int x, int y, int w, int h) {
    for (int j = y + h - 1; j >= y; --j)
        if (!Empty(c, x, j, w, 1)) return j - y;
    return -1;
}

bool Mirrored(const Canvas& c, int ax, int ay, int bx, int by, int w, int h) {
    for (int j = 0; j < h; ++j)
        for (int i = 0; i < w; ++i)
            if (!(c.Get(ax + i, ay + j) == c.Get(bx + w - 1 - i, by + j))) return false;
    return true;
}

TEST(PlayerSheet, FramesWhereTheGameReadsThemAndBlackElsewhere) {
    const Canvas sheet = kavro_art::PaintPlayerSheet();
    ASSERT_EQ(sheet.width(), 466);
    ASSERT_EQ(sheet.height(), 128);
    Canvas rest = sheet;
    for (int x : kavro_art::kPlayerFrameX) {
        for (int row : {0, 32}) {
            EXPECT_FALSE(Empty(sheet, x, row, 28, 32)) << "frame at x " << x << " row " << row;
            // Feet end a pixel or two above the frame's bottom: the game sinks the sprite two
            // pixels into the ground row.
            int lowest = LowestOpaqueRow(sheet, x, row, 28, 32);
            EXPECT_GE(lowest, 28) << x;
            EXPECT_LE(lowest, 30) << x;
        }
        EXPECT_TRUE(Mirrored(sheet, x, 0, x, 32, 28, 32))
            << "left row mirrors the right at x " << x;
        rest.FillRect(x, 0, 28, 64, kClear);
    }
    EXPECT_TRUE(Empty(rest, 0, 0, 466, 128));
}

TEST(CreatureSheet, SixFramesInTheTopRowTheLeftOnesMirrored) {
    const Canvas sheet = kavro_art::PaintCreatureSheet();
    ASSERT_EQ(sheet.width(), 256);
    ASSERT_EQ(sheet.height(), 96);
    for (int f = 0; f < 6; ++f) EXPECT_FALSE(Empty(sheet, f * 32, 0, 32, 32)) << f;
    for (int f = 0; f < 3; ++f)
        EXPECT_TRUE(Mirrored(sheet, f * 32, 0, (f + 3) * 32, 0, 32, 32)) << f;
    EXPECT_TRUE(Empty(sheet, 192, 0, 64, 32));
    EXPECT_TRUE(Empty(sheet, 0, 32, 256, 64));
    // Walking frames differ, so the creature visibly walks.
    Canvas a(32, 32), b(32, 32);
    a.Paste(sheet, 0, 0, 32, 32, 0, 0, false);
    b.Paste(sheet, 32, 0, 32, 32, 0, 0, false);
    EXPECT_NE(a.pixels(), b.pixels());
}

TEST(Background, SkyOnTopHillsBelowNoTransparentBlack) {
    const Canvas bg = kavro_art::PaintBackground();
    ASSERT_EQ(bg.width(), 1024);
    ASSERT_EQ(bg.height(), 768);
    kavro_art::Rgb sky = bg.Get(100, 20), hills = bg.Get(100, 560);
    EXPECT_GT(sky.b, sky.r);
    EXPECT_GT(hills.g, hills.b);
    EXPECT_EQ(std::count(bg.pixels().begin(), bg.pixels().end(), kClear), 0);
}

uint32_t Le32(const unsigned char* b) {
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
}

TEST(EmbeddedImages, TheExecutablesCarryTheDocumentedFiles) {
    // Player sheet: 24-bit bottom-up BMP, 466 x 128, 179,256 bytes.
    ASSERT_EQ(kPlayerSheetSize, 179256u);
    EXPECT_EQ(std::memcmp(kPlayerSheet, "BM", 2), 0);
    EXPECT_EQ(Le32(kPlayerSheet + 2), 179256u);
    EXPECT_EQ(Le32(kPlayerSheet + 18), 466u);
    EXPECT_EQ(Le32(kPlayerSheet + 22), 128u);
    EXPECT_EQ(kPlayerSheet[28], 24);
    // Creature sheet: 256 x 96, 73,784 bytes.
    ASSERT_EQ(kCreatureSheetSize, 73784u);
    EXPECT_EQ(Le32(kCreatureSheet + 18), 256u);
    EXPECT_EQ(Le32(kCreatureSheet + 22), 96u);
    // The embedded sheet is exactly what the painter draws.
    kavro_formats::Bytes player(kPlayerSheet, kPlayerSheet + kPlayerSheetSize);
    EXPECT_EQ(kavro_formats::DecodeBmp24(player).pixels(), kavro_art::PaintPlayerSheet().pixels());
    // Background: JFIF JPEG with an EXIF block, 1024 x 768.
    ASSERT_GT(kBackgroundSize, 1000u);
    EXPECT_EQ(kBackground[0], 0xFF);
    EXPECT_EQ(kBackground[1], 0xD8);
    EXPECT_EQ(kBackground[3], 0xE0);
    EXPECT_EQ(std::memcmp(kBackground + 6, "JFIF", 4), 0);
    kavro_formats::Bytes jpeg(kBackground, kBackground + kBackgroundSize);
    const std::string_view exif = "Exif";
    EXPECT_NE(std::search(jpeg.begin(), jpeg.end(), exif.begin(), exif.end()), jpeg.end());
    Canvas bg = kavro_formats::DecodeJpeg(jpeg);
    EXPECT_EQ(bg.width(), 1024);
    EXPECT_EQ(bg.height(), 768);
}

}  // namespace
