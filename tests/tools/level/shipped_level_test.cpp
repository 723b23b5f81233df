// The shipped level (assets/kavro_level.txt) and what the build lays out from it: it passes the
// playability rules, uses every attribute, animation and translucency, fits the background,
// and build/run holds exactly its compiled map and the painted tilesets.
#include <gtest/gtest.h>

#include <set>

#include "tools/art/tile_catalogue.h"
#include "tools/art/tilesets.h"
#include "tools/formats/image_files.h"
#include "tools/level/level_rules.h"
#include "tools/level/level_text.h"

namespace {

using kavro_level::Map;

std::string FilePart(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

class ShippedLevel : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        kavro_formats::Bytes text = kavro_formats::ReadFileBytes(KAVRO_LEVEL_SOURCE);
        map_ = new Map(kavro_level::CompileLevel(kavro_level::ParseLevelText(
            KAVRO_LEVEL_SOURCE, std::string(text.begin(), text.end()))));
    }
    static void TearDownTestSuite() { delete map_; }
    static Map* map_;
};
Map* ShippedLevel::map_ = nullptr;

TEST_F(ShippedLevel, PassesThePlayabilityRules) {
    for (const kavro_level::Finding& f : kavro_level::CheckLevelRules(*map_))
        ADD_FAILURE() << f.message << " at column " << f.x << ", row " << f.y;
}

TEST_F(ShippedLevel, SizeFitsTheGameAndTheBackground) {
    EXPECT_EQ(map_->tile_size(), 32);
    EXPECT_EQ(map_->last_layer(), 1);
    EXPECT_GE(map_->last_row(), 33);  // the creature walks on row 33
    // The 1024-pixel background scrolls at 1/8.5416 of the view: it covers the screen's width
    // while 32 W - 640 <= 8.5416 x (1024 - 640), so W <= 122.
    EXPECT_LE(map_->last_column(), 122);
    EXPECT_LE(32 * map_->last_row() - 480, 8.5416 * (768 - 480));
}

TEST_F(ShippedLevel, UsesEveryAttributeAnimationAndTranslucency) {
    std::set<int> layer0, layer1;
    int markers = 0, animated = 0, translucent = 0, bonuses = 0;
    for (int layer = 0; layer <= 1; ++layer)
        for (int y = 0; y <= map_->last_row(); ++y)
            for (int x = 0; x <= map_->last_column(); ++x) {
                const kavro_level::Cell& c = map_->At(x, y, layer);
                (layer == 0 ? layer0 : layer1).insert(c.attribute);
                markers += layer == 0 && c.tile == kavro_art::kStartMarkerTile;
                animated += c.animated == 1;
                translucent += c.tile >= 0 && c.alpha < 255;
                bonuses += layer == 1 && c.attribute == kavro_level::kBonus;
                EXPECT_LT(c.tile, kavro_art::TotalTileCount());
            }
    for (int code : {1, 2, 3, 5, 6, 7}) EXPECT_TRUE(layer0.count(code)) << "attribute " << code;
    EXPECT_TRUE(layer1.count(4));
    EXPECT_EQ(markers, 1);
    EXPECT_GT(animated, 0);
    EXPECT_GT(translucent, 0);
    EXPECT_GE(bonuses, 40);
}

TEST_F(ShippedLevel, StartsOnFlatSolidGroundWithRoomToJump) {
    int sx = -1, sy = -1;
    for (int y = 0; y <= map_->last_row(); ++y)
        for (int x = 0; x <= map_->last_column(); ++x)
            if (map_->At(x, y, 0).tile == kavro_art::kStartMarkerTile) sx = x, sy = y;
    ASSERT_GE(sx, 10);
    for (int x = sx - 1; x <= sx + 1; ++x) {
        EXPECT_EQ(map_->At(x, sy + 1, 0).attribute, kavro_level::kSolid);
        for (int y = sy - 5; y <= sy; ++y) EXPECT_EQ(map_->At(x, y, 0).attribute, 0);
    }
}

TEST_F(ShippedLevel, RunDirectoryHoldsTheCompiledMapAndTilesets) {
    const std::string run = KAVRO_RUN_DIR_PATH;
    kavro_formats::Bytes built = kavro_formats::ReadFileBytes(run + "/Kavro.Map");
    EXPECT_EQ(built, kavro_level::WriteMapFile(*map_)) << "build/run/Kavro.Map is out of date";
    std::vector<kavro_art::Canvas> painted = kavro_art::PaintTilesets();
    ASSERT_EQ(map_->tilesets.size(), painted.size());
    for (size_t i = 0; i < painted.size(); ++i) {
        kavro_art::Canvas sheet = kavro_formats::DecodePng(
            kavro_formats::ReadFileBytes(run + "/GFX/" + FilePart(map_->tilesets[i])));
        EXPECT_EQ(sheet.pixels(), painted[i].pixels()) << map_->tilesets[i];
    }
}

}  // namespace
