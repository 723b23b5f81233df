// The shipped "Kavro.Map" cut at lengths sampled across the whole file: inside the header,
// through the cell records (also in the middle of a record), at the tileset count and names,
// and in the info text. Reads past the end give zeros, so each length leads to one known
// outcome: the game's message for a header it cannot use, or a game that plays.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/reliability/deliverables.h"
#include "tests/reliability/trace_file.h"

namespace {

enum class From { kStart, kCells, kCellsEnd, kEnd };

struct Cut {
    const char* name;
    From from;
    int64_t offset;       // bytes; for kCells, thousandths of the cell records
    const char* problem;  // the map message's ending, or null: the game plays
};

const char kNotAMap[] = " is not a level map.";
const char kVersion[] = " has a map version this game cannot read.";
const char kNoGrid[] = " describes a grid this game cannot hold.";
const char kSmall[] = " is smaller than one screen (21 x 16 cells).";

const Cut kCuts[] = {
    {"empty", From::kStart, 0, kNotAMap},
    {"1_byte", From::kStart, 1, kNotAMap},
    {"2_bytes", From::kStart, 2, kNotAMap},
    // "LVD" with the version characters missing (read as zeros).
    {"3_bytes", From::kStart, 3, kVersion},
    {"5_bytes", From::kStart, 5, kVersion},
    // Version complete, tile size missing (0).
    {"6_bytes", From::kStart, 6, kNoGrid},
    {"header_only", From::kStart, 7, kNoGrid},
    // Tile size 32 from its low byte; the grid is 1 x 1, then 120 x 1.
    {"8_bytes", From::kStart, 8, kSmall},
    {"9_bytes", From::kStart, 9, kSmall},
    {"10_bytes", From::kStart, 10, kSmall},
    {"11_bytes", From::kStart, 11, kSmall},
    // 120 x 42 cells, one layer (the layer count missing), every cell zero.
    {"12_bytes", From::kStart, 12, nullptr},
    {"13_bytes", From::kStart, 13, nullptr},
    {"no_cells", From::kStart, 14, nullptr},
    {"first_cell_cut", From::kStart, 21, nullptr},
    {"one_cell", From::kStart, 29, nullptr},
    {"cells_1_percent", From::kCells, 10, nullptr},
    {"cells_10_percent", From::kCells, 100, nullptr},
    {"cells_25_percent", From::kCells, 250, nullptr},
    {"cells_40_percent", From::kCells, 400, nullptr},
    {"cells_50_percent", From::kCells, 500, nullptr},
    {"cells_60_percent", From::kCells, 600, nullptr},
    {"cells_75_percent", From::kCells, 750, nullptr},
    {"cells_90_percent", From::kCells, 900, nullptr},
    {"cells_99_percent", From::kCells, 990, nullptr},
    {"last_cell_cut", From::kCellsEnd, -1, nullptr},
    {"cells_complete", From::kCellsEnd, 0, nullptr},
    {"name_count_cut", From::kCellsEnd, 1, nullptr},
    {"no_names", From::kCellsEnd, 2, nullptr},
    {"first_name_cut", From::kCellsEnd, 12, nullptr},
    {"first_name_without_line_end", From::kCellsEnd, 21, nullptr},
    {"first_name_cr_only", From::kCellsEnd, 22, nullptr},
    {"second_name_cut", From::kCellsEnd, 35, nullptr},
    {"names_complete", From::kCellsEnd, 44, nullptr},
    {"info_text_cut", From::kEnd, -60, nullptr},
    {"last_byte_missing", From::kEnd, -1, nullptr},
};

// The length of a cut of a map file of `size` bytes whose cell records end at `cells_end`.
// Cuts into the records land 7 bytes into one, in the middle of its fields.
int64_t LengthOf(const Cut& cut, int64_t size, int64_t cells_end) {
    switch (cut.from) {
        case From::kStart:
            return cut.offset;
        case From::kCells: {
            int64_t records = (cells_end - 14) / 15;
            return 14 + records * cut.offset / 1000 * 15 + 7;
        }
        case From::kCellsEnd:
            return cells_end + cut.offset;
        case From::kEnd:
            return size + cut.offset;
    }
    return 0;
}

using Case = std::tuple<std::string, size_t>;

class MapTruncationTest : public ::testing::TestWithParam<Case> {};

TEST_P(MapTruncationTest, EndsWithTheMapMessageOrPlays) {
    const Deliverable& game = DeliverableNamed(std::get<0>(GetParam()));
    const Cut& cut = kCuts[std::get<1>(GetParam())];
    const PresentsNothingNote note(game);
    ScratchFolder folder;
    CopyLevel(folder);
    const std::string level = ReadFileBytes(folder.Path() / "Kavro.Map");
    ASSERT_GT(level.size(), 14u);
    const int64_t w = static_cast<uint8_t>(level[9]) | (static_cast<uint8_t>(level[10]) << 8);
    const int64_t h = static_cast<uint8_t>(level[11]) | (static_cast<uint8_t>(level[12]) << 8);
    const int64_t l = static_cast<uint8_t>(level[13]);
    const int64_t cells_end = 14 + 15 * (w + 1) * (h + 1) * (l + 1);
    ASSERT_LT(cells_end + 44, static_cast<int64_t>(level.size())) << "the shipped level changed";
    const int64_t length = LengthOf(cut, static_cast<int64_t>(level.size()), cells_end);
    ASSERT_GE(length, 0);
    ASSERT_LT(length, static_cast<int64_t>(level.size()));
    folder.Write("Kavro.Map", level.substr(0, static_cast<size_t>(length)));

    GameRun run = RunGame(game, folder, "1-30 Right\n31 Escape\n", {}, 120);
    Trace trace = ReadTrace(run.trace_path);
    EXPECT_EQ(run.result.exit_code, 0) << length << " bytes: " << Describe(run.result);
    EXPECT_FALSE(HasSanitizerReport(run.result.error_output)) << run.result.error_output;
    if (cut.problem) {
        EXPECT_EQ(
            run.result.error_output,
            CaptionPrefix(game) + " - Map Error: The level map Kavro.Map" + cut.problem + "\n")
            << length << " bytes";
        EXPECT_EQ(trace.presents, 0u);
    } else {
        EXPECT_EQ(run.result.error_output, "") << length << " bytes";
        EXPECT_TRUE(trace.messages.empty()) << length << " bytes";
        EXPECT_GE(trace.presents, 1u) << length << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(SampledLengths, MapTruncationTest,
                         ::testing::Combine(::testing::ValuesIn(DeliverableNames()),
                                            ::testing::Range<size_t>(0, std::size(kCuts))),
                         [](const auto& info) {
                             return TestNameOf(std::get<0>(info.param)) + "_" +
                                    kCuts[std::get<1>(info.param)].name;
                         });

}  // namespace
