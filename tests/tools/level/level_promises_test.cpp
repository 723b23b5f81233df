// The level compiler refuses a level that breaks a promise to the player, with the line of the
// offending row: a tile whose look lies about its cell, a floor or bonus no route reaches, a
// step into a deadly cell below the screen. Each case edits one small valid level.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/level/level_rules.h"
#include "tools/level/level_text.h"

namespace {

const char kHead[] =
    "kavro-level 1\n"
    "tileset GFX\\kavro_world.png\n"
    "tileset GFX\\kavro_items.png\n"
    "key . none\n"
    "key # stone attr=solid\n"
    "key S start\n"
    "key H ladder attr=ladder\n"
    "key ~ lava-top attr=deadly speed=0.1\n"
    "key p stone\n"
    "key x spikes\n"
    "key q tuft attr=solid\n"
    "key c cave join=stone\n"
    "key o coin attr=bonus speed=0.2\n"
    "key O coin speed=0.2\n";
// The head has 14 lines: "layer 0" is line 15, its rows 16..56, "end" 57, "layer 1" 58, its
// rows 59..99.
constexpr int kRowLine[2] = {16, 59};
constexpr int kWidth = 40, kHeight = 41;

struct Edit {
    int layer, x, y;
    const char* cells;
};

// 40 x 41 cells: stone from row 33 (the lowest floor) down, the start marker on it.
std::string LevelText(const std::vector<Edit>& edits) {
    std::vector<std::string> rows[2];
    for (auto& layer : rows) layer.assign(kHeight, std::string(kWidth, '.'));
    for (int y = 33; y < kHeight; ++y) rows[0][y].assign(kWidth, '#');
    rows[0][32][12] = 'S';
    for (const Edit& e : edits)
        rows[e.layer][e.y].replace(e.x, std::string(e.cells).size(), e.cells);
    std::string text = kHead;
    for (int layer = 0; layer < 2; ++layer) {
        text += "layer " + std::to_string(layer) + "\n";
        for (const std::string& row : rows[layer]) text += row + "\n";
        text += "end\n";
    }
    return text;
}

std::vector<std::string> Findings(const std::vector<Edit>& edits) {
    const kavro_level::LevelSource source =
        kavro_level::ParseLevelText("lvl.txt", LevelText(edits));
    std::vector<std::string> texts;
    for (const kavro_level::Finding& f :
         kavro_level::CheckLevelRules(kavro_level::CompileLevel(source)))
        texts.push_back(kavro_level::FindingText(source, f));
    return texts;
}

TEST(LevelPromises, TheBaseLevelKeepsThemAll) {
    EXPECT_EQ(Findings({}), std::vector<std::string>{});
}

struct Case {
    const char* name;
    std::vector<Edit> edits;
    int layer, row;     // the refused cell's row; -1: the level passes
    const char* words;  // in every finding
};

class Refusal : public ::testing::TestWithParam<Case> {};

TEST_P(Refusal, NamesTheLineOfTheRow) {
    const Case& c = GetParam();
    const std::vector<std::string> found = Findings(c.edits);
    if (c.row < 0) {
        EXPECT_EQ(found, std::vector<std::string>{});
        return;
    }
    ASSERT_FALSE(found.empty());
    const std::string prefix = "lvl.txt:" + std::to_string(kRowLine[c.layer] + c.row) + ": ";
    EXPECT_EQ(found[0].rfind(prefix, 0), 0u) << found[0];
    for (const std::string& f : found) EXPECT_NE(f.find(c.words), std::string::npos) << f;
}

// A ledge at row `floor` (columns 21 to 23) with a ladder up to it from the bottom floor at
// column 20, and lava in that floor at column 24, right below the ledge's right end.
std::vector<Edit> LedgeOverLava(int floor) {
    std::vector<Edit> edits = {{0, 21, floor, "###"}, {0, 24, 33, "~"}};
    for (int y = floor - 1; y <= 32; ++y) edits.push_back({0, 20, y, "H"});
    return edits;
}

const Case kCases[] = {
    {"StoneThatLetsThePlayerThrough", {{0, 20, 31, "p"}}, 0, 31, "looks like solid ground"},
    {"HarmlessSpikes", {{0, 22, 32, "x"}}, 0, 32, "looks like a hazard, but the cell lets"},
    {"SceneryThatStops", {{0, 24, 32, "q"}}, 0, 32, "looks like scenery to walk past, but"},
    {"CaveWallUnderTheSky", {{0, 26, 32, "c"}}, 0, 32, "looks like solid ground"},
    {"CaveWallUnderARoof", {{0, 26, 31, "#"}, {0, 26, 32, "c"}}, -1, -1, ""},
    {"CoinThatIsNoBonus", {{1, 15, 32, "O"}}, 1, 32, "looks like a bonus, but the cell cannot"},
    {"FloorFourRowsUp", {{0, 20, 29, "###"}}, 0, 29, "no route leads the player onto"},
    {"FloorThreeRowsUp", {{0, 20, 30, "###"}}, -1, -1, ""},
    {"BonusFiveRowsUp", {{1, 15, 27, "o"}}, 1, 27, "no route takes the player's body"},
    {"BonusFourRowsUp", {{1, 15, 28, "o"}}, -1, -1, ""},
    {"StepIntoLavaSixRowsDown", LedgeOverLava(27), 0, 27, "a step right off this floor"},
    {"StepIntoLavaFiveRowsDown", LedgeOverLava(28), -1, -1, ""},
};

INSTANTIATE_TEST_SUITE_P(Levels, Refusal, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
