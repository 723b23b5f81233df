// Small encoders that make test images in memory: BMP by hand, PNG and JPEG through the
// libraries' write interfaces. Shared by the decoder tests and the fuzz corpus maker.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

using Bytes = std::vector<uint8_t>;

// A BMP file. Either `rows` (top row first, unpadded source bytes; the builder stores them
// bottom-up with padding, or top-down under a negative height) or `raw` (the pixel data exactly
// as stored, e.g. an RLE stream).
struct BmpImage {
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bits = 24;
    uint32_t compression = 0;
    std::vector<uint32_t> palette{};  // 0x00RRGGBB per entry
    std::vector<Bytes> rows{};
    Bytes raw{};
    bool top_down = false;
    // Red, green and blue masks: inside the info header when it is larger than 40 bytes (the
    // later header versions), else right after it.
    std::vector<uint32_t> masks{};
    uint32_t info_size = 40;
};
Bytes EncodeBmp(const BmpImage& image);
// Offsets of the fields tests like to damage.
constexpr int kBmpPixelOffsetField = 10;
constexpr int kBmpInfoSizeField = 14;
constexpr int kBmpWidthField = 18;
constexpr int kBmpHeightField = 22;
void Put32(Bytes& bytes, int offset, uint32_t value);

// A PNG file; `rows` hold each row's bytes as the format stores them (before filtering).
struct PngImage {
    uint32_t width = 0;
    uint32_t height = 0;
    int color_type = 2;
    int bit_depth = 8;
    bool interlaced = false;
    std::vector<uint32_t> palette{};  // 0x00RRGGBB
    Bytes transparency{};             // tRNS alpha per palette entry
    std::vector<Bytes> rows{};
    std::vector<uint16_t> key{};  // tRNS of grey (one level) or RGB (red, green, blue)
};
Bytes EncodePng(const PngImage& image);

// A JPEG file from samples (1 or 3 components per pixel, top row first).
struct JpegImage {
    uint32_t width = 0;
    uint32_t height = 0;
    int components = 3;
    int quality = 100;
    bool progressive = false;
    bool cmyk = false;         // four components, stored as CMYK
    int restart_interval = 0;  // MCUs between restart markers; 0 for none
    Bytes samples{};
};
Bytes EncodeJpeg(const JpegImage& image);

// An image decoded by the registry into a buffer whose padding is pre-filled with a marker, so
// tests can see bytes written beyond a row.
struct Decoded {
    int32_t open = 0;
    int32_t result = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;
    int32_t source_bits = 0;
    int32_t pitch = 0;
    Bytes buffer;
    // Bytes of pixel (x, y), depth / 8 of them.
    const uint8_t* At(int32_t x, int32_t y) const {
        return buffer.data() + static_cast<size_t>(y) * pitch +
               static_cast<size_t>(x) * (depth / 8);
    }
    // True when no byte past any row's width x depth / 8 was changed.
    bool PaddingUntouched() const;
};
constexpr uint8_t kUnwritten = 0xA5;
constexpr int32_t kSlack = 5;  // extra bytes per row beyond the row's pixels
Decoded DecodeImage(const Bytes& file, int32_t flags = 0);
