// The cell accessors and the search for cells holding a tile: row-by-row order, the leftovers of
// an earlier search, and addresses outside the grid, which read an empty cell and write nothing.
#include "content/tiles.h"
#include "tests/game/map/map_fixture.h"

namespace {

class MapCellsTest : public MapEngineTest {
  protected:
    // A 21 x 16 x 2 map; every cell of layer 0 holds a tile and attribute from its position.
    void LoadNumberedMap() {
        TestMap map(20, 15, 1);
        for (int y = 0; y <= 15; ++y)
            for (int x = 0; x <= 20; ++x) {
                map.At(x, y, 0).tile = static_cast<int16_t>(100 + y * 21 + x);
                map.At(x, y, 0).attribute = static_cast<int16_t>(y * 21 + x);
                map.At(x, y, 0).alpha = static_cast<int16_t>(x + 1);
            }
        Make("numbered.map", map.Bytes());
        ASSERT_GT(Map_Load("numbered.map"), 0);
    }
    // The whole grid, so tests can see that nothing else changed.
    std::vector<MapCell> Snapshot() {
        std::vector<MapCell> cells;
        for (int l = 0; l <= Map_State().last_layer; ++l)
            for (int y = 0; y <= Map_LastRow(); ++y)
                for (int x = 0; x <= Map_LastColumn(); ++x) cells.push_back(Cell(x, y, l));
        return cells;
    }
    static bool Same(const std::vector<MapCell>& a, const std::vector<MapCell>& b) {
        return a.size() == b.size() &&
               std::memcmp(a.data(), b.data(), a.size() * sizeof(MapCell)) == 0;
    }
};

TEST_F(MapCellsTest, FindTilesReportsMatchesRowByRow) {
    TestMap map(20, 15, 1);
    const int spots[][2] = {{7, 3}, {2, 9}, {19, 3}, {0, 15}, {3, 3}};
    for (const auto& s : spots) map.At(s[0], s[1], 0).tile = kavro_content::kStartMarkerTile;
    map.At(5, 5, 1).tile = kavro_content::kStartMarkerTile;  // another layer
    Make("find.map", map.Bytes());
    ASSERT_GT(Map_Load("find.map"), 0);
    ASSERT_EQ(Map_FindTiles(kavro_content::kStartMarkerTile, 0), 5);
    const int order[][2] = {{3, 3}, {7, 3}, {19, 3}, {2, 9}, {0, 15}};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(Map_FoundX(i), order[i][0]) << i;
        EXPECT_EQ(Map_FoundY(i), order[i][1]) << i;
    }
    EXPECT_EQ(Map_FindTiles(kavro_content::kStartMarkerTile, 1), 1);
    EXPECT_EQ(Map_FoundX(0), 5);
    EXPECT_EQ(Map_FoundY(0), 5);
}

TEST_F(MapCellsTest, FindTilesLeavesTheEntriesOfAnEarlierLongerSearch) {
    // No search yet: the found lists are 11 zeros.
    EXPECT_EQ(Map_FoundX(0), 0);
    EXPECT_EQ(Map_FoundY(10), 0);
    TestMap map(20, 15, 0);
    // 14 matches, more than the 11 entries the lists start with.
    for (int x = 0; x < 14; ++x) map.At(x, 4, 0).tile = 9;
    map.At(6, 12, 0).tile = 8;
    Make("left.map", map.Bytes());
    ASSERT_GT(Map_Load("left.map"), 0);
    ASSERT_EQ(Map_FindTiles(9, 0), 14);
    EXPECT_EQ(Map_FoundX(13), 13);
    EXPECT_EQ(Map_FoundY(13), 4);
    ASSERT_EQ(Map_FindTiles(8, 0), 1);
    EXPECT_EQ(Map_FoundX(0), 6);
    EXPECT_EQ(Map_FoundY(0), 12);
    EXPECT_EQ(Map_FoundX(1), 1);  // left from the search for 9
    EXPECT_EQ(Map_FoundX(13), 13);
    EXPECT_EQ(Map_FindTiles(77, 0), 0);
    EXPECT_EQ(Map_FoundX(0), 6);
    EXPECT_EQ(Map_FoundY(0), 12);
}

TEST_F(MapCellsTest, FindTilesOnTheInitialGridAndOnLayersOutsideIt) {
    // Map_Init's single cell is all zeros: tile 0.
    EXPECT_EQ(Map_FindTiles(0, 0), 1);
    EXPECT_EQ(Map_FindTiles(kavro_content::kStartMarkerTile, 0), 0);
    LoadNumberedMap();
    EXPECT_EQ(Map_FindTiles(100, 0), 1);
    EXPECT_EQ(Map_FindTiles(-1, 1), 21 * 16);
    EXPECT_EQ(Map_FindTiles(-1, 2), 0);
    EXPECT_EQ(Map_FindTiles(-1, -1), 0);
}

TEST_F(MapCellsTest, AccessorsAddressColumnRowAndLayer) {
    LoadNumberedMap();
    EXPECT_EQ(Map_CellTile(4, 7, 0), 100 + 7 * 21 + 4);
    EXPECT_EQ(Map_CellAttribute(4, 7, 0), 7 * 21 + 4);
    EXPECT_EQ(Map_CellAlpha(4, 7, 0), 5);
    EXPECT_EQ(Map_CellTile(4, 7, 1), -1);
    EXPECT_EQ(Map_SetCellTile(4, 7, 1, 12), 0);
    EXPECT_EQ(Map_SetCellAttribute(4, 7, 1, 4), 0);
    EXPECT_EQ(Map_SetCellAnimated(4, 7, 1, 1), 0);
    EXPECT_EQ(Map_CellTile(4, 7, 1), 12);
    EXPECT_EQ(Map_CellAttribute(4, 7, 1), 4);
    EXPECT_EQ(Cell(4, 7, 1).animated, 1);
    EXPECT_EQ(Map_CellTile(4, 7, 0), 100 + 7 * 21 + 4);  // layer 0 untouched
    EXPECT_EQ(Map_CellTile(5, 7, 1), -1);
    EXPECT_EQ(Map_CellTile(4, 8, 1), -1);
}

TEST_F(MapCellsTest, AddressesOutsideTheGridReadAnEmptyCellAndWriteNothing) {
    LoadNumberedMap();
    const std::vector<MapCell> before = Snapshot();
    // Each of these would alias a cell inside the grid if it were addressed unchecked.
    const int outside[][3] = {{21, 0, 0},      {0, 16, 0},     {-1, 5, 0},  {5, -1, 0},
                              {0, 0, 2},       {3, 3, -1},     {20, 15, 2}, {-21, 40, 0},
                              {1 << 30, 0, 0}, {0, 0, 1 << 30}};
    for (const auto& o : outside) {
        SCOPED_TRACE(testing::Message() << o[0] << "," << o[1] << "," << o[2]);
        EXPECT_EQ(Map_CellTile(o[0], o[1], o[2]), -1);
        EXPECT_EQ(Map_CellAttribute(o[0], o[1], o[2]), 0);
        EXPECT_EQ(Map_CellAlpha(o[0], o[1], o[2]), 0);
        Map_SetCellTile(o[0], o[1], o[2], 4444);
        Map_SetCellAttribute(o[0], o[1], o[2], 3);
        Map_SetCellAnimated(o[0], o[1], o[2], 1);
    }
    EXPECT_TRUE(Same(Snapshot(), before));
}

TEST_F(MapCellsTest, CellAlphaIsZeroBeyondTheLastColumnOrRow) {
    LoadNumberedMap();
    EXPECT_EQ(Map_CellAlpha(20, 15, 0), 21);
    EXPECT_EQ(Map_CellAlpha(21, 15, 0), 0);
    EXPECT_EQ(Map_CellAlpha(20, 16, 0), 0);
}

}  // namespace
