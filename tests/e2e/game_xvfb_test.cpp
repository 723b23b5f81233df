// The game in a real X window under Xvfb (SDL's x11 driver): a screenshot of the display,
// taken from Xvfb's frame-buffer file while the game runs, shows the same picture as the frames
// the game captured of itself.
#include <chrono>
#include <fstream>
#include <thread>

#include "tests/e2e/game_fixture.h"
#include "tests/support/xvfb_server.h"

namespace {

namespace fs = std::filesystem;

class RealWindowTest : public GameTest {};

TEST_P(RealWindowTest, TheScreenshotOfTheWindowShowsTheCapturedFrame) {
    if (!XServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    const fs::path fbdir = dir_ / "xvfb";
    fs::create_directories(fbdir);
    XServer server(fbdir);
    if (server.Display().empty()) GTEST_SKIP() << "Xvfb did not start";

    // A window at the picture's own size (full screen needs a window manager), paced to 60
    // frames a second, on the flat level where the scene stands still once the player landed.
    RunOptions options;
    options.keys = "200 Escape\n";
    options.capture_frames = "100";
    options.headless = false;
    options.environment = {"DISPLAY=:" + server.Display(), "KAVRO_WINDOWED=1", "KAVRO_VSYNC=1",
                           "SDL_AUDIODRIVER=dummy",
                           // The X client libraries keep allocations to the end, which a
                           // sanitizer build would report; the headless runs check our leaks.
                           "ASAN_OPTIONS=detect_leaks=0"};
    FlatLevel().WriteTo(dir_);
    GameRun run;
    std::thread game([&] { run = PlayHere(options); });
    // Take the screenshot while the game runs, after frame 150.
    Screenshot shot;
    bool taken = false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!taken && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ifstream trace(dir_ / "out" / "trace.txt");
        std::string line;
        bool late = false;
        while (std::getline(trace, line)) late |= line == "present 150";
        if (late) taken = shot.Read(fbdir / "Xvfb_screen0");
    }
    game.join();
    ASSERT_TRUE(taken);
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(run.presents, 200);
    ASSERT_EQ(run.frames.count(100), 1u);
    const Picture& frame = run.frames.at(100);
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(shot.width, 1024u);
    ASSERT_EQ(shot.height, 768u);
    // The 640 x 480 window in the middle of the display, black around it; every pixel as
    // captured except the frame-rate text at the top right.
    const uint32_t left = (1024 - 640) / 2, top = (768 - 480) / 2;
    int different = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            if (x >= 500 && y < 20) continue;
            different += shot.Rgb(left + x, top + y) != frame.At(x, y);
        }
    EXPECT_EQ(different, 0);
    EXPECT_EQ(TileAt(frame, 200, 300), level::kGroundBase + (kStartViewX + 200) / 32);
    EXPECT_EQ(shot.Rgb(5, 5), 0u);
    EXPECT_EQ(shot.Rgb(left - 1, top + 100), 0u);
    EXPECT_EQ(shot.Rgb(left + 640, top + 100), 0u);
    EXPECT_EQ(shot.Rgb(1020, 760), 0u);
}

KAVRO_ON_EVERY_DELIVERABLE(RealWindowTest);

}  // namespace
