// Test tilesets whose tiles are each one solid colour, unique per tile number, so a picture of
// the map can be read back cell by cell: the colour of a pixel names the tile drawn there.
// Shared by the map engine tests and the end-to-end tests of the game.
#pragma once
#include <cstdint>
#include <vector>

#include "tests/support/image_builders.h"

// The colour of tile k (0 <= k < 280) as 0xRRGGBB; never black, never grey.
inline uint32_t TileColour(int32_t k) {
    const uint32_t r = 30 + 11 * static_cast<uint32_t>(k % 20);
    const uint32_t g = 30 + 15 * static_cast<uint32_t>(k / 20);
    return (r << 16) | (g << 8) | 0x99;
}

// The tile whose colour this is, or -1.
inline int32_t TileOfColour(uint32_t rgb) {
    const uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF;
    if ((rgb & 0xFF) != 0x99 || r < 30 || g < 30 || (r - 30) % 11 || (g - 30) % 15) return -1;
    const uint32_t col = (r - 30) / 11, row = (g - 30) / 15;
    if (col >= 20 || row >= 14) return -1;
    return static_cast<int32_t>(row * 20 + col);
}

// A PNG of width x height pixels cut into `tile`-pixel squares, square n (row by row over the
// whole squares) painted in TileColour(first + n); partial squares at the right and bottom are
// painted white.
inline Bytes TilesetPng(uint32_t width, uint32_t height, int32_t first = 0, int32_t tile = 32) {
    PngImage png;
    png.width = width;
    png.height = height;
    const uint32_t columns = width / tile, rows = height / tile;
    for (uint32_t y = 0; y < height; ++y) {
        Bytes row;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t c = 0xFFFFFF;
            if (x / tile < columns && y / tile < rows)
                c = TileColour(first + static_cast<int32_t>((y / tile) * columns + x / tile));
            row.push_back(static_cast<uint8_t>(c >> 16));
            row.push_back(static_cast<uint8_t>(c >> 8));
            row.push_back(static_cast<uint8_t>(c));
        }
        png.rows.push_back(row);
    }
    return EncodePng(png);
}
