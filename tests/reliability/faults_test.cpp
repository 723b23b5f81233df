// Faults injected into the running deliverables with KAVRO_FAULTS: a lost focus, a display-mode
// switch while away (the device or the surfaces lost and restored), and a short device loss in
// the middle of play. Each faulted run is held against a run without the fault, frame by frame.
#include <gtest/gtest.h>

#include "tests/reliability/capture_image.h"
#include "tests/reliability/deliverables.h"
#include "tests/reliability/level_routes.h"
#include "tests/reliability/trace_file.h"

namespace {

constexpr uint32_t kEscapeFrame = 300;

struct Outcome {
    ChildResult result;
    Trace trace;
    std::string captures;
};

// Runs of one deliverable with faults, and the checks they share.
class FaultTest : public ::testing::TestWithParam<std::string> {
  protected:
    const Deliverable& Game() const { return DeliverableNamed(GetParam()); }

    // Walks into the spikes (a death at keyboard frame 251) with `faults`, capturing `frames`.
    Outcome Play(const ScratchFolder& folder, const std::string& faults,
                 const std::string& frames) {
        CopyLevel(folder);
        Outcome out;
        out.captures = folder.File("frames");
        std::vector<std::pair<std::string, std::string>> settings = {
            {"KAVRO_CAPTURE", out.captures}, {"KAVRO_CAPTURE_FRAMES", frames}};
        if (!faults.empty()) settings.emplace_back("KAVRO_FAULTS", faults);
        GameRun run = RunGame(Game(), folder, WalkIntoSpikes(kEscapeFrame), settings);
        out.result = run.result;
        out.trace = ReadTrace(run.trace_path);
        return out;
    }

    // The first present whose score is back to 0 after the three coins: the death.
    static int64_t DeathPresent(const std::vector<int64_t>& scores) {
        for (size_t i = 1; i < scores.size(); ++i) {
            if (scores[i - 1] == 300 && scores[i] == 0) return static_cast<int64_t>(i) + 1;
        }
        return -1;
    }

    static void ExpectCleanEnd(const Outcome& o) {
        EXPECT_EQ(o.result.exit_code, 0) << Describe(o.result);
        EXPECT_FALSE(HasSanitizerReport(o.result.error_output)) << o.result.error_output;
        EXPECT_TRUE(o.trace.messages.empty());
    }

    // Frames `first`..`last` of run `a` show the same pictures as those `shift` presents later
    // in run `b`.
    static void ExpectSameFrames(const Outcome& a, const Outcome& b, uint32_t first, uint32_t last,
                                 uint32_t shift = 0) {
        for (uint32_t n = first; n <= last; ++n) {
            CapturedFrame fa, fb;
            ASSERT_TRUE(ReadCapture(CapturePath(a.captures, n), &fa)) << "frame " << n;
            ASSERT_TRUE(ReadCapture(CapturePath(b.captures, n + shift), &fb)) << "frame " << n;
            EXPECT_EQ(DifferingPixels(fa, fb), 0) << "present " << n << " and " << n + shift;
        }
    }
};

// While the window is away nothing is presented and no key is read (the script waits too);
// when it comes back, presenting resumes and the game goes on where it was. Keys read as held
// while away would have walked the player into the spikes about 60 frames early; a script
// that ran on while away would have got there about 60 frames late. A backend may spend the
// first frame back restoring its surfaces instead of presenting.
TEST_P(FaultTest, FocusLostAndRegainedPausesInputAndPresenting) {
    const PresentsNothingNote note(Game());
    ScratchFolder clean_folder, faulted_folder;
    Outcome clean = Play(clean_folder, "", "1");
    Outcome faulted = Play(faulted_folder, "focus-loss@100-160", "1");
    ExpectCleanEnd(clean);
    ExpectCleanEnd(faulted);
    const int64_t ends = FindLine(faulted.trace, "fault focus-loss ends");
    EXPECT_GE(FindLine(faulted.trace, "fault focus-loss begins"), 0);
    ASSERT_GE(ends, 0);
    EXPECT_GT(FindLine(faulted.trace, "present 101"), ends) << "a present while away";
    EXPECT_EQ(UnpresentedFrames(clean.trace), 0);
    if (Game().backend == "DX 9") {
        // The game loop went on for the 60 frames away, drawing its texts, presenting none.
        EXPECT_EQ(UnpresentedFrames(faulted.trace), 60);
    }
    EXPECT_LE(faulted.trace.presents, clean.trace.presents);
    EXPECT_GE(faulted.trace.presents + 1, clean.trace.presents);
    std::vector<int64_t> scores = ScoresAtPresents(faulted.trace);
    std::vector<int64_t> clean_scores = ScoresAtPresents(clean.trace);
    ASSERT_GE(scores.size(), 100u);
    EXPECT_EQ(std::vector<int64_t>(scores.begin(), scores.begin() + 100),
              std::vector<int64_t>(clean_scores.begin(), clean_scores.begin() + 100));
    const int64_t death = DeathPresent(scores);
    const int64_t clean_death = DeathPresent(clean_scores);
    EXPECT_EQ(clean_death, 251) << "the route's death in the spikes";
    EXPECT_LE(death, clean_death);
    EXPECT_GE(death + 1, clean_death);
}

// A display-mode switch while the window is away loses the device (Direct3D 9) or every
// surface (DirectDraw 7). On return the device is reset or the surfaces restored, with the
// sprites' and tiles' pixels: after the first frame back, every frame is the same as with the
// focus lost alone.
TEST_P(FaultTest, ModeSwitchWhileAwayIsRecoveredOnReturn) {
    const PresentsNothingNote note(Game());
    ScratchFolder away_folder, switched_folder;
    Outcome away = Play(away_folder, "focus-loss@100-160", "95-140");
    Outcome switched = Play(switched_folder, "focus-loss@100-160,lose-device@100-160", "95-140");
    ExpectCleanEnd(away);
    ExpectCleanEnd(switched);
    EXPECT_GE(FindLine(switched.trace, "fault lose-device begins"), 0);
    EXPECT_GE(FindLine(switched.trace, "fault lose-device ends"), 0);
    EXPECT_EQ(switched.trace.presents, away.trace.presents);
    EXPECT_EQ(ScoresAtPresents(switched.trace), ScoresAtPresents(away.trace));
    ExpectSameFrames(away, switched, 95, 100);
    ExpectSameFrames(away, switched, 102, 140);
}

// A loss that is over at once (a driver hiccup, a mode switch by another program that gives
// the display straight back) is recovered by the next flip: Direct3D 9 waits for the device and
// resets it, then presents; DirectDraw 7 restores its surfaces in that flip and presents from
// the next. After that every frame shows the same picture as the run without the loss.
TEST_P(FaultTest, ShortDeviceLossInPlayIsRecoveredByTheNextFlip) {
    const PresentsNothingNote note(Game());
    ScratchFolder clean_folder, faulted_folder;
    Outcome clean = Play(clean_folder, "", "95-135");
    Outcome faulted = Play(faulted_folder, "lose-device@100", "95-135");
    ExpectCleanEnd(clean);
    ExpectCleanEnd(faulted);
    EXPECT_GE(FindLine(faulted.trace, "fault lose-device begins"), 0);
    ASSERT_LE(faulted.trace.presents, clean.trace.presents);
    const uint32_t lost = clean.trace.presents - faulted.trace.presents;
    EXPECT_LE(lost, 1u) << "frames not presented while recovering";
    if (Game().backend == "DX 9") {
        EXPECT_EQ(lost, 0u) << "reset and presented in the same flip";
    }
    ExpectSameFrames(clean, faulted, 95, 100);
    ExpectSameFrames(faulted, clean, 102, 130, lost);
}

// A device that stays lost without the window losing the focus: the Direct3D 9 screen stays
// dark (it becomes active again only on an activation) but the game runs on and ends normally;
// DirectDraw 7 restores its surfaces in the first flip after the loss is over.
TEST_P(FaultTest, LastingDeviceLossWithoutFocusChangeLeavesAGameThatEnds) {
    const PresentsNothingNote note(Game());
    ScratchFolder folder;
    Outcome faulted = Play(folder, "lose-device@100-130", "1");
    ExpectCleanEnd(faulted);
    EXPECT_GE(FindLine(faulted.trace, "fault lose-device ends"), 0);
    if (Game().backend == "DX 9") {
        EXPECT_EQ(faulted.trace.presents, 100u);
    } else {
        EXPECT_GT(faulted.trace.presents, 250u);
    }
}

// A fault list that cannot be used ends the run at once with a message naming it.
TEST_P(FaultTest, MalformedFaultListIsRefusedByName) {
    const PresentsNothingNote note(Game());
    for (const char* bad : {"lose-device", "focus-loss@0-10", "focus-loss@50-40", "lose-device@12x",
                            "melt-cpu@5", "lose-device@99999999999"}) {
        ScratchFolder folder;
        CopyLevel(folder);
        GameRun run = RunGame(Game(), folder, "1 Escape\n", {{"KAVRO_FAULTS", bad}});
        EXPECT_EQ(run.result.exit_code, 2) << bad << ": " << Describe(run.result);
        EXPECT_NE(run.result.error_output.find("kavro: KAVRO_FAULTS: bad fault \"" +
                                               std::string(bad) + "\""),
                  std::string::npos)
            << run.result.error_output;
        EXPECT_FALSE(HasSanitizerReport(run.result.error_output));
    }
}

INSTANTIATE_TEST_SUITE_P(Deliverables, FaultTest, ::testing::ValuesIn(DeliverableNames()),
                         [](const auto& info) { return TestNameOf(info.param); });

}  // namespace
