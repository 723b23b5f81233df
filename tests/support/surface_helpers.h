// What the tests of both screen backends and of their stand-ins share: image files built in
// code for making sprites, and pixels read straight from a surface's memory (the stand-ins'
// memory records have the same fields).
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "tests/support/image_builders.h"

// A 24-bit BMP whose pixel (x, y) is colour(x, y) as 0xRRGGBB.
template <typename F>
Bytes Bmp24(int32_t w, int32_t h, F colour) {
    BmpImage image;
    image.width = w;
    image.height = h;
    image.bits = 24;
    for (int32_t y = 0; y < h; ++y) {
        Bytes row;
        for (int32_t x = 0; x < w; ++x) {
            uint32_t c = colour(x, y);
            row.push_back(static_cast<uint8_t>(c));
            row.push_back(static_cast<uint8_t>(c >> 8));
            row.push_back(static_cast<uint8_t>(c >> 16));
        }
        image.rows.push_back(row);
    }
    return EncodeBmp(image);
}

// A 32-bit PNG with alpha whose pixel (x, y) is colour(x, y) as 0xAARRGGBB.
template <typename F>
Bytes Png32(uint32_t w, uint32_t h, F colour) {
    PngImage image;
    image.width = w;
    image.height = h;
    image.color_type = 6;
    for (uint32_t y = 0; y < h; ++y) {
        Bytes row;
        for (uint32_t x = 0; x < w; ++x) {
            uint32_t c = colour(static_cast<int>(x), static_cast<int>(y));
            row.push_back(static_cast<uint8_t>(c >> 16));
            row.push_back(static_cast<uint8_t>(c >> 8));
            row.push_back(static_cast<uint8_t>(c));
            row.push_back(static_cast<uint8_t>(c >> 24));
        }
        image.rows.push_back(row);
    }
    return EncodePng(image);
}

// The pixel stored at (x, y) of a surface's memory: 4 bytes, or 2 in the low half.
template <typename Memory>
uint32_t StoredPixel(const Memory& m, bool four_bytes, int x, int y) {
    const uint8_t* row = m.bits + static_cast<size_t>(y) * m.pitch;
    if (four_bytes) {
        uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        return v;
    }
    uint16_t v;
    std::memcpy(&v, row + 2 * x, 2);
    return v;
}

// Every byte of a surface's memory, the rows with their padding.
template <typename Memory>
std::vector<uint8_t> StoredBytes(const Memory& m) {
    return std::vector<uint8_t>(m.bits, m.bits + static_cast<size_t>(m.pitch) * m.height);
}
