// Moving objects: an active entry is animated, drawn where it stands relative to the view and
// then moved along its patrol, turning at its limits; inactive entries are left alone.
#include <cstring>

#include "runtime/screen/sprite.h"
#include "tests/game/map/map_fixture.h"

namespace {

constexpr uint32_t kUnderneath = 0x102030;

class MapObjectTest : public MapEngineTest {
  protected:
    void SetUp() override {
        MapEngineTest::SetUp();
        // A sheet of eight 32 x 32 frames, frame i in TileColour(200 + i) with a black
        // (transparent) 4 x 4 hole at its centre.
        PngImage png;
        png.width = 256;
        png.height = 64;
        for (uint32_t y = 0; y < 64; ++y) {
            Bytes row;
            for (uint32_t x = 0; x < 256; ++x) {
                const bool hole = y >= 14 && y < 18 && x % 32 >= 14 && x % 32 < 18;
                const uint32_t c = hole ? 0 : TileColour(200 + static_cast<int32_t>(x / 32));
                row.insert(row.end(), {static_cast<uint8_t>(c >> 16), static_cast<uint8_t>(c >> 8),
                                       static_cast<uint8_t>(c)});
            }
            png.rows.push_back(row);
        }
        Make("sheet.png", EncodePng(png));
        ASSERT_NE(Sprite_Load(200, "sheet.png", 0), 0);
    }
    // The creature as the game fills entry 0, shown with 32 x 32 frames.
    static MapObject* Creature(int32_t x, int32_t direction) {
        MapObject* o = Map_Object(0);
        *o = MapObject{};
        o->sprite = 200;
        o->x = x;
        o->y = 1025;
        o->active = 1;
        o->frame_width = 32;
        o->frame_height = 32;
        o->left_frame_x = 96;
        o->anim_speed = 0.2f;
        o->last_frame = 3;
        o->speed = 1;
        o->right_limit = 570;
        o->left_limit = 320;
        o->direction = direction;
        return o;
    }
    static void Clear() {
        Screen_State().device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFF000000 | kUnderneath, 0, 0);
    }
};

TEST_F(MapObjectTest, TheTableHasEntriesZeroToOneHundred) {
    EXPECT_NE(Map_Object(0), nullptr);
    EXPECT_NE(Map_Object(100), nullptr);
    EXPECT_EQ(Map_Object(101), nullptr);
    EXPECT_EQ(Map_Object(-1), nullptr);
    EXPECT_EQ(Map_UpdateObject(101), 0);
    EXPECT_EQ(Map_UpdateObject(-1), 0);
    MapObject zero{};
    EXPECT_EQ(std::memcmp(Map_Object(100), &zero, sizeof zero), 0);
}

TEST_F(MapObjectTest, AtTheRightLimitItTurnsAndStepsBackInTheSameUpdate) {
    MapObject* o = Creature(570, 1);
    EXPECT_EQ(Map_UpdateObject(0), 0);
    EXPECT_EQ(o->x, 570);
    EXPECT_EQ(o->direction, 0);
    Map_UpdateObject(0);
    EXPECT_EQ(o->x, 569);
    EXPECT_EQ(o->direction, 0);
}

TEST_F(MapObjectTest, AtTheLeftLimitItTurnsAndMovesRightFromTheNextUpdate) {
    MapObject* o = Creature(320, 0);
    Map_UpdateObject(0);
    EXPECT_EQ(o->x, 319);
    EXPECT_EQ(o->direction, 1);
    Map_UpdateObject(0);
    EXPECT_EQ(o->x, 320);
    EXPECT_EQ(o->direction, 1);
}

TEST_F(MapObjectTest, ThePatrolStaysBetweenTheLimits) {
    MapObject* o = Creature(400, 1);
    int lowest = o->x, highest = o->x, turns = 0, direction = o->direction;
    for (int i = 0; i < 2000; ++i) {
        Map_UpdateObject(0);
        lowest = std::min(lowest, o->x);
        highest = std::max(highest, o->x);
        turns += o->direction != direction;
        direction = o->direction;
    }
    EXPECT_EQ(lowest, 319);
    EXPECT_EQ(highest, 570);
    EXPECT_GE(turns, 7);  // about 252 updates a leg
}

TEST_F(MapObjectTest, InactiveEntriesAreNeitherDrawnNorMoved) {
    for (int32_t active : {0, 2, -1}) {
        MapObject* o = Creature(400, 1);
        o->active = active;
        o->screen_x = 77;
        o->y = 100;
        const MapObject before = *o;
        Clear();
        Map_UpdateObject(0);
        EXPECT_EQ(std::memcmp(o, &before, sizeof before), 0) << active;
        EXPECT_EQ(Rgb(400 + 5, 100 + 5), kUnderneath) << active;
    }
}

TEST_F(MapObjectTest, ItIsDrawnWhereItStandsInTheViewBeforeItMoves) {
    MapObject* o = Creature(400, 1);
    o->y = 200;
    Map_SetPosition(40.0f, 100.0f);  // column 1 shifted -8, row 3 shifted -4
    Map_SetScreenOrigin(50, 50);     // not added to objects
    Clear();
    Map_UpdateObject(0);
    EXPECT_EQ(o->screen_x, 400 - 32 - 8);
    EXPECT_EQ(o->screen_y, 200 - 96 - 4);
    EXPECT_EQ(o->x, 401);
    EXPECT_EQ(Rgb(360, 100), TileColour(200));
    EXPECT_EQ(Rgb(391, 131), TileColour(200));
    EXPECT_EQ(Rgb(359, 100), kUnderneath);
    EXPECT_EQ(Rgb(392, 100), kUnderneath);
    EXPECT_EQ(Rgb(360 + 15, 100 + 15), kUnderneath);  // black is transparent
}

TEST_F(MapObjectTest, FramesFollowTheAnimationAndTheDirection) {
    MapObject* o = Creature(400, 1);
    o->y = 100;
    o->anim_speed = 1.0f;
    // Each update advances first, wraps beyond the last frame, then draws.
    const int right[] = {1, 2, 3, 0, 1};
    for (int frame : right) {
        Clear();
        Map_UpdateObject(0);
        EXPECT_EQ(Rgb(o->screen_x + 2, o->screen_y + 2), TileColour(200 + frame)) << frame;
    }
    o->direction = 0;  // frames from the left-facing group at x 96
    const int left[] = {2, 3, 0};
    for (int frame : left) {
        Clear();
        Map_UpdateObject(0);
        EXPECT_EQ(Rgb(o->screen_x + 2, o->screen_y + 2), TileColour(203 + frame)) << frame;
    }
}

TEST_F(MapObjectTest, AnyOtherDirectionUsesFrameXZeroAndStandsStill) {
    MapObject* o = Creature(400, 5);
    o->y = 100;
    o->right_frame_x = 64;
    Clear();
    Map_UpdateObject(0);
    EXPECT_EQ(o->x, 400);
    EXPECT_EQ(o->direction, 5);
    EXPECT_EQ(Rgb(402, 102), TileColour(200));
}

}  // namespace
