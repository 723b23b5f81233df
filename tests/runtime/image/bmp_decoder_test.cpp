// BMP decoding: every supported depth, run-length and bit-field data, row placement, files it
// cannot draw, and files whose headers point outside the data.
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "tests/runtime/image/decoder_fixture.h"
#include "tests/support/image_builders.h"

namespace {

using BmpTest = DecoderTest;

void ExpectBgr(const Decoded& d, int32_t x, int32_t y, uint8_t b, uint8_t g, uint8_t r) {
    const uint8_t* p = d.At(x, y);
    EXPECT_EQ(p[0], b) << "blue at " << x << "," << y;
    EXPECT_EQ(p[1], g) << "green at " << x << "," << y;
    EXPECT_EQ(p[2], r) << "red at " << x << "," << y;
}

// Sixteen distinct colours: entry i is (i * 16 + 1, i * 8 + 2, 255 - i) as blue, green, red.
std::vector<uint32_t> Palette(int entries) {
    std::vector<uint32_t> palette;
    for (int i = 0; i < entries; ++i) {
        uint32_t b = (i * 16 + 1) & 0xFF, g = (i * 8 + 2) & 0xFF, r = (255 - i) & 0xFF;
        palette.push_back((r << 16) | (g << 8) | b);
    }
    return palette;
}
void ExpectEntry(const Decoded& d, int32_t x, int32_t y, int i) {
    ExpectBgr(d, x, y, (i * 16 + 1) & 0xFF, (i * 8 + 2) & 0xFF, (255 - i) & 0xFF);
}

TEST_F(BmpTest, OneBitIsBlackAndWhiteWhateverThePalette) {
    BmpImage image{.width = 10, .height = 2, .bits = 1};
    image.palette = {0x00FF0000, 0x0000FF00};  // red and green, never used
    image.rows = {{0b10100000, 0b01000000}, {0b01111111, 0b10000000}};
    Decoded d = DecodeImage(EncodeBmp(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.depth, 24);
    EXPECT_EQ(d.source_bits, 1);
    const int top[10] = {1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    const int bottom[10] = {0, 1, 1, 1, 1, 1, 1, 1, 1, 0};
    for (int x = 0; x < 10; ++x) {
        uint8_t t = top[x] ? 255 : 0, b = bottom[x] ? 255 : 0;
        ExpectBgr(d, x, 0, t, t, t);
        ExpectBgr(d, x, 1, b, b, b);
    }
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(BmpTest, FourBitOddWidthWritesExactlyWidthPixels) {
    BmpImage image{.width = 3, .height = 2, .bits = 4, .palette = Palette(16)};
    image.rows = {{0x12, 0x3F}, {0xA0, 0xBC}};
    Decoded d = DecodeImage(EncodeBmp(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.source_bits, 4);
    ExpectEntry(d, 0, 0, 1);
    ExpectEntry(d, 1, 0, 2);
    ExpectEntry(d, 2, 0, 3);
    ExpectEntry(d, 0, 1, 10);
    ExpectEntry(d, 1, 1, 0);
    ExpectEntry(d, 2, 1, 11);
    EXPECT_TRUE(d.PaddingUntouched());  // the low nibble of the last byte is not drawn
}

TEST_F(BmpTest, EightBitLooksUpThePalette) {
    BmpImage image{.width = 3, .height = 3, .bits = 8, .palette = Palette(16)};
    image.rows = {{0, 1, 2}, {3, 4, 5}, {15, 14, 13}};
    Decoded d = DecodeImage(EncodeBmp(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.source_bits, 8);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 3; ++x) ExpectEntry(d, x, y, image.rows[y][x]);
    }
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(BmpTest, SixteenBitIsFiveFiveFive) {
    BmpImage image{.width = 4, .height = 1, .bits = 16};
    image.rows = {{0x00, 0x7C, 0x1F, 0x00, 0xE0, 0x03, 0xFF, 0xFF}};
    Decoded d = DecodeImage(EncodeBmp(image));
    ASSERT_EQ(d.result, 1);
    ExpectBgr(d, 0, 0, 0, 0, 248);      // 0x7C00 is pure red
    ExpectBgr(d, 1, 0, 248, 0, 0);      // 0x001F is pure blue
    ExpectBgr(d, 2, 0, 0, 248, 0);      // 0x03E0 is pure green
    ExpectBgr(d, 3, 0, 248, 248, 248);  // bit 15 ignored
}

TEST_F(BmpTest, TwentyFourBitSkipsRowPadding) {
    BmpImage image{.width = 5, .height = 2, .bits = 24};
    for (int y = 0; y < 2; ++y) {
        Bytes row;
        for (int i = 0; i < 15; ++i) row.push_back(static_cast<uint8_t>(y * 100 + i));
        image.rows.push_back(row);
    }
    Bytes file = EncodeBmp(image);
    ASSERT_EQ(file.size(), 54u + 2 * 16);  // 15 bytes of pixels in a row of 16
    Decoded d = DecodeImage(file);
    ASSERT_EQ(d.result, 1);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 5; ++x) {
            int base = y * 100 + 3 * x;
            ExpectBgr(d, x, y, base, base + 1, base + 2);
        }
    }
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(BmpTest, ThirtyTwoBitDropsTheFourthByte) {
    BmpImage image{.width = 2, .height = 2, .bits = 32};
    image.rows = {{1, 2, 3, 4, 5, 6, 7, 8}, {9, 10, 11, 12, 13, 14, 15, 16}};
    Decoded d = DecodeImage(EncodeBmp(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.depth, 24);
    EXPECT_EQ(d.source_bits, 32);
    ExpectBgr(d, 0, 0, 1, 2, 3);
    ExpectBgr(d, 1, 0, 5, 6, 7);
    ExpectBgr(d, 0, 1, 9, 10, 11);
    ExpectBgr(d, 1, 1, 13, 14, 15);
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(BmpTest, FilesItCannotDrawAreRefusedByTheCheck) {
    const Bytes row16 = {0x00, 0xF8, 0xE0, 0x07};
    const struct {
        const char* what;
        BmpImage image;
    } cases[] = {
        {"2 bits", {.width = 4, .height = 2, .bits = 2, .raw = Bytes(8, 0x55)}},
        {"3 bits", {.width = 4, .height = 2, .bits = 3, .raw = Bytes(8, 0x55)}},
        {"64 bits", {.width = 1, .height = 1, .bits = 64, .raw = Bytes(8, 0x55)}},
        {"a picture of another format inside",
         {.width = 1, .height = 1, .bits = 0, .compression = 5, .raw = Bytes(8, 0)}},
        {"24 bits run-length",
         {.width = 2, .height = 1, .bits = 24, .compression = 1, .rows = {Bytes(6, 1)}}},
        {"8 bits with bit fields",
         {.width = 2,
          .height = 1,
          .bits = 8,
          .compression = 3,
          .palette = Palette(2),
          .rows = {{0, 1}}}},
        {"run-length stored top-down",
         {.width = 4,
          .height = 2,
          .bits = 8,
          .compression = 1,
          .palette = Palette(8),
          .raw = {2, 1, 0, 1},
          .top_down = true}},
        {"a mask of two runs",
         {.width = 2,
          .height = 1,
          .bits = 16,
          .compression = 3,
          .rows = {row16},
          .masks = {0xF00F, 0x07E0, 0x001F}}},
        {"a mask beyond the pixel",
         {.width = 2,
          .height = 1,
          .bits = 16,
          .compression = 3,
          .rows = {row16},
          .masks = {0x1F800, 0x07E0, 0x001F}}},
    };
    for (const auto& c : cases) {
        Bytes file = EncodeBmp(c.image);
        EXPECT_EQ(ImageDecoder_OpenMemory(file.data(), static_cast<int32_t>(file.size())), 0)
            << c.what;
    }
}

TEST_F(BmpTest, Rle4RunsAbsoluteRunsDeltasAndEndsOfLine) {
    // Bottom row: a run of 5 taking turns between colours 1 and 2, end of line. Middle row: an
    // absolute run of 3 (two bytes, no padding), one of 5 leaving the picture at x = 6 (three
    // bytes and a padding byte), end of line. Top row: a delta of (2, 0), a run of 9 leaving
    // the picture, end of bitmap.
    BmpImage image{.width = 6,
                   .height = 3,
                   .bits = 4,
                   .compression = 2,
                   .palette = Palette(16),
                   .raw = {5,    0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 5,    0x67, 0x89,
                           0xA0, 0,    0, 0, 0, 2, 2,    0,    9, 0xBC, 0,    1}};
    Decoded d = DecodeImage(EncodeBmp(image));
    ASSERT_EQ(d.result, 1);
    EXPECT_EQ(d.source_bits, 4);
    const int expected[3][6] = {{-1, -1, 11, 12, 11, 12}, {3, 4, 5, 6, 7, 8}, {1, 2, 1, 2, 1, -1}};
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 6; ++x) {
            if (expected[y][x] < 0) {
                EXPECT_EQ(d.At(x, y)[0], kUnwritten) << x << "," << y;
            } else {
                ExpectEntry(d, x, y, expected[y][x]);
            }
        }
    }
    EXPECT_TRUE(d.PaddingUntouched());
}

Bytes Pixels16(std::initializer_list<uint16_t> values) {
    Bytes row;
    for (uint16_t v : values)
        row.insert(row.end(), {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)});
    return row;
}
Bytes Pixels32(std::initializer_list<uint32_t> values) {
    Bytes row;
    for (uint32_t v : values) {
        for (int i = 0; i < 4; ++i) row.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    return row;
}

TEST_F(BmpTest, BitFieldsDecodeThroughTheirMasks) {
    // Fields narrower than 8 bits repeat their bits below themselves, so a full field is 255.
    using Bgr = std::array<uint8_t, 3>;
    const struct {
        const char* what;
        BmpImage image;
        std::vector<Bgr> expected;
    } cases[] = {
        {"5-6-5 after a 40-byte header",
         {.width = 6,
          .height = 1,
          .bits = 16,
          .compression = 3,
          .rows = {Pixels16({0xF800, 0x07E0, 0x001F, 0x8410, 0xFFFF, 0x0000})},
          .masks = {0xF800, 0x07E0, 0x001F}},
         {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {132, 130, 132}, {255, 255, 255}, {0, 0, 0}}},
        {"5-5-5 in a version 5 header",
         {.width = 4,
          .height = 1,
          .bits = 16,
          .compression = 3,
          .rows = {Pixels16({0x7C00, 0x03E0, 0x001F, 0x8000})},
          .masks = {0x7C00, 0x03E0, 0x001F},
          .info_size = 124},
         {{0, 0, 255}, {0, 255, 0}, {255, 0, 0}, {0, 0, 0}}},
        {"32 bits, bytes in another order, version 4 header",
         {.width = 1,
          .height = 1,
          .bits = 32,
          .compression = 3,
          .rows = {Pixels32({0x11223344})},
          .masks = {0x0000FF00, 0x00FF0000, 0xFF000000},
          .info_size = 108},
         {{0x11, 0x22, 0x33}}},
        {"32 bits of 10-bit fields keep their top 8 bits",
         {.width = 2,
          .height = 1,
          .bits = 32,
          .compression = 3,
          .rows = {Pixels32({0x3FF003FF, 0x20080100})},
          .masks = {0x3FF00000, 0x000FFC00, 0x000003FF}},
         {{255, 0, 255}, {0x40, 0x80, 0x80}}},
        {"masks without bit-field compression: 5-5-5 shifted, as ever",
         {.width = 2,
          .height = 1,
          .bits = 16,
          .rows = {Pixels16({0x7C00, 0xF800})},
          .masks = {0xF800, 0x07E0, 0x001F},
          .info_size = 124},
         {{0, 0, 248}, {0, 0, 240}}},
    };
    for (const auto& c : cases) {
        Decoded d = DecodeImage(EncodeBmp(c.image));
        ASSERT_EQ(d.result, 1) << c.what;
        EXPECT_EQ(d.depth, 24) << c.what;
        for (size_t x = 0; x < c.expected.size(); ++x) {
            const uint8_t* p = d.At(static_cast<int32_t>(x), 0);
            EXPECT_EQ((Bgr{p[0], p[1], p[2]}), c.expected[x]) << c.what << ", pixel " << x;
        }
        EXPECT_TRUE(d.PaddingUntouched()) << c.what;
    }
}

TEST_F(BmpTest, TopDownFilesEqualTheirBottomUpTwins) {
    BmpImage twins[] = {
        {.width = 5, .height = 3, .bits = 24, .rows = {Bytes(15, 1), Bytes(15, 2), Bytes(15, 3)}},
        {.width = 3, .height = 2, .bits = 8, .palette = Palette(8), .rows = {{0, 1, 2}, {3, 4, 5}}},
        {.width = 9, .height = 2, .bits = 1, .rows = {{0xA5, 0x80}, {0x5A, 0x00}}},
        {.width = 2,
         .height = 2,
         .bits = 16,
         .compression = 3,
         .rows = {Pixels16({0xF800, 0x07E0}), Pixels16({0x001F, 0xFFFF})},
         .masks = {0xF800, 0x07E0, 0x001F}},
    };
    // Each has distinct rows, so a picture upside down cannot pass.
    for (BmpImage& image : twins) {
        Decoded bottom_up = DecodeImage(EncodeBmp(image));
        image.top_down = true;
        Decoded top_down = DecodeImage(EncodeBmp(image));
        ASSERT_EQ(top_down.result, 1) << image.bits;
        EXPECT_EQ(top_down.height, image.height) << image.bits;
        EXPECT_EQ(top_down.buffer, bottom_up.buffer) << image.bits;
    }
}

TEST_F(BmpTest, Rle8PaintsARunAndStops) {
    BmpImage image{.width = 4,
                   .height = 2,
                   .bits = 8,
                   .compression = 1,
                   .palette = Palette(8),
                   .raw = {3, 5, 0, 0, 0, 1}};
    Decoded d = DecodeImage(EncodeBmp(image));
    ASSERT_EQ(d.result, 1);
    for (int x = 0; x < 3; ++x) ExpectEntry(d, x, 1, 5);  // bottom row
    EXPECT_EQ(d.At(3, 1)[0], kUnwritten);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(d.At(x, 0)[0], kUnwritten);
}

TEST_F(BmpTest, Rle8EndOfLineDeltaAndAbsoluteRuns) {
    // Row 0 (bottom): absolute run of 3 (odd, one padding byte), end of line. Row 1: delta
    // (1, 1) to row 2, then a run of 2 of colour 7, end of bitmap.
    BmpImage image{.width = 4,
                   .height = 3,
                   .bits = 8,
                   .compression = 1,
                   .palette = Palette(8),
                   .raw = {0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 1, 2, 7, 0, 1}};
    Decoded d = DecodeImage(EncodeBmp(image));
    ASSERT_EQ(d.result, 1);
    ExpectEntry(d, 0, 2, 1);
    ExpectEntry(d, 1, 2, 2);
    ExpectEntry(d, 2, 2, 3);
    EXPECT_EQ(d.At(3, 2)[0], kUnwritten);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(d.At(x, 1)[0], kUnwritten);
    EXPECT_EQ(d.At(0, 0)[0], kUnwritten);
    ExpectEntry(d, 1, 0, 7);
    ExpectEntry(d, 2, 0, 7);
    EXPECT_EQ(d.At(3, 0)[0], kUnwritten);
}

TEST_F(BmpTest, Rle8RunsThatLeaveThePictureAreClipped) {
    // A run of 200 on a row of 4, an absolute run past the edge, a delta far below the picture.
    BmpImage image{.width = 4,
                   .height = 2,
                   .bits = 8,
                   .compression = 1,
                   .palette = Palette(8),
                   .raw = {200, 2, 0, 0, 2, 3, 0, 5, 4, 4, 4, 4, 4, 0, 0, 2, 0, 255, 9, 1}};
    Decoded d = DecodeImage(EncodeBmp(image));
    ASSERT_EQ(d.result, 1);
    for (int x = 0; x < 4; ++x) ExpectEntry(d, x, 1, 2);
    ExpectEntry(d, 0, 0, 3);
    ExpectEntry(d, 1, 0, 3);
    ExpectEntry(d, 2, 0, 4);
    ExpectEntry(d, 3, 0, 4);
    EXPECT_TRUE(d.PaddingUntouched());
}

TEST_F(BmpTest, RunLengthStopsWhereTheDataOrThePaletteEnds) {
    // The palette has 8 entries, and the stream after it counts as more where it has 4 bytes.
    const struct {
        uint16_t bits;
        Bytes raw;
    } streams[] = {
        {8, {3, 5, 0}},          // a pair cut in half, no end of bitmap
        {8, {0, 5, 1, 2}},       // absolute run longer than the data
        {8, {0, 2, 1}},          // delta without its second byte
        {8, {2, 200, 0, 1}},     // colour 200 of a palette that ends with the data
        {8, {0, 3, 1, 200, 1}},  // absolute run naming a missing colour
        {4, {0, 5, 0x12}},       // five nibbles need three bytes
        {4, {2, 0x1F, 0, 1}},    // a run whose second colour is missing
        {4, {0, 3, 0x1F, 0}},    // an absolute run naming a missing colour
    };
    for (const auto& [bits, raw] : streams) {
        BmpImage image{.width = 4,
                       .height = 2,
                       .bits = bits,
                       .compression = bits == 8 ? 1u : 2u,
                       .palette = Palette(8),
                       .raw = raw};
        Bytes file = EncodeBmp(image);
        // Nothing follows the stream, so every byte beyond it is outside the data.
        Decoded d = DecodeImage(file);
        ASSERT_EQ(d.open, 1);
        EXPECT_EQ(d.result, 0);
        EXPECT_TRUE(d.PaddingUntouched());
    }
}

TEST_F(BmpTest, PaletteIndexBeyondThePaletteFailsTheDecode) {
    // Two palette entries, and the data ends right after the pixels: index 200 is outside.
    BmpImage image{.width = 2, .height = 1, .bits = 8, .palette = Palette(2)};
    image.rows = {{1, 200}};
    Bytes file = EncodeBmp(image);
    file.erase(file.end() - 2,
               file.end());  // drop the row padding so the palette cannot reach past it
    Decoded d = DecodeImage(file);
    ASSERT_EQ(d.open, 1);
    EXPECT_EQ(d.result, 0);
}

TEST_F(BmpTest, HeadersThatCannotBeTrustedAreRefused) {
    BmpImage image{.width = 3, .height = 2, .bits = 24, .rows = {Bytes(9, 1), Bytes(9, 2)}};
    const Bytes good = EncodeBmp(image);
    ASSERT_EQ(DecodeImage(good).result, 1);
    auto refused = [](Bytes file) {
        return ImageDecoder_OpenMemory(file.data(), static_cast<int32_t>(file.size())) == 0;
    };
    Bytes bad = good;
    bad[1] = 'A';
    EXPECT_TRUE(refused(bad)) << "type";
    bad = good;
    bad[7] = 1;
    EXPECT_TRUE(refused(bad)) << "reserved";
    EXPECT_TRUE(refused(Bytes(good.begin(), good.begin() + 29))) << "headers cut";
    for (uint32_t v : {0u, 0xFFFFFFFEu, 16385u}) {
        bad = good;
        Put32(bad, kBmpWidthField, v);
        EXPECT_TRUE(refused(bad)) << "width " << v;
    }
    // A negative height is a top-down file, refused when its size is.
    for (int32_t v : {0, 16385, -16385, INT32_MIN}) {
        bad = good;
        Put32(bad, kBmpHeightField, static_cast<uint32_t>(v));
        EXPECT_TRUE(refused(bad)) << "height " << v;
    }
    bad = good;
    Put32(bad, kBmpWidthField, 4097);
    Put32(bad, kBmpHeightField, 4097);
    EXPECT_TRUE(refused(bad)) << "more pixels than allowed";
    bad = good;
    Put32(bad, kBmpPixelOffsetField, 0xFFFFFFF0u);
    EXPECT_TRUE(refused(bad)) << "pixel offset";
    EXPECT_TRUE(refused(Bytes(good.begin(), good.end() - 4))) << "last row cut";
    // A 4-bit file whose palette would start beyond the data.
    BmpImage four{.width = 2, .height = 1, .bits = 4, .palette = Palette(16), .rows = {{0x12}}};
    bad = EncodeBmp(four);
    Put32(bad, kBmpInfoSizeField, 0x7FFFFFF0u);
    EXPECT_TRUE(refused(bad)) << "palette offset";
}

TEST_F(BmpTest, LastRowNeedsNoPadding) {
    BmpImage image{.width = 1, .height = 2, .bits = 24, .rows = {{1, 2, 3}, {4, 5, 6}}};
    Bytes file = EncodeBmp(image);
    file.pop_back();  // the top row's padding byte
    Decoded d = DecodeImage(file);
    ASSERT_EQ(d.result, 1);
    ExpectBgr(d, 0, 0, 1, 2, 3);
    ExpectBgr(d, 0, 1, 4, 5, 6);
}

TEST_F(BmpTest, BottomUpFlagIsIgnored) {
    BmpImage image{.width = 1, .height = 2, .bits = 24, .rows = {{1, 2, 3}, {4, 5, 6}}};
    Decoded d = DecodeImage(EncodeBmp(image), kImageDecodeBottomUp);
    ASSERT_EQ(d.result, 1);
    ExpectBgr(d, 0, 0, 1, 2, 3);
}

}  // namespace
