// Start-up and the end of the game: the messages for missing libraries and unusable maps, the
// start marker, Escape, the seven display lines as drawn, the frame rate, and the creature.
#include <fstream>

#include "tests/e2e/game_fixture.h"

namespace {

class StartUpTest : public GameTest {
  protected:
    // Runs with the settings and expects one message box and no frame.
    void ExpectOnlyMessage(const GameRun& run, const std::string& caption_suffix,
                           const std::string& text) {
        EXPECT_EQ(run.exit_code, 0) << run.errors;
        EXPECT_EQ(run.presents, 0);
        for (const auto& line : run.trace) EXPECT_EQ(line.rfind("present", 0), std::string::npos);
        ASSERT_EQ(run.messages.size(), 1u);
        EXPECT_EQ(run.messages[0], "16 " + Title() + caption_suffix + "\t" + text);
    }
    GameRun PlayMissing(const std::string& library) {
        RunOptions options;
        options.keys = "1 Escape\n";
        options.environment = {"KAVRO_MISSING=" + library};
        return Play(FlatLevel(), options);
    }
    // A map file written as is, with the test tileset.
    GameRun PlayMapBytes(const std::string& bytes) {
        TestLevel level = FlatLevel();
        level.WriteTo(dir_);
        std::ofstream(dir_ / "Kavro.Map", std::ios::binary) << bytes;
        RunOptions options;
        options.keys = "1 Escape\n";
        return PlayHere(options);
    }
};

TEST_P(StartUpTest, EscapeEndsTheGameAfterItsFrameWithExitCodeZero) {
    const GameRun run = Play(FlatLevel(), "1-5 Right\n5 Escape\n");
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(run.presents, 5);
    EXPECT_TRUE(run.HudOf(5).complete);  // the Escape frame is drawn and flipped
    EXPECT_TRUE(run.messages.empty());
}

TEST_P(StartUpTest, WithoutTheScreenLibraryOnlyTheDirectXMessageShows) {
    ExpectOnlyMessage(PlayMissing(ScreenLibrary()), " - DirectX Error",
                      "You need at least DirectX 7 To run this game");
}

TEST_P(StartUpTest, WithoutTheSoundLibraryOnlyTheSoundMessageShows) {
    ExpectOnlyMessage(PlayMissing("dsound.dll"), " - Sound Error",
                      "Uhh no Sound Card or any other Programm block the Soundpipes");
}

TEST_P(StartUpTest, WithoutDirectInputTheDirectXMessageShowsForNothingCouldEndTheGame) {
    ExpectOnlyMessage(PlayMissing("dinput.dll"), " - DirectX Error",
                      "You need at least DirectX 7 To run this game");
}

// Only the DirectDraw 7 deliverable loads Direct3D 7.
class DirectDrawStartUpTest : public StartUpTest {};

TEST_P(DirectDrawStartUpTest, WithoutDirect3D7TheDirectDrawDeliverableShowsThe3DMessage) {
    ExpectOnlyMessage(PlayMissing("d3dim700.dll"), " - 3D Hardware Error",
                      "You need a 3D Card to run this game");
}

TEST_P(StartUpTest, AMissingMapShowsTheMapMessage) {
    FlatLevel().WriteTo(dir_);
    std::filesystem::remove(dir_ / "Kavro.Map");
    RunOptions options;
    options.keys = "1 Escape\n";
    ExpectOnlyMessage(PlayHere(options), " - Map Error",
                      "The level map Kavro.Map was not found in " +
                          std::filesystem::canonical(dir_).string() + ".");
}

TEST_P(StartUpTest, UnusableMapsShowTheMapMessageWithWhatIsWrong) {
    const std::string good = FlatLevel().Map().Bytes();
    std::string header = good, version = good, tile_size = good, small = good, huge = good;
    header[1] = 'X';
    version[4] = 'X';
    version[5] = '1';
    tile_size[7] = 16;
    TestMap narrow(19, 20, 1);  // 20 columns
    TestMap low(59, 14, 1);     // 15 rows
    for (int at : {9, 11}) {    // W = H = 0x7FFF
        huge[at] = static_cast<char>(0xFF);
        huge[at + 1] = 0x7F;
    }
    const struct {
        std::string bytes, problem;
    } cases[] = {{header, "is not a level map."},
                 {version, "has a map version this game cannot read."},
                 {tile_size, "does not use 32-pixel tiles."},
                 {narrow.Bytes(), "is smaller than one screen (21 x 16 cells)."},
                 {low.Bytes(), "is smaller than one screen (21 x 16 cells)."},
                 {huge, "describes a grid this game cannot hold."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.problem);
        ExpectOnlyMessage(PlayMapBytes(c.bytes), " - Map Error",
                          "The level map Kavro.Map " + c.problem);
    }
}

TEST_P(StartUpTest, AStartOnADeadlyCellShowsTheMapMessage) {
    // Every frame would restart the level: nothing shown, no key read, no way to quit.
    TestLevel marked = FlatLevel();
    marked.Put(20, kGroundRow - 1, kavro_content::kStartMarkerTile, kavro_content::kDeadly);
    TestLevel unmarked(59, 20);  // no marker: the start is the top-left corner, body cell (10, 8)
    unmarked.Ground(kGroundRow);
    unmarked.Put(10, 8, level::kSpikes, kavro_content::kDeadly);
    for (const TestLevel* level : {&marked, &unmarked}) {
        RunOptions options;
        options.keys = "1-5 Escape\n";
        options.time_limit_seconds = 20;
        ExpectOnlyMessage(Play(*level, options), " - Map Error",
                          "The level map Kavro.Map puts the start on a deadly cell.");
    }
    // Spikes beside the start are the level's business.
    TestLevel beside = FlatLevel();
    beside.Put(21, kGroundRow - 1, level::kSpikes, kavro_content::kDeadly);
    const GameRun run = Play(beside, "10 Escape\n");
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(run.presents, 10);
}

TEST_P(StartUpTest, AMapOfOneLayerPlaysWithoutBonuses) {
    TestMap map(59, 20, 0);
    map.tilesets = {"GFX\\tiles.png"};
    map.Fill(0, 13, 59, 20, 0, TestCell{level::kGroundBase, 255, kavro_content::kSolid});
    map.At(20, 12, 0).tile = kavro_content::kStartMarkerTile;
    FlatLevel().WriteTo(dir_);
    std::ofstream(dir_ / "Kavro.Map", std::ios::binary) << map.Bytes();
    RunOptions options;
    options.keys = "10-40 Right\n60 Escape\n";
    const GameRun run = PlayHere(options);
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(run.presents, 60);
    EXPECT_EQ(run.HudOf(60).feet, kavro_content::kSolid);
}

TEST_P(StartUpTest, TheSmallestPlayableMapPlays) {
    // 21 x 16 cells: nothing to scroll. Ground in row 8 is where the feet are at view_y 0.
    TestLevel level(20, 15);
    level.Ground(8);
    level.Marker(10, 7);
    const GameRun run = Play(level, "1-30 Right\n40 Escape\n", "40");
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(run.presents, 40);
    EXPECT_EQ(ViewX(run.frames.at(40)), 0);
    EXPECT_EQ(ViewY(run.frames.at(40)), 0);
    EXPECT_EQ(run.HudOf(40).feet, kavro_content::kSolid);
}

TEST_P(StartUpTest, WithoutAStartMarkerThePlayerStartsAtTheTopLeft) {
    TestLevel level(59, 20);
    level.Ground(kGroundRow);
    const GameRun run = Play(level, "20 Escape\n", "1");
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(ViewX(run.frames.at(1)), 0);
    EXPECT_EQ(ViewY(run.frames.at(1)), 0);
}

TEST_P(StartUpTest, OfSeveralMarkersTheFirstInRowOrderIsTheStart) {
    TestLevel level(59, 20);
    level.Ground(kGroundRow);
    level.Marker(45, 12);
    level.Marker(40, 10);
    level.Marker(30, 12);
    level.Marker(44, 10);
    const GameRun run = Play(level, "2 Escape\n", "1");
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(ViewX(run.frames.at(1)), 32 * (40 - 10));
    EXPECT_EQ(ViewY(run.frames.at(1)), 32 * (10 - 8));
}

TEST_P(StartUpTest, TheDisplayLinesAreDrawnAsSpelled) {
    const GameRun run = Play(FlatLevel(), "30 Escape\n", "30");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    ASSERT_EQ(run.texts.size(), 30u);
    const std::vector<std::string> expected = {"10 10 SCORE 0",    "10 30 1 Bonus  0",
                                               "10 50 2 drunter1", "10 70 2 Kopf   0",
                                               "10 100 --> -1",    "10 130 --> 5"};
    const std::vector<std::string>& lines = run.texts[29];
    ASSERT_EQ(lines.size(), 7u);
    const std::string top = "500 1 " + BackendName() + " - FPS: ";
    EXPECT_EQ(lines[0].rfind(top, 0), 0u) << lines[0];
    EXPECT_EQ(lines[0].find_first_not_of("0123456789", top.size()), std::string::npos) << lines[0];
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), expected);
    // The first frame reports 0 calls, or nothing when it fell in second 0 of a minute.
    const std::string first = run.texts[0][0];
    EXPECT_TRUE(first == "500 1 " + BackendName() + " - FPS: 0" ||
                first == "500 1 " + BackendName() + " - FPS: ")
        << first;
    // The texts are on the picture, white on black cells over the map.
    const Picture& frame = run.frames.at(30);
    EXPECT_EQ(frame.At(10, 10), 0x000000u);
    EXPECT_EQ(frame.At(500, 1), 0x000000u);
    int white = 0;
    for (int y = 10; y < 26; ++y)
        for (int x = 10; x < 10 + 7 * 8; ++x) white += frame.At(x, y) == 0xFFFFFFu;
    EXPECT_GT(white, 40);                                  // "SCORE 0"
    EXPECT_EQ(TileAt(frame, 9, 10), level::kSkyBase + 4);  // map y 156
}

TEST_P(StartUpTest, PacedToSixtyFramesASecondTheTopLineReportsTheRate) {
    RunOptions options;
    options.keys = "170 Escape\n";
    options.environment = {"KAVRO_VSYNC=1"};
    const GameRun run = Play(FlatLevel(), options);
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    ASSERT_EQ(run.presents, 170);
    // After the first whole second of the clock the count of its frames (less one) shows:
    // at most 60 a second with the pacing (fewer when a loaded machine cannot keep up; the
    // counting itself is checked exactly by the map engine's tests).
    const std::string prefix = "500 1 " + BackendName() + " - FPS: ";
    const std::string last = run.texts[169][0];
    ASSERT_EQ(last.rfind(prefix, 0), 0u) << last;
    const int rate = std::stoi(last.substr(prefix.size()));
    EXPECT_GE(rate, 20);
    EXPECT_LE(rate, 61);
}

TEST_P(StartUpTest, TheCreaturePatrolsOnTheFloorUnderItsPath) {
    // A map 41 rows high with the floor in row 33, under the creature's feet (y 1025 + 32).
    TestLevel level(59, 40);
    level.Ground(33);
    level.Marker(20, 32);
    const GameRun run = Play(level, "130 Escape\n", "60,120");
    ASSERT_EQ(run.exit_code, 0) << run.errors;
    // Standing on row 33: view (320, 32 x 25 - 14 = 786); the creature at map x 400 + 1 per
    // frame, screen x 80 + ..., y 1025 - 786 = 239.
    auto centre = [](const Picture& frame) {
        long sum = 0, count = 0;
        for (int y = 239; y < 271; ++y)
            for (int x = 0; x < 310; ++x)
                if (TileAt(frame, x, y) < 0) sum += x, ++count;
        return count > 100 ? static_cast<double>(sum) / count : -1.0;
    };
    const double at60 = centre(run.frames.at(60)), at120 = centre(run.frames.at(120));
    ASSERT_GT(at60, 0.0);
    ASSERT_GT(at120, 0.0);
    EXPECT_NEAR(at120 - at60, 60.0, 6.0);
    EXPECT_NEAR(at60, 80 + 60 + 16, 10.0);
}

KAVRO_ON_EVERY_DELIVERABLE(StartUpTest);
INSTANTIATE_TEST_SUITE_P(Deliverables, DirectDrawStartUpTest,
                         ::testing::Values(std::string("kavro-dx7")),
                         [](const ::testing::TestParamInfo<std::string>&) {
                             return std::string("dx7");
                         });

}  // namespace
