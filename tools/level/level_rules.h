// Playability rules of a compiled level, from the way the game moves the player: what it can
// stand on, where its probes look, how slopes and ladders carry it, where the creature walks,
// what it can reach and see, and whether every tile does what it looks like.
#pragma once
#include <string>
#include <vector>

#include "tools/level/level_text.h"
#include "tools/level/map_file.h"

namespace kavro_level {

struct Finding {
    int x, y, layer;
    std::string message;
};

// Scroll limits keep the player's left edge at map x 320 .. 32W - 320: its centre column runs
// from 10 to W - 10, and it stands on floor rows 9 .. H - 7.
inline constexpr int kPlayerMarginColumns = 10;
inline constexpr int kLowestFloorFromBottom = 7;
// The creature walks map x 319 .. 571 with its feet on row 33.
inline constexpr int kCreatureFloorRow = 33;
inline constexpr int kCreatureFirstColumn = 9, kCreatureLastColumn = 18;

// All the rules below, and the movement rules of level_rules.cpp.
std::vector<Finding> CheckLevelRules(const Map& map);
// Every cell behaves as its tiles look (tile_looks.cpp).
void CheckTileLooks(const Map& map, std::vector<Finding>& found);
// Every drawn floor and every bonus is reachable, and no step drops the player blindly into a
// deadly cell (reach_rules.cpp).
void CheckReach(const Map& map, std::vector<Finding>& found);

// A finding as the level compiler reports it: "FILE:LINE: message (layer L, column X, row Y)",
// LINE being the line of the level text that holds the cell's row.
std::string FindingText(const LevelSource& source, const Finding& finding);

}  // namespace kavro_level
