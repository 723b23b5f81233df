// Map_Load: its results, the cell records and their order in the file, the grid's size, the
// info text, and the refusal of maps the engine cannot hold, which leaves the old map in place.
#include <cmath>
#include <string>

#include "runtime/screen/sprite.h"
#include "tests/game/map/map_fixture.h"

namespace {

class MapLoadTest : public MapEngineTest {
  protected:
    // A 3 x 2 x 2 map whose cells all differ, with one tileset of 4 tiles and two info lines.
    void LoadReferenceMap() {
        Make("tiles.png", TilesetPng(64, 64));
        TestMap map(2, 1, 1);
        for (int l = 0; l <= 1; ++l)
            for (int y = 0; y <= 1; ++y)
                for (int x = 0; x <= 2; ++x) map.At(x, y, l).tile = static_cast<int16_t>(3);
        map.tilesets = {"tiles.png"};
        map.info = "first\r\n";
        Make("ref.map", map.Bytes());
        ASSERT_GT(Map_Load("ref.map"), 0);
        ASSERT_EQ(Map_TileCount(), 4);
        ASSERT_STREQ(Map_InfoText(), "first\r");
    }
    void ExpectReferenceMapKept() {
        EXPECT_EQ(Map_LastColumn(), 2);
        EXPECT_EQ(Map_LastRow(), 1);
        EXPECT_EQ(Map_TileSize(), 32);
        EXPECT_EQ(Map_PixelWidth(), 64);
        EXPECT_EQ(Map_PixelHeight(), 32);
        EXPECT_EQ(Map_TileCount(), 4);
        EXPECT_EQ(Map_CellTile(2, 1, 1), 3);
        EXPECT_NE(Sprite_Exists(kTileQuadBase + 3), nullptr);
        EXPECT_EQ(Sprite_Exists(kTileQuadBase + 4), nullptr);
        EXPECT_EQ(Map_TilesetNameCount(), 1);
        Map_ResetTilesetNames();
        EXPECT_STREQ(Map_NextTilesetName(), "tiles.png");
    }
    // A valid 21 x 16 x 1 map file whose header, tile size and dimensions are replaced.
    std::string MapWith(const std::string& header, int tile_size, int w, int h, int l) {
        TestMap map(20, 15, 0);
        map.header = header;
        std::string bytes = map.Bytes();
        auto put16 = [&](int at, int v) {
            bytes[at] = static_cast<char>(v & 0xFF);
            bytes[at + 1] = static_cast<char>((v >> 8) & 0xFF);
        };
        put16(7, tile_size);
        put16(9, w);
        put16(11, h);
        bytes[13] = static_cast<char>(l);
        return bytes;
    }
};

TEST_F(MapLoadTest, MissingFileGivesZeroAndChangesNothing) {
    LoadReferenceMap();
    EXPECT_EQ(Map_Load("no-such.map"), 0);
    ExpectReferenceMapKept();
    EXPECT_STREQ(Map_InfoText(), "first\r");
}

TEST_F(MapLoadTest, HeaderAndVersionRefusalsLeaveTheMapButEmptyTheInfoText) {
    LoadReferenceMap();
    const struct {
        const char* header;
        int32_t result;
    } cases[] = {{"LVX[20]", -1}, {"lvd[20]", -1}, {"LV", -1},     {"LVD[X1]", -3},
                 {"LVD[21]", -2}, {"LVD[02]", -2}, {"LVD[x1]", -2}};
    for (const auto& c : cases) {
        Make("bad.map", MapWith(c.header, 32, 20, 15, 0));
        EXPECT_EQ(Map_Load("bad.map"), c.result) << c.header;
        ExpectReferenceMapKept();
        EXPECT_STREQ(Map_InfoText(), "");
    }
}

TEST_F(MapLoadTest, FourthAndSeventhHeaderCharactersAreNotChecked) {
    Make("odd.map", MapWith("LVD?20?", 32, 20, 15, 0));
    EXPECT_GT(Map_Load("odd.map"), 0);
    EXPECT_EQ(Map_LastColumn(), 20);
}

TEST_F(MapLoadTest, GridsTheEngineCannotHoldAreRefusedWithMinusFour) {
    LoadReferenceMap();
    const struct {
        int tile_size, w, h, l;
    } cases[] = {{0, 20, 15, 0},   {-32, 20, 15, 0},      {32, -1, 15, 0},
                 {32, 20, -2, 0},  {32, 20, 15, -1},      {32, -5, -5, 0},
                 {32, -2, -2, -2}, {32, 32767, 32767, 0}, {32, 4095, 4095, 1}};
    for (const auto& c : cases) {
        Make("huge.map", MapWith("LVD[20]", c.tile_size, c.w, c.h, c.l));
        EXPECT_EQ(Map_Load("huge.map"), kMapRefused)
            << c.tile_size << " " << c.w << " " << c.h << " " << c.l;
        ExpectReferenceMapKept();
    }
}

TEST_F(MapLoadTest, CellRecordsAreReadLayerThenRowThenColumnWithEveryField) {
    TestMap map(2, 1, 1);
    for (int l = 0; l <= 1; ++l)
        for (int y = 0; y <= 1; ++y)
            for (int x = 0; x <= 2; ++x) {
                TestCell& c = map.At(x, y, l);
                const int n = l * 100 + y * 10 + x;
                c.tile = static_cast<int16_t>(n);
                c.alpha = static_cast<int16_t>(200 + n % 50);
                c.attribute = static_cast<int16_t>(-n);
                c.animated = static_cast<int8_t>(n % 2 ? 1 : -3);
                c.first_frame = static_cast<int16_t>(1000 + n);
                c.last_frame = static_cast<int16_t>(-1000 - n);
                c.anim_speed = 0.25f * static_cast<float>(n);
            }
    Make("cells.map", map.Bytes());
    ASSERT_GT(Map_Load("cells.map"), 0);
    for (int l = 0; l <= 1; ++l)
        for (int y = 0; y <= 1; ++y)
            for (int x = 0; x <= 2; ++x) {
                const int n = l * 100 + y * 10 + x;
                SCOPED_TRACE(n);
                EXPECT_EQ(Map_CellTile(x, y, l), n);
                EXPECT_EQ(Map_CellAlpha(x, y, l), 200 + n % 50);
                EXPECT_EQ(Map_CellAttribute(x, y, l), -n);
                const MapCell& c = Cell(x, y, l);
                EXPECT_EQ(c.animated, n % 2 ? 1 : -3);
                EXPECT_EQ(c.first_frame, 1000 + n);
                EXPECT_EQ(c.last_frame, -1000 - n);
                EXPECT_EQ(c.anim_speed, 0.25f * static_cast<float>(n));
                EXPECT_EQ(c.anim_position, 0.0f);
            }
}

TEST_F(MapLoadTest, MapCreateMakesEmptyOpaqueCellsAndReturnsTheProductOfTheLastIndices) {
    EXPECT_EQ(Map_Create(4, 3, 2), 24);
    EXPECT_EQ(Map_PixelWidth(), 128);
    EXPECT_EQ(Map_PixelHeight(), 96);
    for (int l = 0; l <= 2; ++l)
        for (int y = 0; y <= 3; ++y)
            for (int x = 0; x <= 4; ++x) {
                const MapCell& c = Cell(x, y, l);
                EXPECT_EQ(c.tile, -1);
                EXPECT_EQ(c.alpha, 255);
                EXPECT_EQ(c.attribute, 0);
                EXPECT_EQ(c.animated, 0);
            }
}

TEST_F(MapLoadTest, LastIndicesGiveTheGridAndThePixelSize) {
    TestMap map(99, 29, 1);
    map.At(99, 29, 1).tile = 42;
    map.At(0, 0, 0).tile = 7;
    map.tilesets = {};
    std::string bytes = map.Bytes();
    EXPECT_EQ(bytes.size(), 14u + 15u * 6000u + 2u);
    Make("wide.map", bytes);
    ASSERT_GT(Map_Load("wide.map"), 0);
    EXPECT_EQ(Map_LastColumn(), 99);
    EXPECT_EQ(Map_LastRow(), 29);
    EXPECT_EQ(Map_PixelWidth(), 3168);
    EXPECT_EQ(Map_PixelHeight(), 928);
    EXPECT_EQ(Map_CellTile(99, 29, 1), 42);
    EXPECT_EQ(Map_CellTile(0, 0, 0), 7);
    EXPECT_EQ(Map_CellTile(98, 29, 1), -1);
}

TEST_F(MapLoadTest, TileSizeSetsPixelSizesAndTheViewStep) {
    Make("t16.map", MapWith("LVD[20]", 16, 20, 15, 0));
    ASSERT_GT(Map_Load("t16.map"), 0);
    EXPECT_EQ(Map_TileSize(), 16);
    EXPECT_EQ(Map_PixelWidth(), 320);
    EXPECT_EQ(Map_PixelHeight(), 240);
    EXPECT_FLOAT_EQ(Map_State().pixel_step, 1.6f);
}

TEST_F(MapLoadTest, InfoTextLinesEndInOneCarriageReturnWhateverTheFileUsed) {
    const struct {
        const char* raw;
        const char* expected;
    } cases[] = {{"Kavro Hills\r\nsecond line\r\n", "Kavro Hills\rsecond line\r"},
                 {"unix\nlines\n", "unix\rlines\r"},
                 {"old\rmac\r", "old\rmac\r"},
                 {"no end", "no end\r"},
                 {"", ""}};
    for (const auto& c : cases) {
        TestMap map(20, 15, 0);
        map.info = c.raw;
        Make("info.map", map.Bytes());
        ASSERT_GT(Map_Load("info.map"), 0);
        EXPECT_EQ(std::string(Map_InfoText()), std::string(c.expected)) << c.raw;
    }
}

TEST_F(MapLoadTest, AFileThatEndsEarlyReadsZerosAndStaysInsideTheGrid) {
    TestMap map(20, 15, 1);
    map.Fill(0, 0, 20, 15, 0, TestCell{5, 255, 1, 0, 0, 0, 0.0f});
    std::string bytes = map.Bytes();
    // Keep layer 0 and half a record of layer 1.
    bytes.resize(14 + 15 * 21 * 16 + 7);
    Make("short.map", bytes);
    ASSERT_GT(Map_Load("short.map"), 0);
    EXPECT_EQ(Map_CellTile(20, 15, 0), 5);
    EXPECT_EQ(Map_CellTile(0, 0, 1), -1);  // the half record's tile
    EXPECT_EQ(Map_CellAlpha(0, 0, 1), 255);
    EXPECT_EQ(Map_CellTile(20, 15, 1), 0);
    EXPECT_EQ(Map_CellAlpha(20, 15, 1), 0);
    EXPECT_EQ(Map_TileCount(), 0);
    EXPECT_STREQ(Map_InfoText(), "");
}

TEST_F(MapLoadTest, AHeaderAloneGivesAGridOfZeroCells) {
    Make("header.map", MapWith("LVD[20]", 32, 30, 20, 1).substr(0, 14));
    ASSERT_GT(Map_Load("header.map"), 0);
    EXPECT_EQ(Map_LastColumn(), 30);
    EXPECT_EQ(Map_CellTile(30, 20, 1), 0);
    EXPECT_EQ(Map_CellAttribute(30, 20, 1), 0);
}

TEST_F(MapLoadTest, MapInitResetsTheEngine) {
    LoadReferenceMap();
    Map_SetPosition(100.0f, 70.0f);
    Map_Init();
    EXPECT_EQ(Map_LastColumn(), 0);
    EXPECT_EQ(Map_LastRow(), 0);
    EXPECT_EQ(Map_TileSize(), 32);
    EXPECT_EQ(Map_TileCount(), 0);
    EXPECT_EQ(Map_PixelWidth(), 0);
    EXPECT_EQ(Map_FirstColumn(), 0);
    EXPECT_EQ(Map_OffsetY(), 0);
    EXPECT_EQ(Map_TilesetNameCount(), 0);
    EXPECT_EQ(Map_CellTile(0, 0, 0), 0);  // the single zeroed cell
}

}  // namespace
