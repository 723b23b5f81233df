// The playability rules, each on a small map that satisfies all the others.
#include <gtest/gtest.h>

#include "content/tiles.h"
#include "tools/art/tile_catalogue.h"
#include "tools/level/level_rules.h"

namespace {

using kavro_level::Map;

// Sets a cell's attribute and a tile that looks like what it does.
void Put(Map& m, int x, int y, int layer, int16_t attribute) {
    static const char* const kLooks[] = {nullptr, "stone",  "plank",      "spikes",
                                         "coin",  "ladder", "grass-rise", "grass-fall"};
    kavro_level::Cell& cell = m.At(x, y, layer);
    cell.attribute = attribute;
    cell.tile = kLooks[attribute] ? kavro_art::FindTileFamily(kLooks[attribute])->first : -1;
}

// 40 x 41 cells: solid from row 33 (the lowest floor, H - 7) down, the start marker on it, a
// rising slope, a falling slope on its platform, a ladder and a bonus.
Map Base() {
    Map m(32, 39, 40, 1);
    for (int y = 33; y <= 40; ++y)
        for (int x = 0; x <= 39; ++x) Put(m, x, y, 0, kavro_level::kSolid);
    m.At(12, 32, 0).tile = kavro_content::kStartMarkerTile;
    Put(m, 22, 32, 0, kavro_level::kRisingSlope);
    Put(m, 23, 32, 0, kavro_level::kSolid);
    for (int y = 29; y <= 32; ++y) Put(m, 28, y, 0, kavro_level::kLadder);
    Put(m, 15, 31, 1, kavro_level::kBonus);
    return m;
}

int Count(const Map& m, const std::string& words) {
    int n = 0;
    for (const kavro_level::Finding& f : kavro_level::CheckLevelRules(m))
        n += f.message.find(words) != std::string::npos;
    return n;
}

TEST(LevelRules, BaseMapPasses) {
    for (const kavro_level::Finding& f : kavro_level::CheckLevelRules(Base()))
        ADD_FAILURE() << f.message << " at " << f.x << "," << f.y;
}

TEST(LevelRules, EveryReachableColumnNeedsTheLowestFloor) {
    Map m = Base();
    m.At(25, 33, 0).attribute = kavro_level::kLadder;
    EXPECT_EQ(Count(m, "lowest the player can stand on"), 1);
    m.At(25, 33, 0).attribute = kavro_level::kDeadly;  // a lava floor is fine
    EXPECT_EQ(Count(m, "lowest the player can stand on"), 0);
    m.At(5, 33, 0).attribute = kavro_level::kEmpty;  // scenery column: not reached
    EXPECT_EQ(Count(m, "lowest the player can stand on"), 0);
}

TEST(LevelRules, StartMarkerStandsOnSolidGround) {
    Map m = Base();
    m.At(12, 33, 0).attribute = kavro_level::kPlatform;
    EXPECT_EQ(Count(m, "solid ground right below"), 1);
    m = Base();
    m.At(12, 32, 0).tile = -1;
    m.At(5, 32, 0).tile = kavro_content::kStartMarkerTile;
    EXPECT_EQ(Count(m, "columns 10 to W - 10"), 1);
}

TEST(LevelRules, CreatureFloorAndPath) {
    Map m = Base();
    m.At(18, 33, 0).attribute = kavro_level::kPlatform;
    EXPECT_EQ(Count(m, "creature's floor"), 1);
    m = Base();
    m.At(9, 32, 0).attribute = kavro_level::kSolid;
    EXPECT_EQ(Count(m, "keep it open"), 1);
    Map shallow(32, 39, 30, 1);
    EXPECT_EQ(Count(shallow, "at least 34 rows"), 1);
}

TEST(LevelRules, SlopesStandAloneOnSolidGround) {
    Map m = Base();
    m.At(22, 33, 0).attribute = kavro_level::kPlatform;
    EXPECT_EQ(Count(m, "solid ground below"), 1);
    m = Base();
    m.At(21, 32, 0).attribute = kavro_level::kFallingSlope;
    EXPECT_EQ(Count(m, "keep them apart"), 2);
    m = Base();
    m.At(23, 32, 0).attribute = kavro_level::kEmpty;
    EXPECT_EQ(Count(m, "leads up to ground"), 1);
}

TEST(LevelRules, FallingSlopeNeedsAPlatformAboveAndAnEvenFloor) {
    Map m = Base();
    m.At(26, 32, 0).attribute = kavro_level::kFallingSlope;
    m.At(25, 32, 0).attribute = kavro_level::kPlatform;
    // Its foot is floor row 33: odd, so the landing there rounds the wrong way on a tie.
    EXPECT_EQ(Count(m, "odd floor row"), 1);
    EXPECT_EQ(Count(m, "must be a platform"), 0);
    m.At(25, 32, 0).attribute = kavro_level::kSolid;
    EXPECT_EQ(Count(m, "must be a platform"), 1);
}

TEST(LevelRules, RisingSlopeNeedsAnOddFloor) {
    Map m(32, 39, 41, 1);  // floors one row lower: 34
    for (int y = 34; y <= 41; ++y)
        for (int x = 0; x <= 39; ++x) m.At(x, y, 0).attribute = kavro_level::kSolid;
    for (int x = 9; x <= 18; ++x) m.At(x, 33, 0).attribute = kavro_level::kSolid;
    m.At(22, 33, 0).attribute = kavro_level::kRisingSlope;
    m.At(23, 33, 0).attribute = kavro_level::kSolid;
    EXPECT_EQ(Count(m, "even floor row"), 1);
}

TEST(LevelRules, LaddersCanBeLeftAtTheTopAndStandOnGround) {
    Map m = Base();
    m.At(28, 28, 0).attribute = kavro_level::kSolid;
    EXPECT_EQ(Count(m, "climb off it"), 1);
    m = Base();
    for (int y = 20; y <= 25; ++y) m.At(26, y, 0).attribute = kavro_level::kLadder;
    EXPECT_EQ(Count(m, "stand on solid ground or a platform"), 1);
}

TEST(LevelRules, BonusesWhereTheBodyReaches) {
    Map m = Base();
    m.At(15, 31, 0).attribute = kavro_level::kSolid;
    EXPECT_EQ(Count(m, "cannot be taken"), 1);
    m = Base();
    m.At(5, 31, 1).attribute = kavro_level::kBonus;
    EXPECT_EQ(Count(m, "outside the area"), 1);
}

TEST(LevelRules, LongDropsAreFound) {
    Map m = Base();
    m.At(20, 25, 0).attribute = kavro_level::kPlatform;  // 8 rows above the floor: fine
    EXPECT_EQ(Count(m, "too fast"), 0);
    m.At(20, 25, 0).attribute = kavro_level::kEmpty;
    m.At(20, 24, 0).attribute = kavro_level::kPlatform;  // 9 rows: a jump from it lands too fast
    EXPECT_GT(Count(m, "too fast"), 0);
}

}  // namespace
