// The game in this process with a virtual game controller and no key pressed: the stick walks
// the player right, the south button jumps, Back ends the game. The keyboard script recorded on
// the way, replayed by the real deliverable, gives the same frames.
#include <unistd.h>

#include <cstdlib>
#include <fstream>

#include "game/game_state.h"
#include "platform/host/host.h"
#include "platform/host/test_hooks.h"
#include "platform/win32/heap.h"
#include "tests/e2e/game_fixture.h"

namespace {

namespace fs = std::filesystem;

TEST(GamepadGameTest, TheControllerAloneWalksAndJumpsAndItsRecordingReplaysTheFrames) {
    const fs::path dir = ScratchDirectory("gamepad");
    FlatLevel().WriteTo(dir);
    ASSERT_EQ(chdir(dir.c_str()), 0);
    const std::string frames = "30,55,75,100";
    for (const char* name : {"KAVRO_KEYS", "KAVRO_VSYNC", "KAVRO_TRACE", "KAVRO_MISSING"})
        unsetenv(name);
    setenv("KAVRO_HEADLESS", "1", 1);
    setenv("KAVRO_RECORD", (dir / "pad.keys").c_str(), 1);
    setenv("KAVRO_CAPTURE", (dir / "pad-frames").c_str(), 1);
    setenv("KAVRO_CAPTURE_FRAMES", frames.c_str(), 1);
    Host_ReloadSettings();
    const int32_t pad = Host_AttachVirtualPad();
    ASSERT_GE(pad, 0);

    Program_Start();
    Game_StartUp("DX 9");
    int frame = 0;
    int32_t landed_view_x = 0;
    int jump_frames = 0;
    for (;;) {
        ++frame;
        ASSERT_LT(frame, 200);
        // Landed by frame 30; then the stick right for 60 frames, a jump, and Back.
        Host_SetVirtualPadAxis(pad, 0, frame > 30 && frame <= 90 ? 32767 : 0);
        Host_SetVirtualPadButton(pad, kPadSouth, frame >= 50 && frame <= 52);
        Host_SetVirtualPadButton(pad, kPadBack, frame == 100);
        const bool completed = Game_Frame();
        if (frame == 30) landed_view_x = Game().view_x;
        jump_frames += Game().jumping;
        if (completed && Game().quit != 0) break;
    }
    EXPECT_EQ(frame, 100);
    EXPECT_EQ(Game().view_x, landed_view_x + 60 * 3);
    // A jump from flat ground: 26 steps, the last of which ends it within its frame.
    EXPECT_EQ(jump_frames, 25);
    // The program's normal end without the process exit: the recording is written whole.
    Runtime_Shutdown();
    HeapDestroy(Program_Globals().runtime_heap);
    Host_Shutdown();

    const std::vector<std::string> recorded = FileLines(dir / "pad.keys");
    const std::vector<std::string> expected = {"31-49 Right", "50-52 Space Right", "53-90 Right",
                                               "100 Escape"};
    ASSERT_EQ(recorded.size(), expected.size() + 1);
    EXPECT_EQ(std::vector<std::string>(recorded.begin() + 1, recorded.end()), expected);

    std::ifstream script(dir / "pad.keys");
    RunOptions options;
    options.keys.assign(std::istreambuf_iterator<char>(script), {});
    options.capture_frames = frames;
    const GameRun replay = RunGame(DeliverablePath("kavro-dx9"), dir, options);
    EXPECT_EQ(replay.exit_code, 0) << replay.errors;
    EXPECT_EQ(replay.presents, 100);
    for (int n : {30, 55, 75, 100}) {
        char name[32];
        std::snprintf(name, sizeof(name), "frame-%06d.png", n);
        const Picture played = ReadPicture(dir / "pad-frames" / name);
        ASSERT_EQ(replay.frames.count(n), 1u) << n;
        const Picture& replayed = replay.frames.at(n);
        ASSERT_EQ(played.width, 640) << n;
        ASSERT_EQ(replayed.width, 640) << n;
        // Every pixel but the frame-rate read-out, which counts real time.
        int different = 0;
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                different += !(x >= 500 && y < 20) && played.At(x, y) != replayed.At(x, y);
        EXPECT_EQ(different, 0) << n;
    }
    if (!::testing::Test::HasFailure()) fs::remove_all(dir);
}

}  // namespace
