// The player's movement as it shows on the screen: falling from the start marker and landing,
// jumping, walking into walls, both arrows at once, and the edges of the map.
#include <algorithm>

#include "tests/e2e/game_fixture.h"

namespace {

class MovementTest : public GameTest {};

TEST_P(MovementTest, TheStartMarkerDropsThePlayerOntoTheGroundBelow) {
    TestLevel level = FlatLevel();
    const GameRun run = Play(level, "40 Escape\n", "1-40");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    ASSERT_EQ(run.presents, 40);
    // The marker's row less 8 rows: view_y 128, the player's top 16 pixels above the marker's
    // cell; then a fall onto the ground below it.
    EXPECT_EQ(ViewX(run.frames.at(1)), kStartViewX);
    EXPECT_EQ(ViewY(run.frames.at(1)), 128);
    int previous = 128;
    for (int n = 2; n <= 40; ++n) {
        const int y = ViewY(run.frames.at(n));
        EXPECT_GE(y, previous) << n;
        previous = y;
    }
    EXPECT_EQ(ViewY(run.frames.at(40)), kStandingViewY);
    EXPECT_EQ(ViewX(run.frames.at(40)), kStartViewX);
    const Hud hud = run.HudOf(40);
    ASSERT_TRUE(hud.complete);
    EXPECT_EQ(hud.feet, 1);
    EXPECT_EQ(hud.tile_row, 5);  // 146 = 32 x 5 - 14
}

TEST_P(MovementTest, LandingFromAnyHeightSnapsToThirtyTwoKMinusFourteen) {
    // A platform (code 2) under a high marker, and beside it a drop to the ground.
    TestLevel level(59, 20);
    level.Ground(kGroundRow);
    for (int x = 15; x <= 22; ++x) level.Put(x, 9, level::kPlatform, kavro_content::kPlatform);
    level.Marker(20, 8);  // view_y starts at 0
    const GameRun run = Play(level, "60-90 Right\n200 Escape\n", "1,59,60,150-200");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(ViewY(run.frames.at(1)), 0);
    // On the platform in row 9: 32 x 1 - 14 = 18.
    EXPECT_EQ(ViewY(run.frames.at(59)), 18);
    EXPECT_EQ(run.HudOf(59).feet, kavro_content::kPlatform);
    EXPECT_EQ(run.HudOf(59).tile_row, 1);
    // Walked off its right end, down onto the ground in row 13.
    for (int n = 150; n <= 200; ++n) {
        EXPECT_EQ(ViewY(run.frames.at(n)), kStandingViewY) << n;
        EXPECT_EQ(run.HudOf(n).feet, kavro_content::kSolid) << n;
    }
    EXPECT_EQ(run.HudOf(200).tile_row, 5);
}

TEST_P(MovementTest, AJumpFromFlatGroundLastsTwentySixStepsAndRisesOneHundredThirtyPixels) {
    const GameRun run = Play(FlatLevel(), "40 Space\n110 Space\n120 Escape\n", "39-111");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    ASSERT_EQ(ViewY(run.frames.at(40)), kStandingViewY);  // the step comes after the drawing
    // Jump steps in frames 40..65 with speeds -10, -9.6, ... rounded to float32; the 26th
    // pushes the speed above 0 and ends the jump.
    float y = kStandingViewY, speed = -10.0f;
    int top = kStandingViewY;
    for (int step = 1; step <= 26; ++step) {
        y = y + speed;
        speed = speed + 0.4f;
        const int shown = ViewY(run.frames.at(40 + step));
        EXPECT_NEAR(shown, y, 1.0) << "after jump step " << step;
        top = std::min(top, shown);
    }
    EXPECT_NEAR(kStandingViewY - y, 130.0, 0.001);
    EXPECT_GE(kStandingViewY - top, 130);
    EXPECT_LE(kStandingViewY - top, 131);
    // Then a fall from speed 0, adding 0.4 a frame, back onto the ground in frame 91: a jump of
    // one step less or more would land a frame earlier or later.
    for (int n = 41; n <= 90; ++n) {
        EXPECT_LT(ViewY(run.frames.at(n)), kStandingViewY) << n;
        EXPECT_EQ(run.HudOf(n).feet, 0) << n;
    }
    // The fall ends a hair above 146 (float32 sums); the view shows that position truncated,
    // 145, and keeps it after the landing snaps view_y to 146, which rounds the same.
    for (int n = 91; n <= 110; ++n) {
        EXPECT_NEAR(ViewY(run.frames.at(n)), kStandingViewY, 1) << n;
        EXPECT_EQ(run.HudOf(n).feet, 1) << n;
        EXPECT_EQ(run.HudOf(n).tile_row, 5) << n;
    }
    // The second jump's first step shows that the landing left view_y at exactly 32 x 5 - 14.
    EXPECT_EQ(ViewY(run.frames.at(111)), kStandingViewY - 10);
}

TEST_P(MovementTest, SpaceDoesNotJumpWhileTheHeadProbeSeesSomething) {
    TestLevel level = FlatLevel();
    // A ladder cell where the head is: the head probe reads 5, not 0.
    level.Put(20, 12, level::kLadder, kavro_content::kLadder);
    level.Marker(20, 11);
    const GameRun run = Play(level, "60-70 Space\n90 Escape\n", "59-90");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    ASSERT_EQ(run.HudOf(59).head, kavro_content::kLadder);
    const int y = ViewY(run.frames.at(59));
    for (int n = 60; n <= 90; ++n) EXPECT_EQ(ViewY(run.frames.at(n)), y) << n;
}

TEST_P(MovementTest, WalkingIntoAWallEndsOnePixelBackFromWhereTheFrameStarted) {
    TestLevel level = FlatLevel();
    level.Column(23, 9, 12, level::kWall, kavro_content::kSolid);  // map x 736..767
    level.Column(18, 9, 12, level::kWall, kavro_content::kSolid);  // map x 576..607
    // Right: the side probe at view_x + 348 reaches x 736 at view_x 388, the 23rd step of 3
    // (frames 30..52). Left: the probe at view_x + 322 reaches x 607 at view_x 285, the 34th
    // step back (frames 100..133).
    const GameRun run = Play(level, "30-52 Right\n100-133 Left\n160-220 Right\n250 Escape\n",
                             "29-60,99-140,240-250");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(ViewX(run.frames.at(29)), kStartViewX);
    EXPECT_EQ(ViewX(run.frames.at(51)), kStartViewX + 66);
    EXPECT_EQ(ViewX(run.frames.at(52)), kStartViewX + 69);  // drawn before the wall reaction
    EXPECT_EQ(ViewX(run.frames.at(53)), kStartViewX + 65);  // one less than frame 52 began with
    EXPECT_EQ(ViewX(run.frames.at(60)), kStartViewX + 65);
    EXPECT_EQ(run.HudOf(60).feet, 1);
    EXPECT_EQ(ViewX(run.frames.at(132)), 286);
    EXPECT_EQ(ViewX(run.frames.at(133)), 283);
    EXPECT_EQ(ViewX(run.frames.at(134)), 287);  // one more than frame 133 began with
    // Held against the right wall the player never gets into it.
    const int rest = ViewX(run.frames.at(250));
    EXPECT_LT(rest + 348, 736);
    EXPECT_GE(rest + 348, 736 - 6);
}

TEST_P(MovementTest, BothArrowsKeepTheViewAndShowTheLeftFacingWalk) {
    const TestLevel level = FlatLevel();
    const GameRun both = Play(level, "30-34 Left Right\n40 Escape\n", "29-40");
    const GameRun left = Play(level, "30-39 Left\n45 Escape\n", "29-45");
    const GameRun right = Play(level, "30-39 Right\n45 Escape\n", "29-45");
    for (const GameRun* run : {&both, &left, &right}) ASSERT_EQ(run->exit_code, 0) << run->errors;
    for (int n = 30; n <= 40; ++n) EXPECT_EQ(ViewX(both.frames.at(n)), kStartViewX) << n;
    EXPECT_EQ(ViewX(left.frames.at(39)), kStartViewX - 30);
    // Five frames with both arrows step the walk ten times, as ten frames of Left do.
    EXPECT_EQ(PlayerPixels(both.frames.at(34)), PlayerPixels(left.frames.at(39)));
    EXPECT_EQ(PlayerPixels(both.frames.at(32)), PlayerPixels(left.frames.at(35)));
    EXPECT_NE(PlayerPixels(both.frames.at(34)), PlayerPixels(right.frames.at(39)));
    // Standing still keeps the last walking frame.
    EXPECT_EQ(PlayerPixels(both.frames.at(40)), PlayerPixels(both.frames.at(34)));
    EXPECT_NE(PlayerPixels(both.frames.at(29)), PlayerPixels(both.frames.at(34)));
}

TEST_P(MovementTest, AtTheEdgesOfTheMapTheViewStopsAndThePlayerWalksInPlace) {
    TestLevel level(39, 20);
    level.Ground(kGroundRow);
    level.Marker(12, kGroundRow - 1);  // view_x 64
    const GameRun run = Play(level, "30-80 Left\n100-320 Right\n340 Escape\n", "29,60,65,80,340");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(ViewX(run.frames.at(29)), 64);
    EXPECT_EQ(ViewX(run.frames.at(60)), 0);
    EXPECT_EQ(ViewX(run.frames.at(80)), 0);
    EXPECT_NE(PlayerPixels(run.frames.at(60)), PlayerPixels(run.frames.at(65)));  // walking
    // view_x_max = 32 x 39 - 640 = 608.
    EXPECT_EQ(ViewX(run.frames.at(340)), 608);
    EXPECT_EQ(ViewY(run.frames.at(340)), kStandingViewY);
}

KAVRO_ON_EVERY_DELIVERABLE(MovementTest);

}  // namespace
