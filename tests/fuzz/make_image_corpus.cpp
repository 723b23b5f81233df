// Writes the seed files of the bmp, png and jpeg fuzz corpora: one small image of each kind the
// decoders handle. Run once when the seeds change: make_image_corpus tests/fuzz/corpus
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <png.h>

#include "tests/support/image_builders.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& folder, const std::string& name, const Bytes& bytes) {
    fs::create_directories(folder);
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint32_t> Colours(int n) {
    std::vector<uint32_t> palette;
    for (int i = 0; i < n; ++i) palette.push_back(0x102030u * static_cast<uint32_t>(i + 1));
    return palette;
}

std::vector<Bytes> Rows(int count, int length, int seed) {
    std::vector<Bytes> rows;
    for (int y = 0; y < count; ++y) {
        Bytes row;
        for (int x = 0; x < length; ++x)
            row.push_back(static_cast<uint8_t>(x * 37 + y * 11 + seed));
        rows.push_back(row);
    }
    return rows;
}

void WriteBmps(const fs::path& folder) {
    BmpImage image;
    image = {.width = 10, .height = 3, .bits = 1, .palette = Colours(2), .rows = Rows(3, 2, 1)};
    Write(folder, "1bit.bmp", EncodeBmp(image));
    image = {.width = 5, .height = 3, .bits = 4, .palette = Colours(16), .rows = Rows(3, 3, 2)};
    for (Bytes& row : image.rows) row.back() &= 0xF0;
    Write(folder, "4bit_odd_width.bmp", EncodeBmp(image));
    image = {.width = 3,
             .height = 3,
             .bits = 8,
             .palette = Colours(8),
             .rows = {{0, 1, 2}, {3, 4, 5}, {6, 7, 0}}};
    Write(folder, "8bit.bmp", EncodeBmp(image));
    image = {.width = 6,
             .height = 4,
             .bits = 8,
             .compression = 1,
             .palette = Colours(8),
             .raw = {3, 5, 0, 0, 0, 3, 1, 2, 3, 0, 4, 6, 0, 0, 0, 2, 2, 1, 2, 7, 0, 1}};
    Write(folder, "rle8.bmp", EncodeBmp(image));
    image = {.width = 4,
             .height = 2,
             .bits = 4,
             .compression = 2,
             .palette = Colours(16),
             .raw = {4, 0x12, 0, 0, 4, 0x34, 0, 1}};
    Write(folder, "rle4.bmp", EncodeBmp(image));
    image = {.width = 7,
             .height = 3,
             .bits = 4,
             .compression = 2,
             .palette = Colours(16),
             .raw = {5,    0x12, 0, 0, 0, 3, 0x34, 0x50, 0, 5,    0x67, 0x89,
                     0xA0, 0,    0, 0, 0, 2, 2,    0,    9, 0xBC, 0,    1}};
    Write(folder, "rle4_absolute_delta.bmp", EncodeBmp(image));
    image = {.width = 3,
             .height = 2,
             .bits = 16,
             .rows = {{0x00, 0x7C, 0x1F, 0x00, 0xE0, 0x03}, {0xFF, 0x7F, 0, 0, 0x10, 0x42}}};
    Write(folder, "16bit.bmp", EncodeBmp(image));
    image = {.width = 3,
             .height = 2,
             .bits = 16,
             .compression = 3,
             .rows = {{0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00}, {0x10, 0x84, 0xFF, 0xFF, 0, 0}},
             .masks = {0xF800, 0x07E0, 0x001F}};
    Write(folder, "16bit_565_bitfields.bmp", EncodeBmp(image));
    image.masks = {0x7C00, 0x03E0, 0x001F};
    image.info_size = 124;
    Write(folder, "16bit_555_bitfields_v5.bmp", EncodeBmp(image));
    image = {.width = 3,
             .height = 2,
             .bits = 32,
             .compression = 3,
             .rows = Rows(2, 12, 14),
             .masks = {0x3FF00000, 0x000FFC00, 0x000003FF},
             .info_size = 108};
    Write(folder, "32bit_10bit_fields_v4.bmp", EncodeBmp(image));
    image = {.width = 5, .height = 3, .bits = 24, .rows = Rows(3, 15, 3)};
    Write(folder, "24bit_width5.bmp", EncodeBmp(image));
    image.top_down = true;
    Write(folder, "24bit_top_down.bmp", EncodeBmp(image));
    image = {.width = 3, .height = 2, .bits = 32, .rows = Rows(2, 12, 4)};
    Write(folder, "32bit.bmp", EncodeBmp(image));
    image = {.width = 4, .height = 2, .bits = 2, .raw = Bytes(8, 0x1B)};
    Write(folder, "2bit_unsupported.bmp", EncodeBmp(image));
}

void WritePngs(const fs::path& folder) {
    PngImage image;
    image = {.width = 5,
             .height = 4,
             .color_type = PNG_COLOR_TYPE_PALETTE,
             .palette = Colours(6),
             .rows = {{0, 1, 2, 3, 4}, {5, 4, 3, 2, 1}, {0, 0, 5, 5, 1}, {2, 3, 2, 3, 2}}};
    Write(folder, "palette.png", EncodePng(image));
    image.transparency = {255, 0, 128, 7};
    Write(folder, "palette_trns.png", EncodePng(image));
    image.interlaced = true;
    Write(folder, "palette_trns_interlaced.png", EncodePng(image));
    image = {.width = 7,
             .height = 3,
             .color_type = PNG_COLOR_TYPE_PALETTE,
             .bit_depth = 2,
             .palette = Colours(4),
             .rows = Rows(3, 2, 5)};
    Write(folder, "palette_2bit.png", EncodePng(image));
    image = {.width = 9,
             .height = 2,
             .color_type = PNG_COLOR_TYPE_GRAY,
             .bit_depth = 1,
             .rows = Rows(2, 2, 6)};
    Write(folder, "grey_1bit.png", EncodePng(image));
    image = {.width = 4, .height = 4, .color_type = PNG_COLOR_TYPE_GRAY, .rows = Rows(4, 4, 7)};
    Write(folder, "grey.png", EncodePng(image));
    image = {.width = 3,
             .height = 3,
             .color_type = PNG_COLOR_TYPE_GRAY,
             .bit_depth = 16,
             .rows = Rows(3, 6, 8)};
    Write(folder, "grey_16bit.png", EncodePng(image));
    image.key = {0x0405};
    Write(folder, "grey_16bit_trns.png", EncodePng(image));
    image = {.width = 4,
             .height = 4,
             .color_type = PNG_COLOR_TYPE_GRAY,
             .rows = Rows(4, 4, 7),
             .key = {44}};
    Write(folder, "grey_trns.png", EncodePng(image));
    image = {
        .width = 3, .height = 3, .color_type = PNG_COLOR_TYPE_GRAY_ALPHA, .rows = Rows(3, 6, 9)};
    Write(folder, "grey_alpha.png", EncodePng(image));
    image = {.width = 4, .height = 3, .color_type = PNG_COLOR_TYPE_RGB, .rows = Rows(3, 12, 10)};
    Write(folder, "rgb.png", EncodePng(image));
    image.key = {10, 47, 84};
    Write(folder, "rgb_trns.png", EncodePng(image));
    image = {.width = 3,
             .height = 2,
             .color_type = PNG_COLOR_TYPE_RGB,
             .bit_depth = 16,
             .rows = Rows(2, 18, 11)};
    Write(folder, "rgb_16bit.png", EncodePng(image));
    image = {
        .width = 3, .height = 3, .color_type = PNG_COLOR_TYPE_RGB_ALPHA, .rows = Rows(3, 12, 12)};
    Write(folder, "rgba.png", EncodePng(image));
    image = {.width = 11,
             .height = 9,
             .color_type = PNG_COLOR_TYPE_RGB,
             .interlaced = true,
             .rows = Rows(9, 33, 13)};
    Write(folder, "rgb_interlaced.png", EncodePng(image));
}

void WriteJpegs(const fs::path& folder) {
    JpegImage image;
    auto fill = [](JpegImage& j) {
        j.samples.clear();
        for (uint32_t i = 0; i < j.width * j.height * static_cast<uint32_t>(j.components); ++i) {
            j.samples.push_back(static_cast<uint8_t>(i * 7 + (i / 24) * 50));
        }
    };
    image = {.width = 16, .height = 16, .quality = 75};
    fill(image);
    Write(folder, "baseline.jpg", EncodeJpeg(image));
    image = {.width = 9, .height = 5, .components = 1, .quality = 75};
    fill(image);
    Write(folder, "grey.jpg", EncodeJpeg(image));
    image = {.width = 17, .height = 10, .quality = 60, .progressive = true};
    fill(image);
    Write(folder, "progressive.jpg", EncodeJpeg(image));
    image = {.width = 24, .height = 16, .quality = 50, .restart_interval = 1};
    fill(image);
    Write(folder, "restarts.jpg", EncodeJpeg(image));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_image_corpus <corpus folder>\n");
        return 1;
    }
    fs::path corpus = argv[1];
    WriteBmps(corpus / "bmp");
    WritePngs(corpus / "png");
    WriteJpegs(corpus / "jpeg");
    return 0;
}
