// PNG decoding: every colour type's output depth and samples, 16-bit stripping, interlacing,
// row order, and files that are cut or damaged.
#include <gtest/gtest.h>

#include <png.h>

#include <array>

#include "tests/runtime/image/decoder_fixture.h"
#include "tests/support/image_builders.h"

namespace {

using PngTest = DecoderTest;

PngImage Rgb(uint32_t width, uint32_t height, bool interlaced = false) {
    PngImage image{.width = width,
                   .height = height,
                   .color_type = PNG_COLOR_TYPE_RGB,
                   .interlaced = interlaced};
    for (uint32_t y = 0; y < height; ++y) {
        Bytes row;
        for (uint32_t x = 0; x < width; ++x) {
            row.push_back(static_cast<uint8_t>(x * 17 + y));
            row.push_back(static_cast<uint8_t>(y * 29 + 3));
            row.push_back(static_cast<uint8_t>((x ^ y) * 7));
        }
        image.rows.push_back(row);
    }
    return image;
}

PngImage Palette(bool with_transparency) {
    PngImage image{.width = 3,
                   .height = 2,
                   .color_type = PNG_COLOR_TYPE_PALETTE,
                   .palette = {0x102030, 0x405060, 0x708090},
                   .rows = {{0, 1, 2}, {2, 2, 0}}};
    if (with_transparency) image.transparency = {255, 0, 128};
    return image;
}

TEST_F(PngTest, PaletteWithoutTransparencyIsTwentyFourBit) {
    Decoded d = DecodeImage(EncodePng(Palette(false)));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.width, 3);
    EXPECT_EQ(d.height, 2);
    EXPECT_EQ(d.depth, 24);
    EXPECT_EQ(d.source_bits, 8);
    EXPECT_EQ(d.At(0, 0)[0], 0x30);
    EXPECT_EQ(d.At(0, 0)[1], 0x20);
    EXPECT_EQ(d.At(0, 0)[2], 0x10);
    EXPECT_EQ(d.At(2, 0)[0], 0x90);
    EXPECT_EQ(d.At(0, 1)[2], 0x70);
    EXPECT_EQ(d.At(2, 1)[2], 0x10);
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(PngTest, PaletteWithTransparencyIsThirtyTwoBit) {
    Decoded d = DecodeImage(EncodePng(Palette(true)));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.depth, 32);
    const uint8_t first[4] = {0x30, 0x20, 0x10, 255};
    const uint8_t second[4] = {0x60, 0x50, 0x40, 0};
    const uint8_t third[4] = {0x90, 0x80, 0x70, 128};
    EXPECT_EQ(0, memcmp(d.At(0, 0), first, 4));
    EXPECT_EQ(0, memcmp(d.At(1, 0), second, 4));
    EXPECT_EQ(0, memcmp(d.At(2, 0), third, 4));
    EXPECT_EQ(0, memcmp(d.At(2, 1), first, 4));
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(PngTest, TransparencyKeyGivesAlphaZeroExactlyAtTheKey) {
    // Each picture holds the key, colours next to it and black; only the key is transparent.
    // The 16-bit ones differ from the key below the 8 bits that are kept.
    const struct {
        const char* what;
        PngImage image;
        std::vector<std::array<uint8_t, 4>> expected;  // blue, green, red, alpha
    } cases[] = {
        {"grey, 8 bits",
         {.width = 4,
          .height = 1,
          .color_type = PNG_COLOR_TYPE_GRAY,
          .rows = {{77, 76, 78, 0}},
          .key = {77}},
         {{77, 77, 77, 0}, {76, 76, 76, 255}, {78, 78, 78, 255}, {0, 0, 0, 255}}},
        {"grey, 16 bits",
         {.width = 3,
          .height = 1,
          .color_type = PNG_COLOR_TYPE_GRAY,
          .bit_depth = 16,
          .rows = {{0x12, 0x34, 0x12, 0x35, 0x00, 0x00}},
          .key = {0x1234}},
         {{0x12, 0x12, 0x12, 0}, {0x12, 0x12, 0x12, 255}, {0, 0, 0, 255}}},
        {"RGB, 8 bits",
         {.width = 4,
          .height = 1,
          .color_type = PNG_COLOR_TYPE_RGB,
          .rows = {{10, 20, 30, 10, 20, 31, 30, 20, 10, 0, 0, 0}},
          .key = {10, 20, 30}},
         {{30, 20, 10, 0}, {31, 20, 10, 255}, {10, 20, 30, 255}, {0, 0, 0, 255}}},
        {"RGB, 16 bits",
         {.width = 2,
          .height = 1,
          .color_type = PNG_COLOR_TYPE_RGB,
          .bit_depth = 16,
          .rows = {{1, 2, 3, 4, 5, 6, 1, 2, 3, 4, 5, 7}},
          .key = {0x0102, 0x0304, 0x0506}},
         {{5, 3, 1, 0}, {5, 3, 1, 255}}},
    };
    for (const auto& c : cases) {
        Decoded d = DecodeImage(EncodePng(c.image));
        ASSERT_EQ(d.result, 1) << c.what;
        EXPECT_EQ(d.depth, 32) << c.what;
        for (size_t x = 0; x < c.expected.size(); ++x) {
            EXPECT_EQ(0, memcmp(d.At(static_cast<int32_t>(x), 0), c.expected[x].data(), 4))
                << c.what << ", pixel " << x;
        }
        EXPECT_TRUE(d.PaddingUntouched()) << c.what;
    }
}

TEST_F(PngTest, SmallPaletteDepthsAreExpanded) {
    PngImage image{.width = 5,
                   .height = 1,
                   .color_type = PNG_COLOR_TYPE_PALETTE,
                   .bit_depth = 2,
                   .palette = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF},
                   .rows = {{0b00011011, 0b01000000}}};
    Decoded d = DecodeImage(EncodePng(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.source_bits, 2);
    EXPECT_EQ(d.depth, 24);
    EXPECT_EQ(d.At(1, 0)[2], 0xFF);  // red
    EXPECT_EQ(d.At(2, 0)[1], 0xFF);  // green
    EXPECT_EQ(d.At(3, 0)[0], 0xFF);  // blue
    EXPECT_EQ(d.At(4, 0)[2], 0xFF);
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(PngTest, GreyBecomesThreeEqualSamples) {
    PngImage image{
        .width = 4, .height = 1, .color_type = PNG_COLOR_TYPE_GRAY, .rows = {{0, 77, 200, 255}}};
    Decoded d = DecodeImage(EncodePng(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.depth, 24);
    EXPECT_EQ(d.source_bits, 8);
    const uint8_t levels[4] = {0, 77, 200, 255};
    for (int x = 0; x < 4; ++x) {
        for (int c = 0; c < 3; ++c) EXPECT_EQ(d.At(x, 0)[c], levels[x]);
    }
}

TEST_F(PngTest, OneBitGreyIsExpandedToFullLevels) {
    PngImage image{.width = 3,
                   .height = 1,
                   .color_type = PNG_COLOR_TYPE_GRAY,
                   .bit_depth = 1,
                   .rows = {{0b10100000}}};
    Decoded d = DecodeImage(EncodePng(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.source_bits, 1);
    EXPECT_EQ(d.At(0, 0)[1], 255);
    EXPECT_EQ(d.At(1, 0)[1], 0);
    EXPECT_EQ(d.At(2, 0)[1], 255);
}

TEST_F(PngTest, GreyAlphaIsThirtyTwoBit) {
    PngImage image{.width = 2,
                   .height = 1,
                   .color_type = PNG_COLOR_TYPE_GRAY_ALPHA,
                   .rows = {{10, 20, 30, 40}}};
    Decoded d = DecodeImage(EncodePng(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.depth, 32);
    EXPECT_EQ(d.source_bits, 8);
    const uint8_t first[4] = {10, 10, 10, 20};
    const uint8_t second[4] = {30, 30, 30, 40};
    EXPECT_EQ(0, memcmp(d.At(0, 0), first, 4));
    EXPECT_EQ(0, memcmp(d.At(1, 0), second, 4));
}

TEST_F(PngTest, RgbaComesOutBlueFirst) {
    PngImage image{
        .width = 1, .height = 1, .color_type = PNG_COLOR_TYPE_RGB_ALPHA, .rows = {{1, 2, 3, 4}}};
    Decoded d = DecodeImage(EncodePng(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.depth, 32);
    EXPECT_EQ(d.source_bits, 32);
    const uint8_t bgra[4] = {3, 2, 1, 4};
    EXPECT_EQ(0, memcmp(d.At(0, 0), bgra, 4));
}

TEST_F(PngTest, SixteenBitRgbIsStrippedToTwentyFourBit) {
    PngImage image{
        .width = 2,
        .height = 1,
        .color_type = PNG_COLOR_TYPE_RGB,
        .bit_depth = 16,
        .rows = {{0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xFF, 0x01, 0x00, 0xFF, 0x80, 0x80}}};
    Decoded d = DecodeImage(EncodePng(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.depth, 24);
    EXPECT_EQ(d.source_bits, 24);
    const uint8_t first[3] = {0x9A, 0x56, 0x12};
    const uint8_t second[3] = {0x80, 0x00, 0xFF};
    EXPECT_EQ(0, memcmp(d.At(0, 0), first, 3));
    EXPECT_EQ(0, memcmp(d.At(1, 0), second, 3));
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(PngTest, InterlacedEqualsItsTwin) {
    for (uint32_t size : {1u, 3u, 13u}) {
        Decoded plain = DecodeImage(EncodePng(Rgb(size, size + 2)));
        Decoded interlaced = DecodeImage(EncodePng(Rgb(size, size + 2, true)));
        ASSERT_EQ(plain.result, 1);
        ASSERT_EQ(interlaced.result, 1);
        EXPECT_EQ(plain.buffer, interlaced.buffer) << size;
        // And both match what was encoded.
        PngImage source = Rgb(size, size + 2);
        const Bytes& row = source.rows[size + 1];
        EXPECT_EQ(plain.At(size - 1, size + 1)[0], row[3 * (size - 1) + 2]);
    }
}

TEST_F(PngTest, BottomUpFlagPutsTheFirstRowLast) {
    PngImage source = Rgb(4, 3);
    Decoded top = DecodeImage(EncodePng(source));
    Decoded bottom = DecodeImage(EncodePng(source), kImageDecodeBottomUp);
    ASSERT_EQ(bottom.result, 1);
    for (int y = 0; y < 3; ++y) {
        EXPECT_EQ(0, memcmp(top.At(0, y), bottom.At(0, 2 - y), 12)) << y;
    }
    Decoded interlaced = DecodeImage(EncodePng(Rgb(4, 3, true)), kImageDecodeBottomUp);
    EXPECT_EQ(interlaced.buffer, bottom.buffer);
}

TEST_F(PngTest, ShortDataIsRefused) {
    Bytes file = EncodePng(Rgb(2, 2));
    EXPECT_EQ(ImageDecoder_OpenMemory(file.data(), 7), 0);   // seven bytes of signature
    EXPECT_EQ(ImageDecoder_OpenMemory(file.data(), 8), 0);   // signature and nothing else
    EXPECT_EQ(ImageDecoder_OpenMemory(file.data(), 30), 0);  // header chunk cut
    EXPECT_EQ(ImageDecoder_OpenMemory(file.data(), static_cast<int32_t>(file.size())), 1);
}

TEST_F(PngTest, TruncatedPixelDataFailsTheDecode) {
    Bytes file = EncodePng(Rgb(40, 40));
    // Keep the header chunks, drop most of the image data.
    Bytes cut(file.begin(), file.begin() + static_cast<long>(file.size() / 2));
    Decoded d = DecodeImage(cut);
    ASSERT_EQ(d.open, 1);
    EXPECT_EQ(d.result, 0);
    EXPECT_TRUE(d.PaddingUntouched());
    EXPECT_EQ(ImageDecoder_Decode(d.buffer.data(), d.pitch, 0), 0) << "the image is closed";
}

TEST_F(PngTest, DamagedDataFailsCleanly) {
    Bytes file = EncodePng(Rgb(40, 40));
    file[file.size() / 2] ^= 0xFF;  // inside the compressed data: the checksum no longer fits
    Decoded d = DecodeImage(file);
    ASSERT_EQ(d.open, 1);
    EXPECT_EQ(d.result, 0);
}

TEST_F(PngTest, ChunkLongerThanTheDataIsRefused) {
    Bytes file = EncodePng(Rgb(2, 2));
    // After the header chunk (8 + 25 bytes): a text chunk that claims 1.8 GB.
    const uint8_t chunk[] = {0x70, 0x00, 0x00, 0x00, 't', 'E', 'X', 't', 'a', 0, 'b'};
    file.insert(file.begin() + 33, std::begin(chunk), std::end(chunk));
    EXPECT_EQ(DecodeImage(file).open, 0);
}

TEST_F(PngTest, OversizedPicturesAreRefused) {
    PngImage wide{.width = 16385,
                  .height = 1,
                  .color_type = PNG_COLOR_TYPE_GRAY,
                  .bit_depth = 1,
                  .rows = {Bytes(2049, 0)}};
    EXPECT_EQ(DecodeImage(EncodePng(wide)).open, 0);
    PngImage big{.width = 4097, .height = 4097, .color_type = PNG_COLOR_TYPE_GRAY, .bit_depth = 1};
    big.rows.assign(4097, Bytes(513, 0));
    EXPECT_EQ(DecodeImage(EncodePng(big)).open, 0);
    PngImage largest{
        .width = 16384, .height = 2, .color_type = PNG_COLOR_TYPE_GRAY, .bit_depth = 1};
    largest.rows.assign(2, Bytes(2048, 0xFF));
    Decoded d = DecodeImage(EncodePng(largest));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.At(16383, 1)[2], 255);
}

}  // namespace
