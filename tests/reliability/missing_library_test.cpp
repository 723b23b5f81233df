// Every run-time library of KAVRO_MISSING on every deliverable: either the game shows the
// start-up message that names what is missing and ends with exit code 0, or it does not need
// that library and plays.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/reliability/deliverables.h"
#include "tests/reliability/trace_file.h"

namespace {

const char kDirectX[] = " - DirectX Error: You need at least DirectX 7 To run this game";
const char k3dCard[] = " - 3D Hardware Error: You need a 3D Card to run this game";
const char kSound[] =
    " - Sound Error: Uhh no Sound Card or any other Programm block the Soundpipes";

// What a deliverable does without `library`: the message (after the caption's title), or null
// when it plays.
const char* Expected(const std::string& backend, const std::string& library) {
    if (library == "dsound.dll") return kSound;
    // Escape is read through DirectInput; the DirectDraw backend also needs it to start.
    if (library == "dinput.dll") return kDirectX;
    if (backend == "DX 9") return library == "d3d9.dll" ? kDirectX : nullptr;
    if (library == "ddraw.dll") return kDirectX;
    if (library == "d3dim700.dll") return k3dCard;
    return nullptr;
}

using Case = std::tuple<std::string, std::string>;

class MissingLibraryTest : public ::testing::TestWithParam<Case> {};

TEST_P(MissingLibraryTest, EndsWithItsMessageOrPlays) {
    const Deliverable& game = DeliverableNamed(std::get<0>(GetParam()));
    const std::string library = std::get<1>(GetParam());
    const PresentsNothingNote note(game);
    ScratchFolder folder;
    CopyLevel(folder);
    GameRun run = RunGame(game, folder, "1-40 Right\n41 Escape\n", {{"KAVRO_MISSING", library}});
    Trace trace = ReadTrace(run.trace_path);
    EXPECT_EQ(run.result.exit_code, 0) << Describe(run.result);
    EXPECT_FALSE(HasSanitizerReport(run.result.error_output)) << run.result.error_output;
    const char* message = Expected(game.backend, library);
    if (message) {
        EXPECT_EQ(run.result.error_output, CaptionPrefix(game) + message + "\n");
        ASSERT_EQ(trace.messages.size(), 1u);
        EXPECT_EQ(trace.messages[0].substr(0, 3), "16 ");
        EXPECT_EQ(trace.presents, 0u) << "no frame before the message";
    } else {
        EXPECT_TRUE(trace.messages.empty());
        EXPECT_EQ(trace.presents, 41u) << "every frame of the script presented";
        EXPECT_EQ(run.result.error_output, "");
    }
}

INSTANTIATE_TEST_SUITE_P(AllLibraries, MissingLibraryTest,
                         ::testing::Combine(::testing::ValuesIn(DeliverableNames()),
                                            ::testing::Values("d3d9.dll", "ddraw.dll",
                                                              "d3dim700.dll", "dinput.dll",
                                                              "dsound.dll")),
                         [](const auto& info) {
                             return TestNameOf(std::get<0>(info.param)) + "_without_" +
                                    TestNameOf(std::get<1>(info.param));
                         });

}  // namespace
