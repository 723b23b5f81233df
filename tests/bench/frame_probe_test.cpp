// The probe inside the instrumented deliverable, run as the benchmark runs it over two laps of
// the shipped route: one level restart per lap, every frame recorded, the parts of the frames
// adding up to the time measured, and the peer drawing exactly the cells the game drew.
#include <gtest/gtest.h>

#include <cstdio>
#include <numeric>
#include <string>

#include "bench/bench_files.h"
#include "bench/peer_renderer.h"
#include "tests/support/child_process.h"

namespace {

constexpr int kLapFrames = 1539;

TEST(FrameProbeTest, TwoLapsRestartTwiceAndTheirFramesAreRecordedAndDrawnByThePeer) {
    char dir[] = "/tmp/kavro-probe-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    const std::string work = dir, keys = work + "/route.keys", report = work + "/report.txt",
                      log = work + "/frames.bin";
    std::string error;
    ASSERT_EQ(Bench_RepeatLap(KAVRO_BENCH_ROUTE, 2, keys, &error), 2 * kLapFrames + 1) << error;
    ChildOptions probe;
    probe.program = KAVRO_BENCH_PROBE_DX9;
    probe.folder = KAVRO_BENCH_RUN_DIR;
    probe.settings = {{"KAVRO_HEADLESS", "1"},
                      {"KAVRO_KEYS", keys},
                      {kBenchEnvReport, report},
                      {kBenchEnvLog, log},
                      {kBenchEnvFrames, "4000"}};
    probe.spawn_time_setting = kBenchEnvSpawnTime;
    ChildResult run = RunChild(probe);
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exit_code, 0);
    std::map<std::string, int64_t> r;
    ASSERT_TRUE(Bench_ReadReport(report, &r));
    EXPECT_EQ(r["frames"], 2 * kLapFrames + 1);
    // The lava at the end of each lap puts the player back on the start: no present that frame.
    EXPECT_EQ(r["presents"], r["frames"] - 2);
    EXPECT_EQ(r["frames_at_first_present"], 1);
    EXPECT_EQ(r["log_full"], 0);
    EXPECT_EQ(r["spawn_ns"], run.spawn_ns);
    EXPECT_GT(r["main_ns"], r["spawn_ns"]);
    EXPECT_GT(r["first_present_ns"], r["startup_end_ns"]);
    EXPECT_GE(r["startup_end_ns"], r["startup_begin_ns"]);

    // Every nanosecond from the first present to the end of the last frame is booked to
    // exactly one part.
    int64_t booked = 0;
    for (int i = 0; i < kBenchPhaseCount; ++i) {
        booked += r[std::string("phase_") + BenchPhaseName(static_cast<BenchPhase>(i)) + "_ns"];
    }
    const int64_t loop = r["last_frame_end_ns"] - r["first_present_ns"];
    EXPECT_EQ(booked, loop);
    EXPECT_GT(r["phase_held_back_ns"], 0);
    EXPECT_GT(r["phase_texts_ns"], 0);

    std::vector<BenchFrameRecord> frames;
    ASSERT_TRUE(Bench_ReadFrameLog(log, &frames));
    ASSERT_EQ(static_cast<int64_t>(frames.size()), r["frames"]);
    int presented = 0, taken = 0;
    for (const BenchFrameRecord& f : frames) {
        presented += f.presented;
        taken += f.collected_column >= 0;
        EXPECT_GT(f.quads, 0);
        EXPECT_EQ(f.text_count, f.presented ? kBenchTextLines : 0);
    }
    EXPECT_EQ(presented, r["presents"]);
    EXPECT_GT(taken, 0);  // the cave's coins
    EXPECT_EQ(frames[0].texts[1].x, 10);
    EXPECT_EQ(frames[0].texts[1].y, 10);
    EXPECT_EQ(frames[0].texts[1].length, 7);  // "SCORE 0"

    PeerRenderer peer;
    ASSERT_TRUE(peer.Load(KAVRO_BENCH_RUN_DIR, &error)) << error;
    PeerTimes t = peer.Run(frames);
    EXPECT_EQ(t.quad_mismatches, 0u);
    EXPECT_EQ(static_cast<int64_t>(t.presents), r["presents"] - 1);
    // The last frame stands on the start marker: the player's frame is where the game put it.
    std::vector<uint32_t> pixels = peer.Pixels();
    int opaque_player = 0;
    for (int y = 240; y < 272; ++y)
        for (int x = 320; x < 348; ++x) opaque_player += pixels[y * 640 + x] != 0;
    EXPECT_GT(opaque_player, 0);

    for (const std::string& f : {keys, report, log}) std::remove(f.c_str());
    std::remove(dir);
}

}  // namespace
