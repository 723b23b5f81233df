// BMP decoding: every supported depth, run-length data, row placement, and files whose headers
// point outside the data.
#include <gtest/gtest.h>

#include "tests/image/decoder_fixture.h"
#include "tests/image/image_builders.h"

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

TEST_F(BmpTest, UnsupportedDepthsLeaveTheBufferUntouchedAndSucceed) {
    BmpImage two{.width = 4, .height = 2, .bits = 2, .raw = Bytes(8, 0x55)};
    BmpImage rle4{.width = 4,
                  .height = 2,
                  .bits = 4,
                  .compression = 2,
                  .palette = Palette(16),
                  .raw = {4, 0x12, 0, 1}};
    for (const BmpImage& image : {two, rle4}) {
        Decoded d = DecodeImage(EncodeBmp(image));
        ASSERT_EQ(d.open, 1);
        EXPECT_EQ(d.result, 1);
        EXPECT_EQ(d.depth, 24);
        for (uint8_t b : d.buffer) ASSERT_EQ(b, kUnwritten);
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

TEST_F(BmpTest, Rle8StopsWhereTheDataOrThePaletteEnds) {
    const Bytes streams[] = {
        {3, 5, 0},          // a pair cut in half, no end of bitmap
        {0, 5, 1, 2},       // absolute run longer than the data
        {0, 2, 1},          // delta without its second byte
        {2, 200, 0, 1},     // colour 200 of a palette that ends with the data
        {0, 3, 1, 200, 1},  // absolute run naming a missing colour
    };
    for (const Bytes& raw : streams) {
        BmpImage image{.width = 4,
                       .height = 2,
                       .bits = 8,
                       .compression = 1,
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
        bad = good;
        Put32(bad, kBmpHeightField, v);
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
