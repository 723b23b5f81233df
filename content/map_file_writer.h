// Writing the level map file the game's map engine reads: a 7-character header ("LVD[20]"),
// the tile size and the last column, row and layer index, one 15-byte record per cell, the
// tileset count minus one, the tileset names in CR LF lines, and the info text. Little-endian,
// no padding.
#pragma once
#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

namespace kavro_content {

inline constexpr std::string_view kMapFileHeader = "LVD[20]";
inline constexpr int kMapCellRecordBytes = 15;

// One cell record; a default cell is empty and opaque.
struct MapCellRecord {
    int16_t tile = -1;
    int16_t alpha = 255;
    int16_t attribute = 0;
    int8_t animated = 0;
    int16_t first_frame = 0;
    int16_t last_frame = 0;
    float anim_speed = 0.0f;
};

struct MapFileShape {
    int tile_size = 32;
    int last_column = 0, last_row = 0, last_layer = 0;
};

// The place of cell (x, y, layer) in the file's order: layer by layer, row by row, column by
// column.
inline size_t MapCellIndex(const MapFileShape& shape, int x, int y, int layer) {
    return (static_cast<size_t>(layer) * (shape.last_row + 1) + y) * (shape.last_column + 1) + x;
}

// Appends the file to `out` (a std::string or a std::vector<uint8_t>). `cells` holds every cell
// at its MapCellIndex. The header is written as given, up to 7 characters, so that tests can
// write other versions; numbers that do not fit their field keep their low bytes; `tail` is
// written as it is after the names.
template <class Bytes>
void WriteMapFile(Bytes& out, const MapFileShape& shape, std::span<const MapCellRecord> cells,
                  std::span<const std::string> tilesets, std::string_view tail,
                  std::string_view header = kMapFileHeader) {
    auto put8 = [&](int v) { out.push_back(static_cast<typename Bytes::value_type>(v & 0xFF)); };
    auto put16 = [&](int v) {
        put8(v);
        put8(v >> 8);
    };
    auto put_text = [&](std::string_view text) {
        for (char c : text) put8(static_cast<unsigned char>(c));
    };
    put_text(header.substr(0, 7));
    put16(shape.tile_size);
    put16(shape.last_column);
    put16(shape.last_row);
    put8(shape.last_layer);
    for (const MapCellRecord& c : cells) {
        put16(c.tile);
        put16(c.alpha);
        put16(c.attribute);
        put8(c.animated);
        put16(c.first_frame);
        put16(c.last_frame);
        uint32_t bits;
        std::memcpy(&bits, &c.anim_speed, 4);
        for (int i = 0; i < 4; ++i) put8(static_cast<int>(bits >> (8 * i)));
    }
    put16(static_cast<int>(tilesets.size()) - 1);
    for (const std::string& name : tilesets) {
        put_text(name);
        put_text("\r\n");
    }
    put_text(tail);
}

}  // namespace kavro_content
