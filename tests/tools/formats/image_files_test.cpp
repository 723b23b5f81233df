// The picture file encoders: BMP layout and sizes, PNG and JPEG round trips, the JPEG's JFIF
// and EXIF segments, and the refusal of broken input.
#include <gtest/gtest.h>

#include <cstring>

#include "tools/formats/image_files.h"

namespace {

using kavro_art::Canvas;
using kavro_art::Rgb;
using kavro_formats::Bytes;

uint32_t Le32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

Canvas Pattern(int w, int h) {
    Canvas c(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            c.Set(x, y,
                  {static_cast<uint8_t>(x * 37 + y), static_cast<uint8_t>(y * 11),
                   static_cast<uint8_t>(x ^ y)});
    return c;
}

// Offsets of the JPEG markers in file order, stopping at the start of scan.
std::vector<std::pair<int, size_t>> JpegMarkers(const Bytes& f) {
    std::vector<std::pair<int, size_t>> markers;
    size_t at = 2;
    while (at + 4 <= f.size() && f[at] == 0xFF) {
        int m = f[at + 1];
        markers.push_back({m, at});
        if (m == 0xDA) break;
        at += 2 + (f[at + 2] << 8 | f[at + 3]);
    }
    return markers;
}

TEST(BmpFile, HeaderSizesAndBottomUpRows) {
    Canvas c(5, 3);
    c.Set(0, 0, {1, 2, 3});  // top-left
    c.Set(0, 2, {7, 8, 9});  // bottom-left
    Bytes b = kavro_formats::EncodeBmp24(c, 2);
    // Rows of 5 pixels take 15 bytes, padded to 16.
    ASSERT_EQ(b.size(), 54u + 16 * 3 + 2);
    EXPECT_EQ(b[0], 'B');
    EXPECT_EQ(b[1], 'M');
    EXPECT_EQ(Le32(b, 2), b.size());
    EXPECT_EQ(Le32(b, 10), 54u);
    EXPECT_EQ(Le32(b, 18), 5u);
    EXPECT_EQ(Le32(b, 22), 3u);  // positive height: bottom-up
    EXPECT_EQ(b[28], 24);
    EXPECT_EQ(Le32(b, 30), 0u);
    // The first stored row is the bottom one, blue first.
    EXPECT_EQ(b[54], 9);
    EXPECT_EQ(b[55], 8);
    EXPECT_EQ(b[56], 7);
    EXPECT_EQ(b[54 + 32], 3);
    EXPECT_EQ(b[54 + 15], 0);  // padding byte
}

TEST(BmpFile, RoundTripAndRefusals) {
    Canvas c = Pattern(7, 4);
    Bytes b = kavro_formats::EncodeBmp24(c, 0);
    EXPECT_EQ(kavro_formats::DecodeBmp24(b).pixels(), c.pixels());
    Bytes cut(b.begin(), b.end() - 3);
    EXPECT_THROW(kavro_formats::DecodeBmp24(cut), std::runtime_error);
    Bytes top_down = b;
    top_down[22] = 0xFC, top_down[23] = 0xFF, top_down[24] = 0xFF, top_down[25] = 0xFF;  // -4
    EXPECT_THROW(kavro_formats::DecodeBmp24(top_down), std::runtime_error);
    Bytes eight_bit = b;
    eight_bit[28] = 8;
    EXPECT_THROW(kavro_formats::DecodeBmp24(eight_bit), std::runtime_error);
    EXPECT_THROW(kavro_formats::DecodeBmp24(Bytes{'B', 'M'}), std::runtime_error);
}

TEST(PngFile, RoundTripIsExactAndBrokenFilesThrow) {
    Canvas c = Pattern(33, 17);
    Bytes png = kavro_formats::EncodePng(c);
    EXPECT_EQ(kavro_formats::DecodePng(png).pixels(), c.pixels());
    Bytes broken(png.begin(), png.begin() + png.size() / 2);
    EXPECT_THROW(kavro_formats::DecodePng(broken), std::runtime_error);
    EXPECT_THROW(kavro_formats::DecodePng(Bytes{1, 2, 3}), std::runtime_error);
}

TEST(JpegFile, BaselineJfifWithExifAfterIt) {
    Canvas c(64, 48);
    c.VerticalGradient(0, 0, 64, 48, {40, 90, 200}, {240, 220, 180});
    Bytes exif = kavro_formats::MakeExifBlock(64, 48, "test", "2024:01:02 03:04:05");
    Bytes jpeg = kavro_formats::EncodeJpeg(c, 90, exif);
    ASSERT_GT(jpeg.size(), 4u);
    EXPECT_EQ(jpeg[0], 0xFF);
    EXPECT_EQ(jpeg[1], 0xD8);
    auto markers = JpegMarkers(jpeg);
    ASSERT_GE(markers.size(), 3u);
    EXPECT_EQ(markers[0].first, 0xE0);  // JFIF first
    EXPECT_EQ(std::memcmp(&jpeg[markers[0].second + 4], "JFIF\0", 5), 0);
    EXPECT_EQ(markers[1].first, 0xE1);  // then EXIF
    EXPECT_EQ(std::memcmp(&jpeg[markers[1].second + 4], "Exif\0\0", 6), 0);
    bool baseline = false, progressive = false;
    for (auto [m, at] : markers) {
        baseline |= m == 0xC0;
        progressive |= m == 0xC2;
    }
    EXPECT_TRUE(baseline);
    EXPECT_FALSE(progressive);
    Canvas back = kavro_formats::DecodeJpeg(jpeg);
    EXPECT_EQ(back.width(), 64);
    EXPECT_EQ(back.height(), 48);
    Rgb mid = back.Get(32, 24);
    EXPECT_NEAR(mid.r, c.Get(32, 24).r, 8);
    EXPECT_NEAR(mid.b, c.Get(32, 24).b, 8);
}

TEST(JpegFile, TruncatedFileThrowsInsteadOfExiting) {
    Canvas c(32, 32);
    Bytes jpeg = kavro_formats::EncodeJpeg(
        c, 80, kavro_formats::MakeExifBlock(32, 32, "t", "2024:01:02 03:04:05"));
    EXPECT_THROW(kavro_formats::DecodeJpeg(Bytes(jpeg.begin(), jpeg.begin() + 40)),
                 std::runtime_error);
    EXPECT_THROW(kavro_formats::DecodeJpeg(Bytes{0xFF, 0xD8, 0xFF}), std::runtime_error);
}

TEST(ExifBlock, TiffStructurePointsInsideTheBlock) {
    Bytes e = kavro_formats::MakeExifBlock(1024, 768, "Kavro paint", "2024:06:01 12:00:00");
    ASSERT_GT(e.size(), 14u);
    EXPECT_EQ(std::memcmp(e.data(), "Exif\0\0II*\0", 10), 0);
    const Bytes tiff(e.begin() + 6, e.end());
    uint32_t ifd0 = Le32(tiff, 4);
    ASSERT_LT(ifd0 + 2, tiff.size());
    int entries = tiff[ifd0] | tiff[ifd0 + 1] << 8;
    uint32_t exif_ifd = 0;
    for (int i = 0; i < entries; ++i) {
        size_t at = ifd0 + 2 + 12 * i;
        int tag = tiff[at] | tiff[at + 1] << 8;
        if (tag == 0x8769) exif_ifd = Le32(tiff, at + 8);
        // Out-of-line values must lie inside the block.
        uint32_t count = Le32(tiff, at + 4);
        int type = tiff[at + 2] | tiff[at + 3] << 8;
        int unit = type == 3 ? 2 : type == 4 ? 4 : type == 5 ? 8 : 1;
        if (count * unit > 4) {
            EXPECT_LE(Le32(tiff, at + 8) + count * unit, tiff.size());
        }
    }
    ASSERT_GT(exif_ifd, 0u);
    ASSERT_LT(exif_ifd + 2, tiff.size());
    int exif_entries = tiff[exif_ifd] | tiff[exif_ifd + 1] << 8;
    bool width = false;
    for (int i = 0; i < exif_entries; ++i) {
        size_t at = exif_ifd + 2 + 12 * i;
        if ((tiff[at] | tiff[at + 1] << 8) == 0xA002) width = Le32(tiff, at + 8) == 1024;
    }
    EXPECT_TRUE(width);
    EXPECT_THROW(kavro_formats::MakeExifBlock(1, 1, "x", "today"), std::invalid_argument);
}

}  // namespace
