// Tilesets: images cut into tile quads numbered across all tilesets of a map, partial tiles
// dropped, missing images looked for under the graphics path, and the painting of a tileset
// image on the back buffer and its undoing.
#include <string>

#include "runtime/screen/sprite.h"
#include "tests/game/map/map_fixture.h"

namespace {

class MapTilesetTest : public MapEngineTest {
  protected:
    // A 21 x 16 x 1 map naming `tilesets`, cell (k % 20, k / 20) holding tile k for k < tiles.
    void LoadMapShowing(const std::vector<std::string>& tilesets, int tiles) {
        TestMap map(20, 15, 0);
        for (int k = 0; k < tiles; ++k) map.At(k % 20, k / 20, 0).tile = static_cast<int16_t>(k);
        map.tilesets = tilesets;
        Make("tiles.map", map.Bytes());
        ASSERT_GT(Map_Load("tiles.map"), 0);
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        Map_ResetTilesetNames();
        for (int i = 0; i < Map_TilesetNameCount(); ++i) names.push_back(Map_NextTilesetName());
        return names;
    }
};

TEST_F(MapTilesetTest, TilesAreNumberedRowByRowAcrossTilesetsAndPartialTilesDropped) {
    Make("first.png", TilesetPng(256, 96));       // 8 x 3 tiles: 0..23
    Make("second.png", TilesetPng(100, 70, 24));  // 3 x 2 whole tiles: 24..29
    LoadMapShowing({"first.png", "second.png"}, 30);
    EXPECT_EQ(Map_TileCount(), 30);
    for (int k = 0; k < 30; ++k) EXPECT_NE(Sprite_Exists(kTileQuadBase + k), nullptr) << k;
    EXPECT_EQ(Sprite_Exists(kTileQuadBase + 30), nullptr);

    ClearScreen();
    Map_SetPosition(0.0f, 0.0f);
    EXPECT_EQ(Draw(0), 30);
    for (int k = 0; k < 30; ++k) {
        const int x0 = 32 * (k % 20), y0 = 32 * (k / 20);
        EXPECT_EQ(Rgb(x0, y0), TileColour(k)) << k;
        EXPECT_EQ(Rgb(x0 + 31, y0 + 31), TileColour(k)) << k;
        EXPECT_EQ(Rgb(x0 + 17, y0 + 9), TileColour(k)) << k;
    }
    EXPECT_EQ(Rgb(32 * 10 + 5, 32 + 5), 0u);  // cell 30 is empty
    EXPECT_EQ(Names(), (std::vector<std::string>{"first.png", "second.png"}));
}

TEST_F(MapTilesetTest, AMissingTilesetIsLookedForUnderTheGraphicsPath) {
    Make("GFX/tiles.png", TilesetPng(64, 64));
    Map_SetGraphicsPath("GFX");
    EXPECT_STREQ(Map_State().graphics_path, "GFX\\");
    LoadMapShowing({"art\\old\\tiles.png"}, 4);
    EXPECT_EQ(Map_TileCount(), 4);
    EXPECT_EQ(Names(), (std::vector<std::string>{"GFX\\tiles.png"}));
    Map_SetPosition(0.0f, 0.0f);
    Draw(0);
    EXPECT_EQ(Rgb(32 * 3 + 4, 4), TileColour(3));
}

TEST_F(MapTilesetTest, ANameThatExistsIsUsedAsWritten) {
    Make("tiles.png", TilesetPng(64, 32, 100));
    Make("GFX/tiles.png", TilesetPng(64, 64));
    Map_SetGraphicsPath("GFX\\");
    EXPECT_STREQ(Map_State().graphics_path, "GFX\\");
    LoadMapShowing({"tiles.png"}, 2);
    EXPECT_EQ(Map_TileCount(), 2);
    Map_SetPosition(0.0f, 0.0f);
    Draw(0);
    EXPECT_EQ(Rgb(4, 4), TileColour(100));
}

TEST_F(MapTilesetTest, ATilesetMissingEverywhereGivesNoTilesAndLaterNumbersShiftDown) {
    Make("GFX/b.png", TilesetPng(64, 32, 50));
    Map_SetGraphicsPath("GFX");
    LoadMapShowing({"lost.png", "b.png"}, 2);
    EXPECT_EQ(Map_TileCount(), 2);
    EXPECT_EQ(Names(), (std::vector<std::string>{"GFX\\lost.png", "GFX\\b.png"}));
    Map_SetPosition(0.0f, 0.0f);
    Draw(0);
    EXPECT_EQ(Rgb(4, 4), TileColour(50));
    EXPECT_EQ(Rgb(36, 4), TileColour(51));
}

TEST_F(MapTilesetTest, EmptyNamesAddNoTilesetAndANonImageGivesNoTiles) {
    Make("junk.png", std::string("not a picture at all"));
    Make("b.png", TilesetPng(32, 32, 9));
    LoadMapShowing({"", "junk.png", "b.png"}, 1);
    EXPECT_EQ(Map_TileCount(), 1);
    EXPECT_EQ(Names(), (std::vector<std::string>{"junk.png", "b.png"}));
    EXPECT_EQ(Map_LoadTileset(""), 0);
    EXPECT_EQ(Map_TilesetNameCount(), 2);
}

TEST_F(MapTilesetTest, LoadingAnotherMapReplacesTheTilesAndNames) {
    Make("big.png", TilesetPng(128, 64));
    Make("small.png", TilesetPng(64, 32, 70));
    LoadMapShowing({"big.png"}, 8);
    EXPECT_EQ(Map_TileCount(), 8);
    LoadMapShowing({"small.png"}, 2);
    EXPECT_EQ(Map_TileCount(), 2);
    EXPECT_EQ(Sprite_Exists(kTileQuadBase + 2), nullptr);
    EXPECT_EQ(Names(), (std::vector<std::string>{"small.png"}));
    Map_SetPosition(0.0f, 0.0f);
    Draw(0);
    EXPECT_EQ(Rgb(4, 4), TileColour(70));
}

TEST_F(MapTilesetTest, FreeTilesetsFreesEveryTileQuad) {
    Make("t.png", TilesetPng(96, 32));
    EXPECT_EQ(Map_LoadTileset("t.png"), 3);
    EXPECT_EQ(Map_LoadTileset("t.png"), 3);
    EXPECT_EQ(Map_TileCount(), 6);
    EXPECT_EQ(Map_FreeTilesets(), 0);
    EXPECT_EQ(Map_TileCount(), 0);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(Sprite_Exists(kTileQuadBase + k), nullptr) << k;
}

TEST_F(MapTilesetTest, UseTilesetImagePaintsItAndTheUndoGrabsTheScreenBack) {
    Make("t.png", TilesetPng(64, 32, 40));
    ASSERT_NE(Sprite_Load(5, "t.png", 0), 0);
    ClearScreen();
    Map_UseTilesetImage(5);
    EXPECT_EQ(Rgb(0, 0), TileColour(40));
    EXPECT_EQ(Rgb(63, 31), TileColour(41));
    EXPECT_EQ(Rgb(64, 0), 0u);
    ClearScreen();
    Map_UseTilesetImage(-1);  // the sprite now holds the cleared screen
    Map_UseTilesetImage(-1);  // nothing remembered any more
    Screen_State().device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF102030, 0, 0);
    Sprite_Display(5, 0, 0);
    EXPECT_EQ(Rgb(10, 10), 0u);
    EXPECT_EQ(Rgb(64, 0), 0x102030u);
    Map_UseTilesetImage(777);  // no such sprite: nothing painted
    EXPECT_EQ(Rgb(64, 0), 0x102030u);
}

}  // namespace
