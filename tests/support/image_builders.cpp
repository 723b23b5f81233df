// Test image encoders: BMP by hand, PNG and JPEG through the libraries.
#include "tests/support/image_builders.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <png.h>

// Last: the library defines TRUE and FALSE as macros.
#include <jpeglib.h>

namespace {
void Put16(Bytes& bytes, int offset, uint16_t value) {
    bytes[offset] = static_cast<uint8_t>(value);
    bytes[offset + 1] = static_cast<uint8_t>(value >> 8);
}
}  // namespace

void Put32(Bytes& bytes, int offset, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

Bytes EncodeBmp(const BmpImage& image) {
    Bytes pixels = image.raw;
    for (size_t n = 0; n < image.rows.size(); ++n) {
        const Bytes& row = image.rows[image.top_down ? n : image.rows.size() - 1 - n];
        pixels.insert(pixels.end(), row.begin(), row.end());
        pixels.resize(pixels.size() + ((4 - row.size() % 4) % 4), 0);
    }
    const bool masks_after = image.info_size == 40 && !image.masks.empty();
    const int header = 14 + static_cast<int>(image.info_size) + (masks_after ? 12 : 0);
    const int palette_bytes = static_cast<int>(image.palette.size()) * 4;
    Bytes file(header + palette_bytes, 0);
    for (size_t i = 0; i < image.masks.size(); ++i) {
        Put32(file, 54 + 4 * static_cast<int>(i), image.masks[i]);
    }
    file[0] = 'B';
    file[1] = 'M';
    Put32(file, 2, static_cast<uint32_t>(header + palette_bytes + pixels.size()));
    Put32(file, kBmpPixelOffsetField, static_cast<uint32_t>(header + palette_bytes));
    Put32(file, kBmpInfoSizeField, image.info_size);
    Put32(file, kBmpWidthField, static_cast<uint32_t>(image.width));
    Put32(file, kBmpHeightField,
          static_cast<uint32_t>(image.top_down ? -image.height : image.height));
    Put16(file, 26, 1);
    Put16(file, 28, image.bits);
    Put32(file, 30, image.compression);
    Put32(file, 34, static_cast<uint32_t>(pixels.size()));
    Put32(file, 46, static_cast<uint32_t>(image.palette.size()));
    for (size_t i = 0; i < image.palette.size(); ++i) {
        uint32_t rgb = image.palette[i];
        file[header + 4 * i + 0] = static_cast<uint8_t>(rgb);
        file[header + 4 * i + 1] = static_cast<uint8_t>(rgb >> 8);
        file[header + 4 * i + 2] = static_cast<uint8_t>(rgb >> 16);
    }
    file.insert(file.end(), pixels.begin(), pixels.end());
    return file;
}

namespace {
void AppendToBytes(png_structp png, png_bytep data, size_t length) {
    auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}
void NoFlush(png_structp) {}
}  // namespace

Bytes EncodePng(const PngImage& image) {
    Bytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("png encoding failed");
    }
    png_set_write_fn(png, &out, &AppendToBytes, &NoFlush);
    png_set_IHDR(png, info, image.width, image.height, image.bit_depth, image.color_type,
                 image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette;
    for (uint32_t rgb : image.palette) {
        palette.push_back({static_cast<png_byte>(rgb >> 16), static_cast<png_byte>(rgb >> 8),
                           static_cast<png_byte>(rgb)});
    }
    if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
    if (!image.transparency.empty()) {
        png_set_tRNS(png, info, image.transparency.data(),
                     static_cast<int>(image.transparency.size()), nullptr);
    }
    if (!image.key.empty()) {
        png_color_16 key{};
        key.gray = image.key[0];
        key.red = image.key[0];
        if (image.key.size() == 3) {
            key.green = image.key[1];
            key.blue = image.key[2];
        }
        png_set_tRNS(png, info, nullptr, 0, &key);
    }
    std::vector<png_bytep> rows;
    for (const Bytes& row : image.rows) rows.push_back(const_cast<png_bytep>(row.data()));
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

Bytes EncodeJpeg(const JpegImage& image) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &memory, &size);
    cinfo.image_width = image.width;
    cinfo.image_height = image.height;
    cinfo.input_components = image.cmyk ? 4 : image.components;
    cinfo.in_color_space = image.cmyk ? JCS_CMYK : image.components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, image.quality, TRUE);
    if (image.progressive) jpeg_simple_progression(&cinfo);
    cinfo.restart_interval = static_cast<unsigned int>(image.restart_interval);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t stride = static_cast<size_t>(image.width) * cinfo.input_components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(image.samples.data() + cinfo.next_scanline * stride);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes out(memory, memory + size);
    std::free(memory);
    return out;
}
