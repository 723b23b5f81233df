// Ways a run ends besides Escape: the desktop closing the window and SIGTERM end the game through
// its normal end (the recording, written whole only by the cleanup chain, is complete); no display
// or an unusable setting end it at once with a line saying why.
#include <signal.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "tests/e2e/game_fixture.h"

namespace {

namespace fs = std::filesystem;

class ClosingTest : public GameTest {
  protected:
    // Walks right on the flat level, paced, recording what the game read, until `end` stops it.
    GameRun WalkUntilEnded(const std::string& fault,
                           std::function<void(pid_t, const fs::path&)> end = nullptr) {
        RunOptions options;
        options.keys = "1-100000 Right\n";
        options.environment = {"KAVRO_VSYNC=1", "KAVRO_RECORD=" + (dir_ / "walk.keys").string()};
        if (!fault.empty()) options.environment.push_back("KAVRO_FAULTS=" + fault);
        options.while_running = std::move(end);
        return Play(FlatLevel(), options);
    }
    // The run read the request in the frame after the one it came in, completed that frame and
    // ended through the cleanup chain, which closed the recording with Escape in its last line.
    void ExpectEndedThroughTheQuitKey(const GameRun& run, const std::string& reason) {
        EXPECT_EQ(run.exit_code, 0) << run.errors;
        std::vector<std::string> after;
        bool seen = false;
        for (const std::string& line : run.trace) {
            if (seen && line.rfind("present ", 0) == 0) after.push_back(line);
            seen = seen || line == "quit " + reason;
        }
        ASSERT_TRUE(seen) << "no quit line";
        ASSERT_EQ(after.size(), 1u);
        EXPECT_EQ(after[0], "present " + std::to_string(run.presents));
        const std::vector<std::string> recorded = FileLines(dir_ / "walk.keys");
        ASSERT_EQ(recorded.size(), 3u);
        EXPECT_EQ(recorded[1], "1-" + std::to_string(run.presents - 1) + " Right");
        EXPECT_EQ(recorded[2], std::to_string(run.presents) + " Escape Right");
    }
};

TEST_P(ClosingTest, TheDesktopClosingTheWindowEndsTheGameWithinTwoFrames) {
    // The close comes after present 30 and is pumped by the flip of frame 31, which completes;
    // frame 32 reads it as Escape.
    const GameRun run = WalkUntilEnded("close@30");
    ExpectEndedThroughTheQuitKey(run, "close");
    EXPECT_EQ(run.presents, 32);
}

TEST_P(ClosingTest, SigtermEndsTheGameWithinTwoFrames) {
    int seen_present = 0;
    const GameRun run = WalkUntilEnded("", [&](pid_t pid, const fs::path& out) {
        // Once 30 frames are out, the frame that shows in the trace is the one in progress.
        const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (seen_present < 30 && std::chrono::steady_clock::now() < give_up) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            for (const std::string& line : FileLines(out / "trace.txt"))
                if (line.rfind("present ", 0) == 0) seen_present = std::stoi(line.substr(8));
        }
        kill(pid, SIGTERM);
    });
    ExpectEndedThroughTheQuitKey(run, "SIGTERM");
    EXPECT_GE(seen_present, 30);
    // Two frames after the one seen; one more for a loaded machine between reading and signal.
    EXPECT_LE(run.presents, seen_present + 3);
}

TEST_P(ClosingTest, WithoutADisplayTheDirectXMessageFollowsTheCauseAtOnce) {
    RunOptions options;
    options.keys = "1 Escape\n";
    options.headless = false;  // and DISPLAY, WAYLAND_DISPLAY left out of the environment
    const auto start = std::chrono::steady_clock::now();
    const GameRun run = Play(FlatLevel(), options);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(run.exit_code, 0);
    EXPECT_EQ(run.presents, 0);
    EXPECT_LT(seconds, 2.0);
    // Standard error is UTF-8: the accent of the title is two bytes there.
    std::string title = Title();
    title.replace(title.find('\xB4'), 1, "\xC2\xB4");
    EXPECT_EQ(run.errors,
              "kavro: no display (DISPLAY and WAYLAND_DISPLAY unset or unreachable); set one, or "
              "KAVRO_HEADLESS=1 to run without\n" +
                  title + " - DirectX Error: You need at least DirectX 7 To run this game\n");
    ASSERT_EQ(run.messages.size(), 1u);
    EXPECT_EQ(run.messages[0],
              "16 " + Title() + " - DirectX Error\tYou need at least DirectX 7 To run this game");
}

TEST_P(ClosingTest, UnusableSettingsEndTheRunWithExitCodeTwo) {
    std::ofstream(dir_ / "file") << "x";
    const std::string trace = (dir_ / "file" / "t.trace").string();
    const struct {
        std::string setting, line;
    } cases[] = {
        {"KAVRO_TRACE=" + trace,
         "kavro: KAVRO_TRACE: cannot open " + trace + ": Not a directory\n"},
        {"KAVRO_MISSING=d3d9.dll,foo.dll",
         "kavro: KAVRO_MISSING: unknown library \"foo.dll\"; known: d3d9.dll, ddraw.dll, "
         "d3dim700.dll, dinput.dll, dsound.dll, msimg32.dll, comctl32.dll, uxtheme.dll\n"},
    };
    for (const auto& c : cases) {
        RunOptions options;
        options.keys = "1 Escape\n";
        options.environment = {c.setting};
        const GameRun run = Play(FlatLevel(), options);
        EXPECT_EQ(run.exit_code, 2) << c.setting;
        EXPECT_EQ(run.errors, c.line);
        EXPECT_EQ(run.presents, 0);
    }
}

KAVRO_ON_EVERY_DELIVERABLE(ClosingTest);

}  // namespace
