// The route search: a breadth-first walk over the places the player can stop at (standing
// places, ladder rungs, slopes), marking every cell the body passes on the way.
#include "tools/level/player_routes.h"

#include <climits>

#include "tools/art/tile_catalogue.h"
#include "tools/level/level_rules.h"

namespace kavro_level {

namespace {

// How far a jump carries the body across, by the rows it has risen. A jump from the ground
// lasts 52 frames at 3 pixels a frame (about 5 columns at its own height); it is above the
// third row for 31 frames and above the fourth for 15. A jump from a ladder's top starts at
// 8 pixels a frame and rises about 90 pixels.
const std::vector<int> kGroundJump = {0, 4, 4, 3, 3};
const std::vector<int> kLadderJump = {0, 3, 2};
constexpr int kHighestStepUp = 3;
constexpr int kTopBodyRow = 8;

}  // namespace

bool IsStandingPlace(const Map& map, int x, int y) {
    const int16_t a = map.At(x, y, 0).attribute;
    return !Carries(a) && a != kDeadly && a != kLadder && !IsSlope(a) &&
           Carries(map.At(x, y + 1, 0).attribute);
}

PlayerRoutes::PlayerRoutes(const Map& map)
    : map_(map),
      passed_(static_cast<size_t>(map.last_column() + 1) * (map.last_row() + 1)),
      arrived_(passed_.size()) {
    for (int y = 0; y <= map.last_row() && queue_.empty(); ++y)
        for (int x = 0; x <= map.last_column(); ++x)
            if (map.At(x, y, 0).tile == kavro_art::kStartMarkerTile) {
                Arrive(x, y);
                break;
            }
    for (size_t next = 0; next < queue_.size(); ++next)
        Explore(queue_[next].first, queue_[next].second);
}

bool PlayerRoutes::InReach(int x, int y) const {
    return x >= kPlayerMarginColumns && x <= map_.last_column() - kPlayerMarginColumns &&
           y >= kTopBodyRow && y <= map_.last_row() - kLowestFloorFromBottom - 1;
}

bool PlayerRoutes::Passes(int x, int y) const {
    return map_.Inside(x, y, 0) && passed_[Index(x, y)];
}

bool PlayerRoutes::StopsAt(int x, int y) const {
    return map_.Inside(x, y, 0) && arrived_[Index(x, y)];
}

void PlayerRoutes::Pass(int x, int y) {
    if (InReach(x, y)) passed_[Index(x, y)] = 1;
}

void PlayerRoutes::Arrive(int x, int y) {
    if (!InReach(x, y) || arrived_[Index(x, y)]) return;
    arrived_[Index(x, y)] = passed_[Index(x, y)] = 1;
    queue_.emplace_back(x, y);
}

void PlayerRoutes::Explore(int x, int y) {
    const int16_t a = Attr(x, y);
    if (a == kLadder) {
        if (Attr(x, y - 1) == kLadder) Arrive(x, y - 1);
        if (Attr(x, y + 1) == kLadder)
            Arrive(x, y + 1);
        else if (!Carries(Attr(x, y + 1)))
            Fall(x, y + 1, INT_MIN);
        Step(x - 1, y);
        Step(x + 1, y);
        // Above the top rung the head is free, and a jump can start.
        if (Attr(x, y - 1) == kEmpty) Jump(x, y, kLadderJump);
    } else if (a == kRisingSlope) {
        Step(x - 1, y);
        Step(x + 1, y - 1);
    } else if (a == kFallingSlope) {
        Step(x - 1, y - 1);
        Step(x + 1, y);
    } else {
        Step(x - 1, y);
        Step(x + 1, y);
        // The head probe reads the body's own cell: a jump needs it empty.
        if (a == kEmpty) Jump(x, y, kGroundJump);
    }
}

void PlayerRoutes::Step(int x, int y) {
    if (!InReach(x, y)) return;
    const int16_t a = Attr(x, y);
    if (Stops(a) || a == kDeadly) return;
    if (a == kLadder || IsSlope(a) || Carries(Attr(x, y + 1)))
        Arrive(x, y);
    else
        Fall(x, y, INT_MIN);
}

void PlayerRoutes::Fall(int x, int y, int highest) {
    for (; InReach(x, y); ++y) {
        const int16_t a = Attr(x, y);
        if (Stops(a) || a == kDeadly) return;
        Pass(x, y);
        if (a == kLadder || IsSlope(a) || Carries(Attr(x, y + 1))) {
            if (y >= highest) Arrive(x, y);
            return;
        }
    }
}

bool PlayerRoutes::Through(int x, int y, int highest) {
    if (!InReach(x, y)) return false;
    const int16_t a = Attr(x, y);
    if (Stops(a) || a == kDeadly) return false;
    Pass(x, y);
    if (a == kLadder) {
        Arrive(x, y);
        return false;
    }
    Fall(x, y, highest);
    return true;
}

void PlayerRoutes::Jump(int x, int y, const std::vector<int>& across) {
    const int highest = y - kHighestStepUp;
    for (int k = 1; k < static_cast<int>(across.size()); ++k) {
        if (!Through(x, y - k, highest)) return;
        for (int dir : {-1, 1})
            for (int d = 1; d <= across[k]; ++d)
                if (!Through(x + dir * d, y - k, highest)) break;
    }
}

}  // namespace kavro_level
