// The long run: each deliverable plays KAVRO_SOAK_FRAMES frames (100,000 in the normal build)
// headless over the soak route, which walks, jumps, climbs, collects and dies again and again.
// The process's anonymous memory (its heaps) is sampled from /proc; after the first second it
// must stay flat. The run must end by its Escape with exit code 0 and no sanitizer report, and
// the trace must show the route doing what it is for.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "tests/reliability/deliverables.h"
#include "tests/reliability/level_routes.h"
#include "tests/reliability/trace_file.h"

namespace {

constexpr uint32_t kFrames = KAVRO_SOAK_FRAMES;
// Growth of the anonymous memory allowed after the first second: a few pages of allocator
// slack. A leak of 8 bytes a frame would pass it within 40,000 frames.
constexpr int64_t kAllowedGrowthKib = 256;

class SoakTest : public ::testing::TestWithParam<std::string> {};

TEST_P(SoakTest, LongRunKeepsItsMemoryFlat) {
    const Deliverable& game = DeliverableNamed(GetParam());
    const PresentsNothingNote note(game);
    ScratchFolder folder;
    CopyLevel(folder);
    SoakRoute route = MakeSoakRoute(kFrames);
    ASSERT_GT(route.loops, 8u);
    GameRun run = RunGame(game, folder, route.script, {}, 1500, 0.05);
    ASSERT_EQ(run.result.exit_code, 0) << Describe(run.result);
    EXPECT_FALSE(HasSanitizerReport(run.result.error_output)) << run.result.error_output;
    EXPECT_EQ(run.result.error_output, "");

    // The route: one death per loop (a death frame is never presented), coins collected, the
    // ladder used.
    Trace trace = ReadTrace(run.trace_path);
    EXPECT_EQ(trace.presents, kFrames - route.loops) << "one unpresented death frame per loop";
    int64_t collected = 0;
    int64_t deaths_seen = 0;
    int64_t ladder_frames = 0;
    int64_t previous = 0;
    for (const TraceFrame& f : trace.frames) {
        if (f.score > previous) collected += (f.score - previous) / 100;
        if (f.score < previous) ++deaths_seen;
        if (f.body == 5) ++ladder_frames;
        previous = f.score;
    }
    EXPECT_GE(collected, 10) << "coins and gems collected along the route";
    EXPECT_GE(deaths_seen, 4) << "deaths that took a score back to 0";
    EXPECT_GT(ladder_frames, static_cast<int64_t>(route.loops) * 100) << "ladder climbed";

    // Memory after the first second.
    std::vector<MemorySample> settled;
    for (const MemorySample& m : run.result.memory) {
        if (m.seconds >= 1.0) settled.push_back(m);
    }
    ASSERT_GE(settled.size(), 5u) << "the run was too short to sample: " << run.result.Seconds();
    auto [low, high] = std::minmax_element(
        settled.begin(), settled.end(),
        [](const MemorySample& a, const MemorySample& b) { return a.anon_kib < b.anon_kib; });
    const int64_t first = settled.front().anon_kib;
    const int64_t last = settled.back().anon_kib;
    std::printf(
        "soak %s: %u frames in %.1f s (%.0f frames/s), %u deaths; anonymous memory after 1 s: "
        "first %lld KiB, last %lld KiB, range %lld..%lld KiB; resident at the end %lld KiB\n",
        game.name.c_str(), kFrames, run.result.Seconds(), kFrames / run.result.Seconds(),
        route.loops, static_cast<long long>(first), static_cast<long long>(last),
        static_cast<long long>(low->anon_kib), static_cast<long long>(high->anon_kib),
        static_cast<long long>(settled.back().resident_kib));
#if defined(KAVRO_SANITIZED)
    // AddressSanitizer holds freed blocks back (its quarantine) to catch late uses, so memory
    // grows without a leak; there LeakSanitizer at the exit is the check.
    (void)kAllowedGrowthKib;
#else
    EXPECT_LE(high->anon_kib - first, kAllowedGrowthKib) << "memory grew during the run";
    EXPECT_LE(last - first, kAllowedGrowthKib);
#endif
}

INSTANTIATE_TEST_SUITE_P(Deliverables, SoakTest, ::testing::ValuesIn(DeliverableNames()),
                         [](const auto& info) { return TestNameOf(info.param); });

}  // namespace
