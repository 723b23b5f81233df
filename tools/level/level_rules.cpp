// The playability rules. Each comes from the player's movement in the game loop:
// - the feet probe stands on solid (1) and platform (2) cells, the body probe dies in deadly
//   (3) ones; a column without such a cell by row H - 7 lets the player fall below the view;
// - the start marker drops the player 14 pixels onto the cell below it;
// - a slope lifts the player across its one cell from the slope base taken when it first
//   touches it, so slopes stand alone on solid ground, and a landing that rounds a half row
//   (view_y / 32 = k + 0.5, ties to even) must round towards the floor the slope leads to;
// - the side probe sees solid cells as walls at the body's height, so the upper floor left of
//   a falling slope must be a platform or the player walking up to the left hits it;
// - a ladder is climbed while the head probe reads a ladder and left by jumping, which needs
//   an empty cell above it;
// - bonuses are taken by the body probe, which never enters solid or deadly cells;
// - a fall gains 0.4 pixels per frame each frame and a landing snaps to the nearest row, so a
//   fall that ends faster than 18 pixels per frame can snap the player a row into the floor.
#include "tools/level/level_rules.h"

#include <algorithm>
#include <set>

#include "content/tiles.h"
#include "tools/level/player_routes.h"

namespace kavro_level {

namespace {

bool Blocks(int16_t a) {
    return a == kSolid || a == kPlatform || a == kDeadly;
}

class Rules {
  public:
    explicit Rules(const Map& m) : m_(m), w_(m.last_column()), h_(m.last_row()) {}

    std::vector<Finding> Run() {
        Floors();
        Drops();
        StartMarker();
        Creature();
        for (int y = 0; y <= h_; ++y)
            for (int x = 0; x <= w_; ++x) {
                int16_t a = Attr(x, y);
                if (IsSlope(a)) Slope(x, y, a);
                if (a == kLadder && Attr(x, y - 1) != kLadder) LadderTop(x, y);
                if (m_.At(x, y, 1).attribute == kBonus) Bonus(x, y);
            }
        return std::move(found_);
    }

  private:
    int16_t Attr(int x, int y) const { return m_.At(x, y, 0).attribute; }
    void Add(int x, int y, int layer, const std::string& message) {
        found_.push_back({x, y, layer, message});
    }

    void Floors() {
        const int lowest = h_ - kLowestFloorFromBottom;
        for (int x = kPlayerMarginColumns; x <= w_ - kPlayerMarginColumns; ++x)
            if (!Blocks(Attr(x, lowest)))
                Add(x, lowest, 0,
                    "row " + std::to_string(lowest) +
                        " is the lowest the player can stand on: it needs a solid, "
                        "platform or deadly cell in every column the player reaches");
    }

    // From every floor the player can jump 130 pixels and drift five columns either way; the
    // first cell that stops the fall below must be close enough.
    void Drops() {
        constexpr int kJumpHeight = 130, kDrift = 5, kSafeDrop = 400;
        const int first = kPlayerMarginColumns, last = w_ - kPlayerMarginColumns;
        for (int f = 1; f <= h_; ++f)
            for (int x = first; x <= last; ++x) {
                if (!Carries(Attr(x, f)) || Blocks(Attr(x, f - 1))) continue;
                for (int x2 = std::max(first, x - kDrift); x2 <= std::min(last, x + kDrift); ++x2) {
                    int stop = f - 3;
                    while (stop <= h_ && !Blocks(Attr(x2, stop)) && Attr(x2, stop) != kLadder)
                        ++stop;
                    if (stop > h_ || kTileSizePixels * (stop - f) + kJumpHeight <= kSafeDrop)
                        continue;
                    if (!reported_drop_.insert(int64_t{stop} * 65536 + x2).second) continue;
                    Add(x2, stop, 0,
                        "a fall from the floor at column " + std::to_string(x) + ", row " +
                            std::to_string(f) +
                            " lands here too fast (more than "
                            "8 rows): the landing can sink the player into the ground");
                }
            }
    }

    void StartMarker() {
        for (int y = 0; y <= h_; ++y)
            for (int x = 0; x <= w_; ++x) {
                if (m_.At(x, y, 0).tile != kavro_content::kStartMarkerTile) continue;
                if (x < kPlayerMarginColumns || x > w_ - kPlayerMarginColumns)
                    Add(x, y, 0, "the start marker must lie in columns 10 to W - 10");
                if (Attr(x, y + 1) != kSolid)
                    Add(x, y, 0, "the start marker needs solid ground right below it");
                if (Attr(x, y) != kEmpty) Add(x, y, 0, "the start marker cell must be empty");
            }
    }

    void Creature() {
        if (h_ < kCreatureFloorRow) {
            Add(0, h_, 0, "the creature walks on row 33: the map needs at least 34 rows");
            return;
        }
        for (int x = kCreatureFirstColumn; x <= kCreatureLastColumn; ++x) {
            if (Attr(x, kCreatureFloorRow) != kSolid)
                Add(x, kCreatureFloorRow, 0,
                    "the creature's floor (row 33, columns 9 to 18) must be solid");
            if (Blocks(Attr(x, kCreatureFloorRow - 1)))
                Add(x, kCreatureFloorRow - 1, 0, "the creature walks through row 32: keep it open");
        }
    }

    void Slope(int x, int y, int16_t a) {
        if (Attr(x, y + 1) != kSolid) Add(x, y, 0, "a slope needs solid ground below it");
        if (IsSlope(Attr(x - 1, y)) || IsSlope(Attr(x + 1, y)))
            Add(x, y, 0, "slopes lift by one cell each: keep them apart with flat ground");
        const int lower_floor = y + 1;
        if (a == kRisingSlope) {
            if (!Carries(Attr(x + 1, y)))
                Add(x, y, 0, "a rising slope leads up to ground on its right");
            if (Blocks(Attr(x - 1, y)))
                Add(x, y, 0, "a rising slope starts from open ground on its left");
            if (lower_floor % 2 == 0)
                Add(x, y, 0,
                    "a rising slope on an even floor row can bounce the player off its top "
                    "(half-row landing rounds upwards): move it one row");
        } else {
            if (Attr(x - 1, y) != kPlatform)
                Add(x, y, 0,
                    "the ground left of a falling slope must be a platform, or it is a "
                    "wall for a player walking up the slope");
            if (Blocks(Attr(x + 1, y)))
                Add(x, y, 0, "a falling slope ends on open ground on its right");
            if (lower_floor % 2 != 0)
                Add(x, y, 0,
                    "a falling slope on an odd floor row can bounce the player at its foot "
                    "(half-row landing rounds upwards): move it one row");
        }
    }

    void LadderTop(int x, int y) {
        if (Attr(x, y - 1) != kEmpty)
            Add(x, y, 0, "the cell above a ladder must be empty so the player can climb off it");
        int bottom = y;
        while (Attr(x, bottom + 1) == kLadder) ++bottom;
        if (!Carries(Attr(x, bottom + 1)))
            Add(x, bottom, 0, "a ladder must stand on solid ground or a platform");
    }

    void Bonus(int x, int y) {
        int16_t under = Attr(x, y);
        if (under == kSolid || under == kDeadly)
            Add(x, y, 1, "a bonus inside a solid or deadly cell cannot be taken");
        if (x < kPlayerMarginColumns || x > w_ - kPlayerMarginColumns || y < 8 ||
            y > h_ - kLowestFloorFromBottom - 1)
            Add(x, y, 1, "a bonus outside the area the player's body reaches");
    }

    static constexpr int kTileSizePixels = 32;
    const Map& m_;
    int w_, h_;
    std::set<int64_t> reported_drop_;
    std::vector<Finding> found_;
};

}  // namespace

std::vector<Finding> CheckLevelRules(const Map& map) {
    std::vector<Finding> found = Rules(map).Run();
    CheckTileLooks(map, found);
    CheckReach(map, found);
    return found;
}

std::string FindingText(const LevelSource& source, const Finding& f) {
    return source.file + ":" + std::to_string(RowLine(source, f.layer, f.y)) + ": " + f.message +
           " (layer " + std::to_string(f.layer) + ", column " + std::to_string(f.x) + ", row " +
           std::to_string(f.y) + ")";
}

}  // namespace kavro_level
