// JPEG decoding: colour and grey pictures, row order, progressive files, and files that are
// cut, damaged or not three-component.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "tests/runtime/image/decoder_fixture.h"
#include "tests/support/image_builders.h"

namespace {

using JpegTest = DecoderTest;

// Solid colour bands, 8 rows each so that the compression keeps them apart.
JpegImage Bands(uint32_t width, const std::vector<std::array<uint8_t, 3>>& colours) {
    JpegImage image{.width = width, .height = static_cast<uint32_t>(8 * colours.size())};
    for (const auto& rgb : colours) {
        for (uint32_t i = 0; i < 8 * width; ++i)
            image.samples.insert(image.samples.end(), rgb.begin(), rgb.end());
    }
    return image;
}

// Lossy, so samples are compared with a small tolerance.
void ExpectNear(const uint8_t* bgr, int r, int g, int b) {
    EXPECT_NEAR(bgr[0], b, 3);
    EXPECT_NEAR(bgr[1], g, 3);
    EXPECT_NEAR(bgr[2], r, 3);
}

TEST_F(JpegTest, ColourPictureComesOutBlueFirst) {
    Decoded d = DecodeImage(EncodeJpeg(Bands(16, {{200, 100, 50}, {20, 220, 120}})));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.width, 16);
    EXPECT_EQ(d.height, 16);
    EXPECT_EQ(d.depth, 24);
    EXPECT_EQ(d.source_bits, 24);
    ExpectNear(d.At(0, 0), 200, 100, 50);
    ExpectNear(d.At(15, 3), 200, 100, 50);
    ExpectNear(d.At(5, 12), 20, 220, 120);
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(JpegTest, GreyPictureGivesThreeEqualSamples) {
    JpegImage image{.width = 9, .height = 5, .components = 1};
    image.samples.assign(9 * 5, 140);
    Decoded d = DecodeImage(EncodeJpeg(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.depth, 24);
    EXPECT_EQ(d.source_bits, 24);  // it counts the output components
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 9; ++x) {
            const uint8_t* p = d.At(x, y);
            ASSERT_EQ(p[0], p[1]);
            ASSERT_EQ(p[1], p[2]);
            ASSERT_NEAR(p[0], 140, 2);
        }
    }
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(JpegTest, BottomUpFlagPutsTheFirstRowLast) {
    Bytes file = EncodeJpeg(Bands(8, {{255, 255, 255}, {0, 0, 0}, {255, 0, 0}}));
    Decoded top = DecodeImage(file);
    Decoded bottom = DecodeImage(file, kImageDecodeBottomUp);
    ASSERT_EQ(bottom.result, 1);
    ExpectNear(bottom.At(3, 23), 255, 255, 255);
    ExpectNear(bottom.At(3, 0), 255, 0, 0);
    for (int y = 0; y < 24; ++y) {
        EXPECT_EQ(0, memcmp(top.At(0, y), bottom.At(0, 23 - y), 24)) << y;
    }
}

TEST_F(JpegTest, ProgressiveEqualsBaseline) {
    JpegImage image = Bands(24, {{10, 20, 30}, {250, 128, 0}});
    Decoded baseline = DecodeImage(EncodeJpeg(image));
    image.progressive = true;
    Decoded progressive = DecodeImage(EncodeJpeg(image));
    ASSERT_EQ(progressive.result, 1);
    EXPECT_EQ(baseline.buffer, progressive.buffer);
}

TEST_F(JpegTest, ShortDataIsRefused) {
    const uint8_t soi[2] = {0xFF, 0xD8};
    EXPECT_EQ(ImageDecoder_OpenMemory(soi, 1), 0);
    EXPECT_EQ(ImageDecoder_OpenMemory(soi, 2), 0);  // no header: the library gives up
    Bytes file = EncodeJpeg(Bands(8, {{1, 2, 3}}));
    EXPECT_EQ(ImageDecoder_OpenMemory(file.data(), 100), 0);  // cut inside the tables
    Bytes garbage = {0xFF, 0xD8, 0x00, 0x11, 0x22, 0x33, 0x44};
    EXPECT_EQ(ImageDecoder_OpenMemory(garbage.data(), 7), 0);
}

TEST_F(JpegTest, PictureCutShortStillDecodesToTheEnd) {
    Bytes file = EncodeJpeg(Bands(64, {{200, 100, 50}, {200, 100, 50}, {0, 0, 255}, {9, 9, 9}}));
    // Cut halfway through the scan data that follows the start-of-scan marker.
    size_t scan = 0;
    while (scan + 1 < file.size() && !(file[scan] == 0xFF && file[scan + 1] == 0xDA)) ++scan;
    ASSERT_LT(scan + 1, file.size());
    Bytes cut(file.begin(), file.begin() + static_cast<long>(scan + (file.size() - scan) / 2));
    Decoded d = DecodeImage(cut);
    ASSERT_EQ(d.open, 1);
    EXPECT_EQ(d.result, 1);
    EXPECT_EQ(d.height, 32);
    ExpectNear(d.At(10, 2), 200, 100, 50);
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(JpegTest, DamagedScanDataNeverLeavesTheBuffer) {
    Bytes file = EncodeJpeg(Bands(32, {{200, 100, 50}, {1, 2, 3}, {90, 90, 90}}));
    for (size_t at = file.size() / 2; at < file.size() - 2; at += 7) {
        Bytes bad = file;
        bad[at] ^= 0x5A;
        Decoded d = DecodeImage(bad);
        if (d.open) {
            EXPECT_TRUE(d.PaddingUntouched()) << at;
        }
    }
}

TEST_F(JpegTest, FourComponentPicturesAreRefused) {
    JpegImage image{.width = 8, .height = 8, .cmyk = true};
    image.samples.assign(8 * 8 * 4, 60);
    EXPECT_EQ(DecodeImage(EncodeJpeg(image)).open, 0);
}

TEST_F(JpegTest, OversizedPicturesAreRefused) {
    JpegImage image{.width = 16385, .height = 1, .components = 1, .quality = 10};
    image.samples.assign(16385, 0);
    EXPECT_EQ(DecodeImage(EncodeJpeg(image)).open, 0);
    image.width = 16384;
    EXPECT_EQ(DecodeImage(EncodeJpeg(image)).result, 1);
}

}  // namespace
