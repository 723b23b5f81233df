// Playability rules of a compiled level, from the way the game moves the player: what it can
// stand on, where its probes look, how slopes and ladders carry it, where the creature walks.
#pragma once
#include <string>
#include <vector>

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

std::vector<Finding> CheckLevelRules(const Map& map);

}  // namespace kavro_level
