// Keyboard scripts with malformed lines, and scripts that cannot be read: the run ends before
// the game starts, with exit code 2 and one line on standard error that names the setting, the
// script and the offending line. A run that silently read such a line as "no key" would test
// something else than its author meant.
#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "tests/reliability/deliverables.h"
#include "tests/reliability/trace_file.h"

namespace {

struct BadScript {
    const char* name;
    const char* text;
    const char* complaint;  // what the message says after "line N: "
};

const BadScript kBadScripts[] = {
    {"misspelt_key", "1-60 Right\n30 Rihgt\n", "line 2: unknown key \"Rihgt\""},
    {"backwards_range", "# route\n\n5-3 Left\n", "line 3: frame range \"5-3\" runs backwards"},
    {"frame_zero", "0 Escape\n", "line 1: bad frame \"0\""},
    {"scan_code_too_big", "1-60 Right\n61 Escape Space 0x100\n", "line 2: unknown key \"0x100\""},
    {"scan_code_zero", "1 0x00\n", "line 1: unknown key \"0x00\""},
    {"letters_in_frame", "12abc Right\n", "line 1: bad frame \"12abc\""},
    {"double_dash", "1 Right\n2 Right\n1--5 Up\n", "line 3: bad frame range \"1--5\""},
    {"frame_too_big", "99999999999 Escape\n", "line 1: bad frame \"99999999999\""},
    {"keys_before_frame", "Right 5\n", "line 1: bad frame \"Right\""},
    {"windows_line_ends", "1-10 Right\r\n11 Space\r\n12 Lfet\r\n", "line 3: unknown key \"Lfet\""},
};

using Case = std::tuple<std::string, size_t>;

class KeyboardScriptTest : public ::testing::TestWithParam<Case> {};

TEST_P(KeyboardScriptTest, MalformedLineIsNamed) {
    const Deliverable& game = DeliverableNamed(std::get<0>(GetParam()));
    const BadScript& bad = kBadScripts[std::get<1>(GetParam())];
    const PresentsNothingNote note(game);
    ScratchFolder folder;
    CopyLevel(folder);
    GameRun run = RunGame(game, folder, bad.text);
    EXPECT_EQ(run.result.exit_code, 2) << Describe(run.result);
    const std::string expected =
        "kavro: KAVRO_KEYS: " + folder.File("keys.txt") + " " + bad.complaint;
    EXPECT_EQ(run.result.error_output.rfind(expected, 0), 0u) << run.result.error_output;
    EXPECT_EQ(run.result.error_output.find('\n'), run.result.error_output.size() - 1) << "one line";
    EXPECT_EQ(ReadTrace(run.trace_path).presents, 0u) << "the game never started";
}

INSTANTIATE_TEST_SUITE_P(BadLines, KeyboardScriptTest,
                         ::testing::Combine(::testing::ValuesIn(DeliverableNames()),
                                            ::testing::Range<size_t>(0, std::size(kBadScripts))),
                         [](const auto& info) {
                             return TestNameOf(std::get<0>(info.param)) + "_" +
                                    kBadScripts[std::get<1>(info.param)].name;
                         });

class KeyboardScriptFileTest : public ::testing::TestWithParam<std::string> {};

TEST_P(KeyboardScriptFileTest, MissingOrFolderScriptIsRefused) {
    const Deliverable& game = DeliverableNamed(GetParam());
    const PresentsNothingNote note(game);
    ScratchFolder folder;
    CopyLevel(folder);
    std::filesystem::create_directory(folder.Path() / "a_folder");
    for (const std::string& path : {folder.File("no_such_script.txt"), folder.File("a_folder")}) {
        GameRun run = RunGame(game, folder, "", {{"KAVRO_KEYS", path}});
        EXPECT_EQ(run.result.exit_code, 2) << path << ": " << Describe(run.result);
        EXPECT_EQ(run.result.error_output.rfind(
                      "kavro: KAVRO_KEYS: cannot read the keyboard script " + path, 0),
                  0u)
            << run.result.error_output;
    }
}

// The accepted forms together (comments, blank lines, overlaps, any case, scan codes, CR LF)
// play to the Escape they ask for.
TEST_P(KeyboardScriptFileTest, WellFormedScriptPlaysToItsEscape) {
    const Deliverable& game = DeliverableNamed(GetParam());
    const PresentsNothingNote note(game);
    ScratchFolder folder;
    CopyLevel(folder);
    GameRun run = RunGame(game, folder,
                          "# a comment line\r\n\r\n1-20 right   # walk\r\n10-12 SPACE 0xCD\r\n"
                          "\t15 Up LeftShift\r\n25 escape\r\n");
    EXPECT_EQ(run.result.exit_code, 0) << Describe(run.result);
    EXPECT_EQ(ReadTrace(run.trace_path).presents, 25u);
}

INSTANTIATE_TEST_SUITE_P(Deliverables, KeyboardScriptFileTest,
                         ::testing::ValuesIn(DeliverableNames()),
                         [](const auto& info) { return TestNameOf(info.param); });

}  // namespace
