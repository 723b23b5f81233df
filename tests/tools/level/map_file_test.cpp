// The map file writer and reader: the exact byte layout the game's map engine reads, the
// round trip, and files that are cut short or claim impossible sizes.
#include <gtest/gtest.h>

#include <cstring>

#include "tools/level/map_file.h"

namespace {

using kavro_level::Map;
using kavro_level::MapFileError;

int16_t I16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<int16_t>(b[at] | b[at + 1] << 8);
}

Map Small() {
    Map map(32, 1, 1, 1);  // 2 x 2 x 2 cells
    kavro_level::Cell& a = map.At(1, 0, 0);
    a.tile = 7;
    a.alpha = 128;
    a.attribute = 5;
    kavro_level::Cell& b = map.At(0, 1, 1);
    b.tile = 200;
    b.animated = 1;
    b.first_frame = 200;
    b.last_frame = 205;
    b.anim_speed = 0.15f;
    map.tilesets = {"GFX\\a.png", "b.png"};
    map.info_lines = {"Line one", ""};
    return map;
}

TEST(MapFile, ByteLayout) {
    std::vector<uint8_t> f = kavro_level::WriteMapFile(Small());
    ASSERT_EQ(f.size(), 14u + 8 * 15 + 2 + 11 + 7 + 10 + 2);
    EXPECT_EQ(std::memcmp(f.data(), "LVD[20]", 7), 0);
    EXPECT_EQ(I16(f, 7), 32);
    EXPECT_EQ(I16(f, 9), 1);
    EXPECT_EQ(I16(f, 11), 1);
    EXPECT_EQ(f[13], 1);
    // Records run layer by layer, row by row, column by column.
    const size_t a = 14 + 15 * 1;
    EXPECT_EQ(I16(f, a), 7);
    EXPECT_EQ(I16(f, a + 2), 128);
    EXPECT_EQ(I16(f, a + 4), 5);
    EXPECT_EQ(f[a + 6], 0);
    const size_t b = 14 + 15 * (4 + 2);
    EXPECT_EQ(I16(f, b), 200);
    EXPECT_EQ(f[b + 6], 1);
    EXPECT_EQ(I16(f, b + 7), 200);
    EXPECT_EQ(I16(f, b + 9), 205);
    float speed;
    std::memcpy(&speed, &f[b + 11], 4);
    EXPECT_FLOAT_EQ(speed, 0.15f);
    // An untouched cell is empty and opaque.
    EXPECT_EQ(I16(f, 14), -1);
    EXPECT_EQ(I16(f, 16), 255);
    // The tileset count minus one, then the names and the info text in CR LF lines.
    const size_t names = 14 + 8 * 15;
    EXPECT_EQ(I16(f, names), 1);
    std::string rest(f.begin() + names + 2, f.end());
    EXPECT_EQ(rest, "GFX\\a.png\r\nb.png\r\nLine one\r\n\r\n");
}

TEST(MapFile, RoundTrip) {
    Map in = Small();
    Map out = kavro_level::ReadMapFile(kavro_level::WriteMapFile(in));
    EXPECT_EQ(out.last_column(), 1);
    EXPECT_EQ(out.last_row(), 1);
    EXPECT_EQ(out.last_layer(), 1);
    EXPECT_EQ(out.At(1, 0, 0).alpha, 128);
    EXPECT_EQ(out.At(0, 1, 1).last_frame, 205);
    EXPECT_FLOAT_EQ(out.At(0, 1, 1).anim_speed, 0.15f);
    EXPECT_EQ(out.tilesets, in.tilesets);
    EXPECT_EQ(out.info_lines, in.info_lines);
}

TEST(MapFile, ReaderRefusesBrokenFiles) {
    std::vector<uint8_t> good = kavro_level::WriteMapFile(Small());
    auto broken = [&](auto change) {
        std::vector<uint8_t> f = good;
        change(f);
        EXPECT_THROW(kavro_level::ReadMapFile(f), MapFileError);
    };
    broken([](auto& f) { f[0] = 'X'; });
    broken([](auto& f) { f[4] = 'X'; });                 // version X1
    broken([](auto& f) { f.resize(50); });               // cut inside the cells
    broken([](auto& f) { f.resize(14 + 8 * 15 + 2); });  // names missing
    broken([](auto& f) { f[9] = 0xFF, f[10] = 0xFF; });  // W = -1
    broken([](auto& f) { f[7] = 0, f[8] = 0; });         // tile size 0
    broken([](auto& f) { f[9] = 0xFF, f[10] = 0x7F, f[11] = 0xFF, f[12] = 0x7F, f[13] = 0x7F; });
    broken([](auto& f) { f.resize(3); });
}

TEST(MapFile, ReaderTakesAnyLineEnd) {
    std::vector<uint8_t> f = kavro_level::WriteMapFile(Small());
    const size_t names = 14 + 8 * 15 + 2;
    std::string tail = "a.png\nb.png\rinfo";
    f.resize(names);
    f.insert(f.end(), tail.begin(), tail.end());
    Map m = kavro_level::ReadMapFile(f);
    EXPECT_EQ(m.tilesets, (std::vector<std::string>{"a.png", "b.png"}));
    EXPECT_EQ(m.info_lines, (std::vector<std::string>{"info"}));
}

TEST(MapFile, CellsOutsideTheGrid) {
    Map m(32, 2, 2, 1);
    const Map& view = m;
    EXPECT_EQ(view.At(-1, 0, 0).tile, -1);
    EXPECT_EQ(view.At(3, 0, 0).tile, -1);
    EXPECT_EQ(view.At(0, 0, 2).tile, -1);
    EXPECT_THROW(m.At(0, 3, 0), std::out_of_range);
    EXPECT_THROW(Map(32, -1, 0, 0), MapFileError);
    EXPECT_THROW(Map(0, 1, 1, 0), MapFileError);
    EXPECT_THROW(Map(32, 32767, 32767, 127), MapFileError);
    Map too_many_layers(32, 0, 0, 200);
    too_many_layers.tilesets = {"a"};
    EXPECT_THROW(kavro_level::WriteMapFile(too_many_layers), MapFileError);
    Map no_tilesets(32, 0, 0, 0);
    EXPECT_THROW(kavro_level::WriteMapFile(no_tilesets), MapFileError);
}

}  // namespace
