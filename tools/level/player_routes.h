// Where the player can go in a compiled level: every cell its body passes through on some route
// from the start marker. A coarse model of the game's movement, cell by cell, that errs
// towards "not reached" where the game's pixels could go either way:
// - the body is the cell of the body probe; it stands in an open cell over a solid or platform
//   cell, walks one cell left or right (solid cells are walls, deadly ones end the route) and
//   falls straight down from an edge;
// - a slope takes it between the floor at its foot and the floor at its top;
// - on a ladder it climbs and sinks, steps off sideways, and jumps from the top rung;
// - from a standing place with nothing at its head it jumps: straight up through open and
//   platform cells (a solid one bumps the head) and then across, four rows high at most (the
//   jump lifts the body 130 pixels) and a few columns wide, then falls; it lands on a floor
//   at most three rows above the one it left;
// - the scroll limits keep the body in columns 10 .. W - 10 and rows 8 .. H - 8.
#pragma once
#include <cstdint>
#include <utility>
#include <vector>

#include "tools/level/map_file.h"

namespace kavro_level {

inline bool Stops(int16_t attribute) {
    return attribute == kSolid;
}
inline bool Carries(int16_t attribute) {
    return attribute == kSolid || attribute == kPlatform;
}
inline bool IsSlope(int16_t attribute) {
    return attribute == kRisingSlope || attribute == kFallingSlope;
}

// A place to stand: an open cell (x, y) for the body over a solid or platform cell.
bool IsStandingPlace(const Map& map, int x, int y);

class PlayerRoutes {
  public:
    explicit PlayerRoutes(const Map& map);

    // Whether some route takes the body through cell (x, y).
    bool Passes(int x, int y) const;
    // Whether some route stops there: a standing place, ladder rung or slope it lands on.
    bool StopsAt(int x, int y) const;
    // The cells the scroll limits let the body into.
    bool InReach(int x, int y) const;

  private:
    int16_t Attr(int x, int y) const { return map_.At(x, y, 0).attribute; }
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y) * (map_.last_column() + 1) + x;
    }
    void Pass(int x, int y);
    void Arrive(int x, int y);
    void Explore(int x, int y);
    void Step(int x, int y);
    // Falls from (x, y); a landing above row `highest` does not count.
    void Fall(int x, int y, int highest);
    // The body in the air at (x, y) on a jump: passes the cell and falls from it. False when
    // the way on stops there (a wall, a deadly cell, a ladder that catches it).
    bool Through(int x, int y, int highest);
    void Jump(int x, int y, const std::vector<int>& across);

    const Map& map_;
    std::vector<uint8_t> passed_, arrived_;
    std::vector<std::pair<int, int>> queue_;
};

}  // namespace kavro_level
