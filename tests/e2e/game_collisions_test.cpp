// What the map's cells do to the player, as seen on the screen and in the display lines:
// bonuses, deadly cells and the level restart, ladders, ceilings, platforms and slopes.
#include <algorithm>
#include <cmath>

#include "tests/e2e/game_fixture.h"

namespace {

class CollisionTest : public GameTest {};

// The surface height under the player's centre, by the pixel column of its left edge.
int SlopeRise(int column) {
    return column >= 16 ? column - 15 : column + 17;
}
int SlopeFall(int column) {
    return 32 - SlopeRise(column);
}

TEST_P(CollisionTest, ABonusAddsExactlyOneHundredOnce) {
    TestLevel level = FlatLevel();
    level.Coin(23, kGroundRow - 1);  // the body probe reaches map x 736 at view_x 400
    level.Coin(26, kGroundRow - 1);  // and map x 832 at view_x 496
    const GameRun run =
        Play(level, "30-90 Right\n100-160 Left\n170-230 Right\n240 Escape\n", "29,56,57,88,89,240");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    ASSERT_EQ(run.presents, 240);
    EXPECT_TRUE(Shows(run.frames.at(29), level::kCoin));
    // Taken in the 27th and 59th steps right (frames 56 and 88), whatever comes after.
    int score = 0;
    for (int n = 1; n <= 240; ++n) {
        const Hud hud = run.HudOf(n);
        ASSERT_TRUE(hud.complete) << n;
        const int expected = n < 56 ? 0 : n < 88 ? 100 : 200;
        EXPECT_EQ(hud.score, expected) << n;
        score = hud.score;
    }
    EXPECT_EQ(score, 200);
    // The coin is drawn in the frame that takes it and gone from the next.
    // Map point (761, 396) is inside the coin's cell, right of the player.
    EXPECT_EQ(TileAt(run.frames.at(56), 761 - 401, 396 - 146), level::kCoin);
    EXPECT_EQ(TileAt(run.frames.at(57), 761 - 404, 396 - 146), level::kSkyBase + 12);
    EXPECT_TRUE(Shows(run.frames.at(88), level::kCoin));
    EXPECT_FALSE(Shows(run.frames.at(89), level::kCoin));
    EXPECT_FALSE(Shows(run.frames.at(240), level::kCoin));
}

TEST_P(CollisionTest, ADeadlyCellRestartsAtTheMarkerWithScoreZeroAndTakenBonusesStayGone) {
    TestLevel level = FlatLevel();
    level.Coin(23, kGroundRow - 1);
    level.Put(28, kGroundRow - 1, level::kSpikes, kavro_content::kDeadly);  // reached at view_x 560
    // Right for 80 steps: the coin in frame 56, the spikes in frame 109. That frame ends
    // without texts and without a flip, so keyboard frame n > 109 is present n - 1.
    const GameRun run =
        Play(level, "30-109 Right\n150-200 Right\n260 Escape\n", "1,29,107,108,109,110,140,259");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(run.presents, 259);
    for (int n = 1; n <= 259; ++n) ASSERT_TRUE(run.HudOf(n).complete) << n;
    EXPECT_EQ(run.HudOf(108).score, 100);
    EXPECT_EQ(ViewX(run.frames.at(108)), kStartViewX + 3 * 79);
    // Back at the marker: view_x from its column, view_y from its row, falling again.
    EXPECT_EQ(run.HudOf(109).score, 0);
    EXPECT_EQ(ViewX(run.frames.at(109)), kStartViewX);
    EXPECT_EQ(ViewY(run.frames.at(109)), 128);
    EXPECT_EQ(ViewY(run.frames.at(140)), kStandingViewY);
    // The coin taken before stays gone, and walking over its place again adds nothing.
    EXPECT_TRUE(Shows(run.frames.at(1), level::kCoin));
    EXPECT_FALSE(Shows(run.frames.at(109), level::kCoin));
    EXPECT_FALSE(Shows(run.frames.at(259), level::kCoin));
    EXPECT_TRUE(Shows(run.frames.at(259), level::kSpikes));
    for (int n = 109; n <= 259; ++n) EXPECT_EQ(run.HudOf(n).score, 0) << n;
}

TEST_P(CollisionTest, EscapeInAFrameThatRestartsTheLevelEndsAfterTheNextFrame) {
    TestLevel level = FlatLevel();
    level.Put(21, kGroundRow - 1, level::kSpikes, kavro_content::kDeadly);
    // The body probe reaches map x 672 at view_x 336: the 6th step, keyboard frame 35.
    const GameRun run = Play(level, "30-35 Right\n35 Escape\n");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(run.presents, 35);  // frames 1..34, then frame 36 as present 35
    EXPECT_EQ(run.HudOf(35).score, 0);
}

TEST_P(CollisionTest, UpClimbsALadderOnePixelAFrameAndThePlayerSinksNoFasterThanOne) {
    TestLevel level = FlatLevel();
    level.Column(21, 10, kGroundRow - 1, level::kLadder, kavro_content::kLadder);  // map y 320..415
    // Six steps right put the player's centre on the ladder; Up from frame 50 climbs while the
    // head probe (view_y + 240) is on it: 66 frames, to view_y 79; then it hovers at the top.
    // Released in frame 140, it sinks back to the ground.
    const GameRun run = Play(level, "30-35 Right\n50-139 Up\n240 Escape\n", "29-240");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(run.HudOf(40).body, kavro_content::kLadder);
    EXPECT_EQ(ViewY(run.frames.at(49)), kStandingViewY);
    for (int n = 50; n <= 116; ++n) EXPECT_EQ(ViewY(run.frames.at(n)), 146 - (n - 49)) << n;
    // The view shows a fractional view_y truncated and recomputes it only when its rounded
    // value changes, so one frame may show up to 2 pixels; over ten frames at most 11.
    for (int n = 117; n <= 240; ++n) {
        const int step = ViewY(run.frames.at(n)) - ViewY(run.frames.at(n - 1));
        EXPECT_LE(std::abs(step), 2) << n;
        if (n >= 127) {
            EXPECT_LE(ViewY(run.frames.at(n)) - ViewY(run.frames.at(n - 10)), 11) << n;
        }
    }
    for (int n = 117; n <= 139; ++n) EXPECT_NEAR(ViewY(run.frames.at(n)), 79, 1) << n;
    // Back on the ground; a landing on a ladder does not snap the view.
    EXPECT_GE(ViewY(run.frames.at(240)), 144 - 1);
    EXPECT_LE(ViewY(run.frames.at(240)), kStandingViewY);
    EXPECT_EQ(run.HudOf(240).feet, kavro_content::kSolid);
    EXPECT_EQ(ViewY(run.frames.at(239)), ViewY(run.frames.at(240)));
    // The climbing frame of the player sheet.
    EXPECT_NE(PlayerPixels(run.frames.at(29)), PlayerPixels(run.frames.at(60)));
}

TEST_P(CollisionTest, ACeilingBumpsTheHeadOncePerContact) {
    TestLevel level = FlatLevel();
    for (int x = 14; x <= 26; ++x)
        level.Put(x, 9, level::kCeiling, kavro_content::kSolid);  // y 288..319
    // The 8th jump step (frame 47) brings view_y to 77.2, the head probe to 317.2: in the
    // ceiling from frame 48 on. The bump returns the view to before that frame's step, 77,
    // and the player falls from speed 0; the head stays in the ceiling for a few frames more.
    const GameRun run = Play(level, "40 Space\n100 Escape\n", "39-100");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    for (int n = 40; n <= 47; ++n) EXPECT_EQ(run.HudOf(n).head, 0) << n;
    for (int n = 48; n <= 52; ++n) EXPECT_EQ(run.HudOf(n).head, kavro_content::kSolid) << n;
    EXPECT_EQ(run.HudOf(53).head, 0);
    EXPECT_EQ(ViewY(run.frames.at(48)), 77);
    EXPECT_EQ(ViewY(run.frames.at(49)), 77);
    for (int n = 49; n <= 100; ++n)
        EXPECT_GE(ViewY(run.frames.at(n)), ViewY(run.frames.at(n - 1))) << n;
    EXPECT_GT(ViewY(run.frames.at(53)), 80);
    EXPECT_NEAR(ViewY(run.frames.at(100)), kStandingViewY, 1);
    EXPECT_EQ(run.HudOf(100).feet, kavro_content::kSolid);
}

TEST_P(CollisionTest, APlatformLetsAJumpThroughAndCarriesThePlayerOnTheWayDown) {
    TestLevel level = FlatLevel();
    for (int x = 14; x <= 26; ++x) level.Put(x, 10, level::kPlatform, kavro_content::kPlatform);
    const GameRun run = Play(level, "40 Space\n140 Escape\n", "39-140");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    int top = kStandingViewY;
    for (int n = 41; n <= 70; ++n) top = std::min(top, ViewY(run.frames.at(n)));
    EXPECT_LE(top, 17);  // the whole 130 pixels: the head went up through the platform
    // On the platform in row 10: view_y = 32 x 2 - 14.
    EXPECT_NEAR(ViewY(run.frames.at(140)), 50, 1);
    EXPECT_EQ(run.HudOf(140).feet, kavro_content::kPlatform);
    EXPECT_EQ(run.HudOf(140).tile_row, 2);
}

TEST_P(CollisionTest, SlopesCarryThePlayerUpOneRowAndDownAgain) {
    TestLevel level = FlatLevel();
    level.Put(24, kGroundRow - 1, level::kRise, kavro_content::kRisingSlope);
    for (int x = 25; x <= 35; ++x)
        level.Put(x, kGroundRow - 1, level::kWall, kavro_content::kSolid);
    level.Put(36, kGroundRow - 1, level::kFall, kavro_content::kFallingSlope);
    const GameRun run = Play(level, "30-210 Right\n240 Escape\n", "29-240");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    int rising = 0, falling = 0;
    for (int n = 30; n < 240; ++n) {
        const Hud hud = run.HudOf(n), next = run.HudOf(n + 1);
        const bool up =
            hud.body == kavro_content::kRisingSlope || hud.feet == kavro_content::kRisingSlope;
        const bool down =
            hud.body == kavro_content::kFallingSlope || hud.feet == kavro_content::kFallingSlope;
        if (!up && !down) {
            EXPECT_EQ(next.slope_base, -1) << n;
            continue;
        }
        rising += up;
        falling += down;
        // The slope base is taken from the row of the first touch, on the ground below.
        EXPECT_EQ(next.slope_base, 144) << n;
        const int column = ViewX(run.frames.at(n)) % 32;
        const int surface = down ? SlopeFall(column) : SlopeRise(column);
        EXPECT_EQ(ViewY(run.frames.at(n + 1)), 144 - surface) << n;
    }
    EXPECT_GE(rising, 8);
    EXPECT_GE(falling, 8);
    // Up on the plateau of row 12 (32 x 4 - 14) between the slopes, down on the ground after.
    EXPECT_EQ(ViewY(run.frames.at(120)), 114);
    EXPECT_EQ(run.HudOf(120).feet, kavro_content::kSolid);
    EXPECT_EQ(run.HudOf(120).slope_base, -1);
    EXPECT_NEAR(ViewY(run.frames.at(240)), kStandingViewY, 1);
    EXPECT_EQ(run.HudOf(240).feet, kavro_content::kSolid);
}

KAVRO_ON_EVERY_DELIVERABLE(CollisionTest);

}  // namespace
