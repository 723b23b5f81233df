// The map loader on cut and hostile files, in one process: what a cut file leaves in the grid
// (the bytes of a cut record as far as they go, zeros above them and in every later cell),
// that the short-cut past the end of the file reads the same as reading on, a tiny file that
// declares the largest grid, and animation values no real level has.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <limits>

#include "game/map/map_engine.h"
#include "game/map/map_state.h"
#include "platform/win32/heap.h"
#include "runtime/core/program.h"
#include "tests/reliability/scratch_folder.h"
#include "tests/support/map_writer.h"

namespace {

class MapLoaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(getcwd(previous_, sizeof(previous_)), previous_);
        ASSERT_EQ(chdir(folder_.Path().c_str()), 0);
        Program_Start();
        // A fresh engine, as at the start of a program (the last test's lists are gone).
        Map_State() = MapEngineState{};
        Map_Init();
    }
    void TearDown() override {
        Runtime_Shutdown();
        HeapDestroy(Program_Globals().runtime_heap);
        Program_Globals().runtime_heap = nullptr;
        ASSERT_EQ(chdir(previous_), 0);
    }

    // A 21 x 16 x 2 map whose cells all differ, with no tilesets.
    static TestMap Numbered() {
        TestMap map(20, 15, 1);
        int16_t n = 0;
        for (int layer = 0; layer <= 1; ++layer)
            for (int y = 0; y <= 15; ++y)
                for (int x = 0; x <= 20; ++x, ++n) {
                    TestCell& c = map.At(x, y, layer);
                    c.tile = n;
                    c.alpha = static_cast<int16_t>(0x1200 + n);
                    c.attribute = static_cast<int16_t>(n % 7);
                    c.animated = static_cast<int8_t>(n % 2);
                    c.first_frame = static_cast<int16_t>(n + 1);
                    c.last_frame = static_cast<int16_t>(n + 2);
                    c.anim_speed = 0.5f;
                }
        map.tilesets = {""};
        return map;
    }

    static void ExpectCell(int x, int y, int layer, const TestCell& want) {
        const MapCell* c = Map_CellPointer(x, y, layer);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->tile, want.tile) << x << "," << y << "," << layer;
        EXPECT_EQ(c->alpha, want.alpha) << x << "," << y << "," << layer;
        EXPECT_EQ(c->attribute, want.attribute);
        EXPECT_EQ(c->animated, want.animated);
        EXPECT_EQ(c->first_frame, want.first_frame);
        EXPECT_EQ(c->last_frame, want.last_frame);
        EXPECT_EQ(c->anim_speed, want.anim_speed);
        EXPECT_EQ(c->anim_position, 0.0f);
    }

    ScratchFolder folder_;
    char previous_[4096] = {};
};

TEST_F(MapLoaderTest, WholeFileFillsEveryCell) {
    TestMap map = Numbered();
    folder_.Write("level.map", map.Bytes());
    ASSERT_GT(Map_Load("level.map"), 0);
    for (int layer = 0; layer <= 1; ++layer)
        for (int y = 0; y <= 15; ++y)
            for (int x = 0; x <= 20; ++x) ExpectCell(x, y, layer, map.At(x, y, layer));
}

// Cut 3 bytes into the record of cell (5, 2, 0): its tile is whole, its alpha has only its low
// byte, the rest of it and every later cell are zero.
TEST_F(MapLoaderTest, CutRecordKeepsItsBytesAndLaterCellsAreZero) {
    TestMap map = Numbered();
    const int cut_cell = 2 * 21 + 5;
    std::string bytes = map.Bytes().substr(0, 14 + 15 * cut_cell + 3);
    folder_.Write("cut.map", bytes);
    ASSERT_GT(Map_Load("cut.map"), 0);
    EXPECT_EQ(Map_LastColumn(), 20);
    EXPECT_EQ(Map_LastRow(), 15);
    ExpectCell(4, 2, 0, map.At(4, 2, 0));
    TestCell partial{};
    partial.tile = map.At(5, 2, 0).tile;
    partial.alpha = static_cast<int16_t>(map.At(5, 2, 0).alpha & 0xFF);
    partial.anim_speed = 0.0f;
    ExpectCell(5, 2, 0, partial);
    const TestCell zero{0, 0, 0, 0, 0, 0, 0.0f};
    ExpectCell(6, 2, 0, zero);
    ExpectCell(20, 15, 0, zero);
    ExpectCell(0, 0, 1, zero);
    ExpectCell(20, 15, 1, zero);
}

// 14 bytes declaring 2048 x 2048 cells: every cell zero, quickly.
TEST_F(MapLoaderTest, TinyFileDeclaringTheLargestGridLoadsQuickly) {
    folder_.Write("huge.map", std::string("LVD[20]\x20\x00\xFF\x07\xFF\x07\x00", 14));
    auto start = std::chrono::steady_clock::now();
    ASSERT_GT(Map_Load("huge.map"), 0);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(Map_LastColumn(), 2047);
    EXPECT_EQ(Map_LastRow(), 2047);
    const TestCell zero{0, 0, 0, 0, 0, 0, 0.0f};
    ExpectCell(0, 0, 0, zero);
    ExpectCell(2047, 2047, 0, zero);
    ExpectCell(1000, 7, 0, zero);
    // Reading on to the last cell costs tens of millions of reads of nothing.
    EXPECT_LT(seconds, 5.0);
}

// One more cell than the grid holds is refused, and the map loaded before stays.
TEST_F(MapLoaderTest, GridBeyondTheLimitIsRefusedAndTheOldMapStays) {
    TestMap map = Numbered();
    folder_.Write("level.map", map.Bytes());
    ASSERT_GT(Map_Load("level.map"), 0);
    folder_.Write("over.map", std::string("LVD[20]\x20\x00\xFF\x07\xFF\x07\x01", 14));
    EXPECT_EQ(Map_Load("over.map"), kMapRefused);
    EXPECT_EQ(Map_LastColumn(), 20);
    ExpectCell(3, 3, 1, map.At(3, 3, 1));
}

// Drawing animates cells: a speed of any size or NaN keeps the tile inside its cycle, and a
// negative one takes it below (an empty cell) without wrapping round into a tile number.
TEST_F(MapLoaderTest, AnimationOfAnySpeedStaysInItsCycle) {
    TestMap map(20, 15, 0);
    const float speeds[] = {1.0e30f, std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN(), 3.0e9f};
    for (int x = 0; x < 4; ++x) {
        TestCell& c = map.At(x, 0, 0);
        c.tile = 32000;
        c.animated = 1;
        c.first_frame = 32000;
        c.last_frame = 32767;
        c.anim_speed = speeds[x];
    }
    for (int x = 4; x < 6; ++x) {
        TestCell& c = map.At(x, 0, 0);
        c.tile = 5;
        c.animated = 1;
        c.first_frame = x == 4 ? -32768 : 32767;
        c.last_frame = 32767;
        c.anim_speed = -1.0e30f;
    }
    map.tilesets = {""};
    folder_.Write("anim.map", map.Bytes());
    ASSERT_GT(Map_Load("anim.map"), 0);
    Map_SetScreenOrigin(0, 0);
    Map_SetPosition(0.0f, 0.0f);
    for (int frame = 0; frame < 3; ++frame) Map_DrawLayer(0, 20, 15);
    for (int x = 0; x < 4; ++x) {
        int32_t tile = Map_CellTile(x, 0, 0);
        EXPECT_GE(tile, 32000) << "speed " << speeds[x];
        EXPECT_LE(tile, 32767) << "speed " << speeds[x];
    }
    EXPECT_EQ(Map_CellTile(4, 0, 0), INT32_MIN);
    EXPECT_LT(Map_CellTile(5, 0, 0), 0);
}

}  // namespace
