// The tile catalogue and the painted tilesets: numbering across the two sheets, the start
// marker at 253, slope surfaces that follow the slope profiles, autotile rims, animations.
#include <gtest/gtest.h>

#include <set>

#include "tools/art/tile_catalogue.h"
#include "tools/art/tile_painters.h"
#include "tools/art/tilesets.h"

namespace {

using kavro_art::Canvas;
using kavro_art::kClear;

Canvas Tile(const std::vector<Canvas>& sheets, int32_t number) {
    for (size_t i = 0; i < kavro_art::Tilesets().size(); ++i) {
        const kavro_art::Tileset& set = kavro_art::Tilesets()[i];
        int local = number - set.first_tile;
        if (local < 0 || local >= set.tile_count()) continue;
        int columns = set.width / 32;
        Canvas tile(32, 32);
        tile.Paste(sheets[i], (local % columns) * 32, (local / columns) * 32, 32, 32, 0, 0, false);
        return tile;
    }
    ADD_FAILURE() << "tile " << number << " is in no tileset";
    return Canvas(32, 32);
}

bool Opaque(const Canvas& t, int x, int y) {
    return !(t.Get(x, y) == kClear);
}

class Tilesets : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { sheets_ = new std::vector<Canvas>(kavro_art::PaintTilesets()); }
    static void TearDownTestSuite() { delete sheets_; }
    static std::vector<Canvas>* sheets_;
};
std::vector<Canvas>* Tilesets::sheets_ = nullptr;

TEST(TileCatalogue, SheetsFitTheScreenAndNumberContinuously) {
    int32_t next = 0;
    for (const kavro_art::Tileset& set : kavro_art::Tilesets()) {
        EXPECT_LE(set.width, 640);
        EXPECT_LE(set.height, 480);
        EXPECT_EQ(set.width % 32, 0);
        EXPECT_EQ(set.height % 32, 0);
        EXPECT_EQ(set.first_tile, next);
        next += set.tile_count();
    }
    EXPECT_EQ(kavro_art::TotalTileCount(), next);
    EXPECT_GE(next, 254);  // tile 253 is the start marker
    const kavro_art::TileFamily* start = kavro_art::FindTileFamily("start");
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->first, 253);
}

TEST(TileCatalogue, FamiliesDoNotOverlapAndAllHavePainters) {
    std::set<int32_t> used;
    for (const kavro_art::TileFamily& f : kavro_art::TileFamilies()) {
        EXPECT_NE(kavro_art::FindTilePainter(f.name), nullptr) << f.name;
        const kavro_art::Tileset& set = kavro_art::Tilesets()[f.tileset];
        EXPECT_GE(f.first, set.first_tile) << f.name;
        EXPECT_LE(f.first + f.count, set.first_tile + set.tile_count()) << f.name;
        if (f.kind == kavro_art::TileKind::kAutotile) {
            EXPECT_EQ(f.count, 16) << f.name;
        }
        if (f.kind == kavro_art::TileKind::kStamp) {
            EXPECT_EQ(f.count % f.stamp_width, 0) << f.name;
        }
        for (int i = 0; i < f.count; ++i) EXPECT_TRUE(used.insert(f.first + i).second) << f.name;
    }
    EXPECT_EQ(kavro_art::FindTileFamily("no-such-family"), nullptr);
    EXPECT_EQ(kavro_art::FindTilePainter("no-such-family"), nullptr);
}

TEST(TileCatalogue, EveryTileHasTheLookOfItsFamily) {
    using kavro_art::LookOfTile;
    using kavro_art::TileLook;
    for (const kavro_art::TileFamily& f : kavro_art::TileFamilies())
        EXPECT_EQ(LookOfTile(f.first + f.count - 1), f.look) << f.name;  // joined above
    // A cave's back wall reads as a cave only under a roof; open to the sky it is a rock.
    const int32_t cave = kavro_art::FindTileFamily("cave")->first;
    EXPECT_EQ(LookOfTile(cave + kavro_art::kJoinUp), TileLook::kBackground);
    EXPECT_EQ(LookOfTile(cave + kavro_art::kJoinDown), TileLook::kGround);
    EXPECT_EQ(LookOfTile(kavro_art::FindTileFamily("grass")->first), TileLook::kGround);
    EXPECT_EQ(LookOfTile(-1), TileLook::kNothing);
    EXPECT_EQ(LookOfTile(kavro_art::kStartMarkerTile - 1), TileLook::kNothing);  // blank
    EXPECT_EQ(kavro_art::FindTileFamily("goal-flag"), nullptr);  // the game has no goal
}

TEST_F(Tilesets, EveryTileOfEveryFamilyShowsSomething) {
    ASSERT_EQ(sheets_->size(), kavro_art::Tilesets().size());
    for (const kavro_art::TileFamily& f : kavro_art::TileFamilies())
        for (int i = 0; i < f.count; ++i) {
            Canvas t = Tile(*sheets_, f.first + i);
            bool any = false;
            for (int y = 0; y < 32 && !any; ++y)
                for (int x = 0; x < 32 && !any; ++x) any = Opaque(t, x, y);
            EXPECT_TRUE(any) << f.name << " tile " << i;
        }
}

TEST_F(Tilesets, SlopeSurfacesFollowTheSlopeProfiles) {
    // A rising slope carries the player's bottom edge rise(c) = c + 1 pixels above the cell's
    // bottom at centre column c: the ground fills y >= 31 - c, the falling slope mirrors it.
    for (const char* name : {"grass-rise", "stone-rise", "grass-fall", "stone-fall"}) {
        bool rising = std::string(name).find("rise") != std::string::npos;
        Canvas t = Tile(*sheets_, kavro_art::FindTileFamily(name)->first);
        for (int x = 0; x < 32; ++x) {
            int column = rising ? x : 31 - x;
            for (int y = 0; y < 32; ++y)
                EXPECT_EQ(Opaque(t, x, y), y >= 31 - column) << name << " at " << x << "," << y;
        }
    }
}

TEST_F(Tilesets, AutotilesAreOpenOnlyWhereTheirNeighboursAreMissing) {
    const int32_t grass = kavro_art::FindTileFamily("grass")->first;
    // Fully joined: a solid square of soil with no rim and no turf.
    Canvas inner = Tile(*sheets_, grass + 15);
    for (int i = 0; i < 32; ++i) {
        EXPECT_TRUE(Opaque(inner, i, 0));
        EXPECT_TRUE(Opaque(inner, 0, i));
        const kavro_art::Rgb ink{30, 22, 40};
        EXPECT_FALSE(inner.Get(i, 0) == ink);
    }
    // Alone: rounded corners are cut away; the middle of each side is there.
    Canvas alone = Tile(*sheets_, grass + 0);
    EXPECT_FALSE(Opaque(alone, 0, 0));
    EXPECT_FALSE(Opaque(alone, 31, 31));
    EXPECT_TRUE(Opaque(alone, 16, 0));
    EXPECT_TRUE(Opaque(alone, 0, 16));
    // The turf (green) appears only when the cell above is not joined.
    auto green = [](kavro_art::Rgb c) { return c.g > c.r + 20 && c.g > c.b + 20; };
    EXPECT_TRUE(green(Tile(*sheets_, grass + kavro_art::kJoinDown).Get(16, 3)));
    EXPECT_FALSE(
        green(Tile(*sheets_, grass + (kavro_art::kJoinUp | kavro_art::kJoinDown)).Get(16, 3)));
}

TEST_F(Tilesets, AnimationFramesDiffer) {
    for (const kavro_art::TileFamily& f : kavro_art::TileFamilies()) {
        if (f.kind != kavro_art::TileKind::kAnimation) continue;
        for (int i = 1; i < f.count; ++i)
            EXPECT_NE(Tile(*sheets_, f.first + i).pixels(),
                      Tile(*sheets_, f.first + i - 1).pixels())
                << f.name << " frame " << i;
    }
}

TEST_F(Tilesets, PaintingTwiceGivesTheSamePictures) {
    std::vector<Canvas> again = kavro_art::PaintTilesets();
    for (size_t i = 0; i < again.size(); ++i) EXPECT_EQ(again[i].pixels(), (*sheets_)[i].pixels());
}

}  // namespace
