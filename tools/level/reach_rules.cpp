// The rules of what the player can reach and see:
// - every floor the level draws (a run of standing places side by side) is reached by some
//   route, so no ledge, plateau or cave shows a place the player cannot get to;
// - every bonus lies on some route;
// - no blind drops: a step off a floor never drops the player into a deadly cell lower than
//   the screen of a player standing on that floor shows, five rows below the floor.
#include <string>

#include "tools/level/level_rules.h"
#include "tools/level/player_routes.h"

namespace kavro_level {

namespace {

// Standing on floor row f puts the view's top at 32 f - 270, so the screen's bottom edge is
// 209 pixels below the floor's top: rows f + 1 .. f + 5 show whole, row f + 6 only its top.
constexpr int kRowsSeenBelowFloor = 5;

bool Drawn(const Map& map, int x, int y) {
    return map.At(x, y, 0).tile >= 0 || map.At(x, y, 1).tile >= 0 || map.At(x, y + 1, 0).tile >= 0;
}

void Floors(const Map& map, const PlayerRoutes& routes, std::vector<Finding>& found) {
    for (int y = 0; y < map.last_row(); ++y)
        for (int x = 0; x <= map.last_column();) {
            if (!IsStandingPlace(map, x, y)) {
                ++x;
                continue;
            }
            const int first = x;
            bool drawn = false, reached = false;
            for (; x <= map.last_column() && IsStandingPlace(map, x, y); ++x) {
                drawn = drawn || Drawn(map, x, y);
                reached = reached || routes.StopsAt(x, y);
            }
            if (drawn && !reached)
                found.push_back({first, y + 1, 0,
                                 "no route leads the player onto this floor (columns " +
                                     std::to_string(first) + " to " + std::to_string(x - 1) +
                                     "): every place the level shows to stand on must be "
                                     "reachable"});
        }
}

void Bonuses(const Map& map, const PlayerRoutes& routes, std::vector<Finding>& found) {
    for (int y = 0; y <= map.last_row(); ++y)
        for (int x = 0; x <= map.last_column(); ++x)
            if (map.At(x, y, 1).attribute == kBonus && routes.InReach(x, y) && !routes.Passes(x, y))
                found.push_back({x, y, 1, "no route takes the player's body through this bonus"});
}

void BlindDrops(const Map& map, const PlayerRoutes& routes, std::vector<Finding>& found) {
    for (int y = 0; y < map.last_row(); ++y)
        for (int x = 0; x <= map.last_column(); ++x) {
            if (!IsStandingPlace(map, x, y) || !routes.StopsAt(x, y)) continue;
            for (int dir : {-1, 1}) {
                const int side = x + dir;
                if (!routes.InReach(side, y)) continue;
                const int16_t a = map.At(side, y, 0).attribute;
                if (Stops(a) || a == kDeadly || a == kLadder || IsSlope(a)) continue;
                int drop = y;
                while (drop <= map.last_row()) {
                    const int16_t b = map.At(side, drop, 0).attribute;
                    if (b == kDeadly || b == kLadder || IsSlope(b) ||
                        Carries(map.At(side, drop + 1, 0).attribute))
                        break;
                    ++drop;
                }
                if (drop > map.last_row() || map.At(side, drop, 0).attribute != kDeadly) continue;
                if (drop - (y + 1) <= kRowsSeenBelowFloor) continue;
                found.push_back({x, y + 1, 0,
                                 std::string("a step ") + (dir < 0 ? "left" : "right") +
                                     " off this floor drops the player into a deadly cell " +
                                     std::to_string(drop - y - 1) + " rows below it (row " +
                                     std::to_string(drop) +
                                     "), below the screen of a player standing here: it must "
                                     "be at most " +
                                     std::to_string(kRowsSeenBelowFloor) +
                                     " rows below the floor"});
            }
        }
}

}  // namespace

void CheckReach(const Map& map, std::vector<Finding>& found) {
    const PlayerRoutes routes(map);
    Floors(map, routes, found);
    Bonuses(map, routes, found);
    BlindDrops(map, routes, found);
}

}  // namespace kavro_level
