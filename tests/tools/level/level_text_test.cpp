// The level text: what a valid level compiles to (keys, autotiles, animations, variants,
// stamps), and that every kind of mistake fails with the file and line of its cause.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tools/art/tile_catalogue.h"
#include "tools/level/level_text.h"

namespace {

using kavro_level::CompileLevel;
using kavro_level::LevelError;
using kavro_level::Map;
using kavro_level::ParseLevelText;

const char kHead[] =
    "kavro-level 1\n"
    "# a comment\n"
    "tile-size 32\n"
    "tileset GFX\\kavro_world.png\n"
    "tileset GFX\\kavro_items.png\n"
    "key . none\n"
    "key # grass attr=solid\n"
    "key - plank attr=platform\n"
    "key S start\n"
    "key o coin attr=bonus speed=0.25\n"
    "key w water alpha=150\n"
    "key t tuft\n";

// A 21 x 16 level: a floor on the last row, the start above it, a coin in layer 1.
struct Level {
    std::vector<std::string> layer0 = std::vector<std::string>(16, std::string(21, '.'));
    std::vector<std::string> layer1 = std::vector<std::string>(16, std::string(21, '.'));
    std::string extra_head, tail;
    Level() {
        layer0[15] = std::string(21, '#');
        layer0[14][12] = 'S';
        layer1[14][15] = 'o';
    }
    std::string Text() const {
        std::string t = std::string(kHead) + extra_head + "layer 0\n";
        for (const auto& r : layer0) t += r + "\n";
        t += "end\nlayer 1\n";
        for (const auto& r : layer1) t += r + "\n";
        return t + "end\n" + tail;
    }
    Map Compile() const { return CompileLevel(ParseLevelText("lvl.txt", Text())); }
};

// Line numbers of the text: the head has 12 lines, "layer 0" is line 13, its rows 14..29,
// "end" 30, "layer 1" 31, its rows 32..47.
constexpr int kFirstRowLine = 14, kFirstLayer1RowLine = 32;

int ErrorLine(const Level& level, std::string* message = nullptr) {
    try {
        level.Compile();
    } catch (const LevelError& e) {
        EXPECT_EQ(e.file, "lvl.txt");
        if (message) *message = e.what();
        return e.line;
    }
    ADD_FAILURE() << "no error";
    return -1;
}

int32_t First(const char* family) {
    return kavro_art::FindTileFamily(family)->first;
}

TEST(LevelText, ValidLevelCompilesToTheGrid) {
    Level level;
    level.tail = "info\nHello there\n  second line\nend\n";
    Map map = level.Compile();
    EXPECT_EQ(map.tile_size(), 32);
    EXPECT_EQ(map.last_column(), 20);
    EXPECT_EQ(map.last_row(), 15);
    EXPECT_EQ(map.last_layer(), 1);
    EXPECT_EQ(map.tilesets,
              (std::vector<std::string>{"GFX\\kavro_world.png", "GFX\\kavro_items.png"}));
    EXPECT_EQ(map.info_lines, (std::vector<std::string>{"Hello there", "  second line"}));
    EXPECT_EQ(map.At(0, 0, 0).tile, -1);
    EXPECT_EQ(map.At(0, 0, 0).alpha, 255);
    EXPECT_EQ(map.At(12, 14, 0).tile, 253);
    EXPECT_EQ(map.At(5, 15, 0).attribute, kavro_level::kSolid);
    const kavro_level::Cell& coin = map.At(15, 14, 1);
    EXPECT_EQ(coin.attribute, kavro_level::kBonus);
    EXPECT_EQ(coin.animated, 1);
    EXPECT_EQ(coin.tile, First("coin"));
    EXPECT_EQ(coin.first_frame, First("coin"));
    EXPECT_EQ(coin.last_frame, First("coin") + 5);
    EXPECT_FLOAT_EQ(coin.anim_speed, 0.25f);
}

TEST(LevelText, AutotilesJoinTheirGroupAndTheMapEdge) {
    Level level;
    level.layer0[10].replace(3, 3, "###");
    level.layer0[11].replace(4, 1, "#");
    Map map = level.Compile();
    const int32_t grass = First("grass");
    using namespace kavro_art;
    EXPECT_EQ(map.At(3, 10, 0).tile, grass + kJoinRight);
    EXPECT_EQ(map.At(4, 10, 0).tile, grass + (kJoinLeft | kJoinRight | kJoinDown));
    EXPECT_EQ(map.At(5, 10, 0).tile, grass + kJoinLeft);
    EXPECT_EQ(map.At(4, 11, 0).tile, grass + kJoinUp);
    // The floor row touches the map's bottom, left and right edges: those count as joined.
    EXPECT_EQ(map.At(0, 15, 0).tile, grass + (kJoinLeft | kJoinRight | kJoinDown));
}

TEST(LevelText, JoinAndGroupSettings) {
    Level level;
    level.extra_head = "key = stone attr=solid join=grass\nkey p plank group=grass\n";
    level.layer0[14].replace(2, 2, "=p");
    Map map = level.Compile();
    using namespace kavro_art;
    // Stone joins the grass floor below and the plank (group grass) beside it; the grass floor
    // does not join the stone above, but it joins the plank.
    EXPECT_EQ(map.At(2, 14, 0).tile, First("stone") + (kJoinDown | kJoinRight));
    EXPECT_EQ(map.At(2, 15, 0).tile, First("grass") + (kJoinLeft | kJoinRight | kJoinDown));
    EXPECT_EQ(map.At(3, 15, 0).tile,
              First("grass") + (kJoinUp | kJoinLeft | kJoinRight | kJoinDown));
}

TEST(LevelText, VariantsStampsAndExplicitTiles) {
    Level level;
    level.extra_head = "key 9 9\nkey x tuft:2\n";
    for (int x = 0; x < 21; ++x) level.layer1[12][x] = 't';
    level.layer1[11][0] = '9';
    level.layer1[11][1] = 'x';
    level.tail = "stamp tree 1 16 8\n";
    Map map = level.Compile();
    std::set<int> seen;
    for (int x = 0; x < 21; ++x) {
        int t = map.At(x, 12, 1).tile;
        EXPECT_GE(t, First("tuft"));
        EXPECT_LT(t, First("tuft") + 3);
        seen.insert(t);
    }
    EXPECT_GT(seen.size(), 1u);
    EXPECT_EQ(map.At(0, 11, 1).tile, 9);
    EXPECT_EQ(map.At(1, 11, 1).tile, First("tuft") + 2);
    EXPECT_EQ(map.At(16, 8, 1).tile, First("tree"));
    EXPECT_EQ(map.At(18, 11, 1).tile, First("tree") + 11);
}

TEST(LevelText, SyntaxErrorsNameTheirLine) {
    auto line_of = [](const std::string& text) {
        try {
            ParseLevelText("f.txt", text);
        } catch (const LevelError& e) {
            return e.line;
        }
        return -1;
    };
    EXPECT_EQ(line_of("hello\n"), 1);
    EXPECT_EQ(line_of(""), 1);
    EXPECT_EQ(line_of("kavro-level 1\nwhatever 3\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\nkey\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\nkey ab grass\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\nkey a grass\n\nkey a stone\n"), 4);
    EXPECT_EQ(line_of("kavro-level 1\nkey a grass attr=sticky\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\nkey a grass alpha=256\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\nkey a coin speed=-1\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\nkey a coin speed=nan\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\nkey a coin colour=red\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\nlayer 1\n.\nend\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\nlayer 0\n...\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\nlayer 0\n...\n\nend\n"), 4);
    EXPECT_EQ(line_of("kavro-level 1\nstamp tree 1 2\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\ninfo\ntext\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\ntile-size 0\n"), 2);
    EXPECT_EQ(line_of("kavro-level 1\r\ntileset\r\n"), 2);
    // '#' is a comment only at the start of a line outside blocks; it may be a key.
    EXPECT_EQ(line_of("kavro-level 1\nkey # grass\n  # indented comment\n"), -1);
}

TEST(LevelText, GridMistakesNameTheRow) {
    std::string m;
    Level unknown;
    unknown.layer0[3][7] = '?';
    EXPECT_EQ(ErrorLine(unknown, &m), kFirstRowLine + 3);
    EXPECT_NE(m.find("column 7"), std::string::npos) << m;

    Level ragged;
    ragged.layer1[5] += ".";
    EXPECT_EQ(ErrorLine(ragged), kFirstLayer1RowLine + 5);

    Level no_marker;
    no_marker.layer0[14][12] = '.';
    EXPECT_EQ(ErrorLine(no_marker, &m), 13);
    EXPECT_NE(m.find("start marker"), std::string::npos);

    Level two_markers;
    two_markers.layer0[14][3] = 'S';
    EXPECT_EQ(ErrorLine(two_markers), kFirstRowLine + 14);

    Level bonus_in_layer0;
    bonus_in_layer0.layer0[2][2] = 'o';
    EXPECT_EQ(ErrorLine(bonus_in_layer0), kFirstRowLine + 2);

    Level solid_in_layer1;
    solid_in_layer1.layer1[4][4] = '#';
    EXPECT_EQ(ErrorLine(solid_in_layer1), kFirstLayer1RowLine + 4);
}

TEST(LevelText, WhatTheGameNeedsIsEnforced) {
    std::string m;
    Level small;
    for (auto& r : small.layer0) r.pop_back();
    for (auto& r : small.layer1) r.pop_back();
    EXPECT_EQ(ErrorLine(small, &m), 13);
    EXPECT_NE(m.find("21 columns and 16 rows"), std::string::npos) << m;

    Level tiles16;
    tiles16.extra_head = "tile-size 16\n";
    EXPECT_EQ(ErrorLine(tiles16), 13);

    Level wrong_tileset;
    std::string text = wrong_tileset.Text();
    text.replace(text.find("kavro_items"), 11, "other_items");
    try {
        CompileLevel(ParseLevelText("lvl.txt", text));
        ADD_FAILURE();
    } catch (const LevelError& e) {
        EXPECT_EQ(e.line, 5);
    }

    std::string one_layer = Level().Text();
    one_layer = one_layer.substr(0, one_layer.find("layer 1"));
    try {
        CompileLevel(ParseLevelText("lvl.txt", one_layer));
        ADD_FAILURE();
    } catch (const LevelError& e) {
        EXPECT_NE(std::string(e.what()).find("two layers"), std::string::npos);
    }
}

TEST(LevelText, KeyMistakesNameTheKeyLine) {
    std::string m;
    Level unknown_family;
    unknown_family.extra_head = "key z marble\n";
    EXPECT_EQ(ErrorLine(unknown_family, &m), 13);
    EXPECT_NE(m.find("marble"), std::string::npos);

    Level anim_without_speed;
    anim_without_speed.extra_head = "key z lava attr=deadly\n";
    EXPECT_EQ(ErrorLine(anim_without_speed), 13);

    Level speed_on_still_tile;
    speed_on_still_tile.extra_head = "key z rock speed=0.5\n";
    EXPECT_EQ(ErrorLine(speed_on_still_tile), 13);

    Level tile_out_of_range;
    tile_out_of_range.extra_head = "key z 9999\n";
    EXPECT_EQ(ErrorLine(tile_out_of_range), 13);

    Level bad_index;
    bad_index.extra_head = "key z coin:6\n";
    EXPECT_EQ(ErrorLine(bad_index), 13);

    Level stamp_as_key;
    stamp_as_key.extra_head = "key z tree\n";
    EXPECT_EQ(ErrorLine(stamp_as_key), 13);
}

TEST(LevelText, StampMistakes) {
    Level outside;
    outside.tail = "stamp tree 1 19 10\n";
    EXPECT_EQ(ErrorLine(outside), 49);
    Level overlap;
    overlap.tail = "stamp tree 1 14 11\n";  // covers the coin at (15, 14)
    EXPECT_EQ(ErrorLine(overlap), 49);
    Level not_a_stamp;
    not_a_stamp.tail = "stamp coin 1 2 2\n";
    EXPECT_EQ(ErrorLine(not_a_stamp), 49);
}

}  // namespace
