// The shipped level (Kavro.Map and GFX/ of the build's run directory), played as a person
// would: land on the start, walk right collecting bonuses until a deadly cell sends the player
// back to the start with the bonuses taken still gone.
#include "tests/e2e/game_fixture.h"

namespace {

namespace fs = std::filesystem;

class ShippedLevelTest : public GameTest {
  protected:
    void SetUp() override {
        GameTest::SetUp();
        if (IsSkipped()) return;
        const fs::path run_dir = KAVRO_E2E_RUN_DIR;
        fs::copy_file(run_dir / "Kavro.Map", dir_ / "Kavro.Map");
        fs::copy(run_dir / "GFX", dir_ / "GFX", fs::copy_options::recursive);
    }
    GameRun Run(const std::string& keys, const std::string& frames) {
        RunOptions options;
        options.keys = keys;
        options.capture_frames = frames;
        return PlayHere(options);
    }
    // Whether two frames agree in a rectangle, leaving out the player at (320, 240).
    static bool SameAround(const Picture& a, const Picture& b, int x0, int y0, int x1, int y1) {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                if (x >= 320 && x < 348 && y >= 240 && y < 272) continue;
                if (a.At(x, y) != b.At(x, y)) return false;
            }
        return true;
    }
};

TEST_P(ShippedLevelTest, ThePlayerLandsOnTheStartAndTheDisplayLinesReadAsSpelled) {
    const GameRun run = Run("40 Escape\n", "40");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    ASSERT_EQ(run.presents, 40);
    const std::vector<std::string>& lines = run.texts[39];
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0].rfind("500 1 " + BackendName() + " - FPS: ", 0), 0u);
    EXPECT_EQ(lines[1], "10 10 SCORE 0");
    EXPECT_EQ(lines[2], "10 30 1 Bonus  0");
    EXPECT_EQ(lines[3], "10 50 2 drunter1");
    EXPECT_EQ(lines[4], "10 70 2 Kopf   0");
    EXPECT_EQ(lines[5], "10 100 --> -1");
    // Standing on the row below the marker: view_y = 32 x tile_row - 14.
    const Hud hud = run.HudOf(40);
    EXPECT_EQ(lines[6], "10 130 --> " + std::to_string(hud.tile_row));
    EXPECT_GT(hud.tile_row, 0);
}

TEST_P(ShippedLevelTest, WalkingRightTakesBonusesUntilADeadlyCellRestartsTheLevel) {
    // Right until after the first restart.
    const GameRun walk = Run("30-400 Right\n420 Escape\n", "");
    ASSERT_EQ(walk.exit_code, 0) << walk.errors;
    int restart = 0, taken = 0;
    for (int n = 2; n <= walk.presents && !restart; ++n) {
        const int before = walk.HudOf(n - 1).score, now = walk.HudOf(n).score;
        ASSERT_TRUE(walk.HudOf(n).complete) << n;
        if (now == before) continue;
        if (now == 0) {
            restart = n;
        } else {
            EXPECT_EQ(now, before + 100) << n;  // one bonus at a time, 100 each
            ++taken;
        }
    }
    ASSERT_GT(restart, 0) << "no deadly cell on the way right";
    EXPECT_GE(taken, 1);
    EXPECT_LE(walk.presents, 419);  // the frame of a restart is not presented

    // Again, letting go of Right in the frame of the restart (keyboard frame `restart`): the
    // next frame shows the start as the first frame did, less the bonuses taken.
    const GameRun again = Run(
        "30-" + std::to_string(restart) + " Right\n" + std::to_string(restart + 40) + " Escape\n",
        "1," + std::to_string(restart) + "," + std::to_string(restart + 39));
    ASSERT_EQ(again.exit_code, 0) << again.errors;
    ASSERT_EQ(again.HudOf(restart).score, 0);
    ASSERT_EQ(again.HudOf(restart - 1).score, 100 * taken);
    const Picture& first = again.frames.at(1);
    const Picture& back = again.frames.at(restart);
    EXPECT_TRUE(SameAround(first, back, 200, 160, 440, 330));
    EXPECT_FALSE(SameAround(first, back, 0, 150, 640, 480));  // bonuses gone
    for (int n = restart; n <= restart + 39; ++n) EXPECT_EQ(again.HudOf(n).score, 0) << n;
}

KAVRO_ON_EVERY_DELIVERABLE(ShippedLevelTest);

}  // namespace
