// The view: Map_SetPosition's cell and offset with its rounding and truncation, the probe that
// turns a view pixel into the cell under it, and Map_DrawLayer: where tiles land, what it
// counts, opacity, and the animated cells that advance one step per draw while in view.
#include <cmath>

#include "tests/game/map/map_fixture.h"

namespace {

class MapViewTest : public MapEngineTest {
  protected:
    // A 60 x 40 x 2 map: layer 0 cell (x, y) holds tile (x + 3 * y) % 280 and attribute x + y;
    // the tileset has 280 tiles of distinct colours.
    void LoadRuler() {
        Make("GFX/ruler.png", TilesetPng(640, 448));
        TestMap map(59, 39, 1);
        for (int y = 0; y <= 39; ++y)
            for (int x = 0; x <= 59; ++x) {
                map.At(x, y, 0).tile = static_cast<int16_t>((x + 3 * y) % 280);
                map.At(x, y, 0).attribute = static_cast<int16_t>(x + y);
            }
        map.tilesets = {"GFX\\ruler.png"};
        Make("ruler.map", map.Bytes());
        ASSERT_GT(Map_Load("ruler.map"), 0);
        ASSERT_EQ(Map_TileCount(), 280);
    }
    static int32_t RulerTile(int x, int y) { return (x + 3 * y) % 280; }
};

TEST_F(MapViewTest, PositionFortyIsColumnOneShiftedEightPixels) {
    Map_SetPosition(40.0f, 0.0f);
    EXPECT_EQ(Map_FirstColumn(), 1);
    EXPECT_EQ(Map_OffsetX(), -8);
    EXPECT_EQ(Map_FirstRow(), 0);
    EXPECT_EQ(Map_OffsetY(), 0);
}

TEST_F(MapViewTest, APositionThatRoundsToTheLastOneChangesNothing) {
    Map_SetPosition(32.0f, 64.0f);
    EXPECT_EQ(Map_FirstColumn(), 1);
    EXPECT_EQ(Map_OffsetX(), 0);
    Map_SetPosition(31.6f, 63.5f);  // both round to the position in force (63.5 to even 64)
    EXPECT_EQ(Map_FirstColumn(), 1);
    EXPECT_EQ(Map_OffsetX(), 0);
    EXPECT_EQ(Map_FirstRow(), 2);
    EXPECT_EQ(Map_OffsetY(), 0);
    Map_SetPosition(31.4f, 62.5f);  // 31 and 62: applied, truncated
    EXPECT_EQ(Map_FirstColumn(), 0);
    EXPECT_EQ(Map_OffsetX(), -31);
    EXPECT_EQ(Map_FirstRow(), 1);
    EXPECT_EQ(Map_OffsetY(), -30);
}

TEST_F(MapViewTest, AFractionalPositionTruncatesTheOffset) {
    Map_SetPosition(0.0f, 100.7f);
    EXPECT_EQ(Map_FirstRow(), 3);
    EXPECT_EQ(Map_OffsetY(), -4);
    EXPECT_EQ(Map_FirstColumn(), 0);
    EXPECT_EQ(Map_OffsetX(), 0);
}

TEST_F(MapViewTest, WholePixelPositionsGiveMinusThePositionModuloTheTileSize) {
    for (int p = 1; p <= 4000; ++p) {
        Map_SetPosition(static_cast<float>(p), static_cast<float>(4001 - p));
        ASSERT_EQ(Map_FirstColumn(), p / 32) << p;
        ASSERT_EQ(Map_OffsetX(), -(p % 32)) << p;
        ASSERT_EQ(Map_FirstRow(), (4001 - p) / 32) << p;
        ASSERT_EQ(Map_OffsetY(), -((4001 - p) % 32)) << p;
    }
}

TEST_F(MapViewTest, LoadingAMapKeepsTheView) {
    Map_SetPosition(40.0f, 100.0f);
    LoadRuler();
    EXPECT_EQ(Map_FirstColumn(), 1);
    EXPECT_EQ(Map_OffsetX(), -8);
    EXPECT_EQ(Map_FirstRow(), 3);
    EXPECT_EQ(Map_OffsetY(), -4);
}

TEST_F(MapViewTest, CellAtFindsTheCellCoveringTheMapPoint) {
    LoadRuler();
    Map_SetPosition(40.0f, 0.0f);
    // (336 + 8) / 32 truncated + 1 = column 11, the cell covering map x 376.
    EXPECT_EQ(Map_CellAt(336, 256, 0), RulerTile(11, 8));
    EXPECT_EQ(Map_LastAttribute(), 19);
    for (int px = 0; px < 640; px += 7)
        for (int py = 0; py < 480; py += 13) {
            const int x = (40 + px) / 32, y = py / 32;
            ASSERT_EQ(Map_CellAt(px, py, 0), RulerTile(x, y)) << px << "," << py;
            ASSERT_EQ(Map_LastAttribute(), x + y);
        }
    // The screen origin is not subtracted.
    Map_SetScreenOrigin(100, 50);
    EXPECT_EQ(Map_CellAt(336, 256, 0), RulerTile(11, 8));
}

TEST_F(MapViewTest, CellAtOutsideTheGridReadsAnEmptyCell) {
    LoadRuler();
    Map_SetPosition(1280.0f, 800.0f);  // the bottom-right corner of the map in view
    EXPECT_EQ(Map_CellAt(639, 479, 0), RulerTile(59, 39));
    EXPECT_EQ(Map_CellAt(640, 479, 0), -1);
    EXPECT_EQ(Map_LastAttribute(), 0);
    EXPECT_EQ(Map_CellAt(0, 480, 0), -1);
    EXPECT_EQ(Map_CellAt(0, 0, 2), -1);
    EXPECT_EQ(Map_LastAttribute(), 0);
    Map_SetPosition(0.0f, 0.0f);
    EXPECT_EQ(Map_CellAt(-1, 0, 0), RulerTile(0, 0));  // -1 / 32 truncates to 0
    EXPECT_EQ(Map_CellAt(-40, 0, 0), -1);
}

TEST_F(MapViewTest, DrawLayerPutsEachVisibleCellAtItsShiftedScreenPlace) {
    LoadRuler();
    ClearScreen();
    Map_SetPosition(40.0f, 100.0f);  // column 1 shifted -8, row 3 shifted -4
    EXPECT_EQ(Draw(0), 21 * 16);
    for (int sy = 0; sy < 480; sy += 3)
        for (int sx = 0; sx < 640; sx += 5) {
            const int x = (sx + 40) / 32, y = (sy + 100) / 32;
            ASSERT_EQ(Rgb(sx, sy), TileColour(RulerTile(x, y))) << sx << "," << sy;
        }
}

TEST_F(MapViewTest, DrawLayerCountsOnlyCellsWithATileAndAddsTheScreenOrigin) {
    LoadRuler();
    EXPECT_EQ(Draw(1), 0);  // layer 1 is empty
    Map_SetCellTile(2, 1, 1, 5);
    Map_SetCellTile(3, 1, 1, 6);
    ClearScreen();
    Map_SetScreenOrigin(10, 20);
    Map_SetPosition(0.0f, 0.0f);
    EXPECT_EQ(Draw(1), 2);
    EXPECT_EQ(Rgb(10 + 64, 20 + 32), TileColour(5));
    EXPECT_EQ(Rgb(10 + 64 + 31, 20 + 63), TileColour(5));
    EXPECT_EQ(Rgb(10 + 96, 20 + 32), TileColour(6));
    EXPECT_EQ(Rgb(10 + 63, 20 + 32), 0u);
    // Asked for 2 x 1, it draws 3 x 2 cells.
    EXPECT_EQ(Draw(0, 2, 1), 6);
}

TEST_F(MapViewTest, DrawLayerStopsAtTheEdgeOfTheGrid) {
    LoadRuler();
    Map_SetPosition(1280.0f, 800.0f);
    EXPECT_EQ(Draw(0), 20 * 15);  // the extra column and row lie outside the grid
}

TEST_F(MapViewTest, OpacityBlendsTheTileOverWhatIsThere) {
    LoadRuler();
    Map_SetCellTile(0, 0, 1, 7);
    ClearScreen();
    Map_SetPosition(0.0f, 0.0f);
    Map_CellPointer(0, 0, 1)->alpha = 128;
    Draw(1);
    const uint32_t full = TileColour(7), got = Rgb(5, 5);
    for (int shift = 0; shift <= 16; shift += 8) {
        const int want = static_cast<int>(((full >> shift) & 0xFF) * 128 / 255);
        EXPECT_NEAR(static_cast<int>((got >> shift) & 0xFF), want, 1) << shift;
    }
}

TEST_F(MapViewTest, AnimatedCellsStepOnceADrawShowingTheTileBeforeTheStep) {
    LoadRuler();
    TestMap map(20, 15, 0);
    map.tilesets = {"GFX\\ruler.png"};
    map.At(3, 2, 0) = TestCell{10, 255, 0, 1, 10, 12, 0.5f};
    map.At(4, 2, 0) = TestCell{-1, 255, 0, 1, 20, 21, 1.0f};  // starts empty, then animates
    map.At(20, 15, 0) = TestCell{30, 255, 0, 1, 30, 31, 1.0f};
    Make("anim.map", map.Bytes());
    ASSERT_GT(Map_Load("anim.map"), 0);
    Map_SetPosition(0.0f, 0.0f);
    const int shown[] = {10, 10, 11, 11, 12, 12, 10, 10, 11};
    const int second[] = {-1, 21, 20, 21, 20, 21, 20, 21, 20};
    for (int i = 0; i < 9; ++i) {
        ClearScreen();
        Draw(0, 19, 14);  // the corner cell (20, 15) stays out of view
        EXPECT_EQ(Rgb(3 * 32 + 5, 2 * 32 + 5), TileColour(shown[i])) << i;
        EXPECT_EQ(Rgb(4 * 32 + 5, 2 * 32 + 5), second[i] < 0 ? 0u : TileColour(second[i])) << i;
    }
    EXPECT_EQ(Map_CellTile(3, 2, 0), 11);  // the step of the ninth draw
    EXPECT_EQ(Map_CellTile(20, 15, 0), 30);
    EXPECT_EQ(Cell(20, 15, 0).anim_position, 0.0f);
}

}  // namespace
