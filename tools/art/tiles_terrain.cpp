// Terrain tiles: the autotiled ground, rock, cave wall, shaft, brick and plank families, the
// slopes whose surfaces follow the slope attributes, and the ladders.
#include <cmath>

#include "tools/art/style.h"
#include "tools/art/tile_catalogue.h"
#include "tools/art/tile_painters.h"

namespace kavro_art {

namespace {

using Texture = Rgb (*)(int x, int y);

// Fills an autotile with a texture, cuts the rounded corners, bevels and inks the open sides.
void PaintAutotile(Canvas& t, int mask, Texture texture, int radius) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            if (!AutotileInside(x, y, mask, radius)) continue;
            Rgb c = texture(x, y);
            if (AutotileRim(x, y, mask, radius)) {
                c = kInk;
            } else {
                // A two-pixel bevel inside the rim: lit on top and left, shaded below and right.
                bool near_top = !(mask & kJoinUp) && y <= 2,
                     near_left = !(mask & kJoinLeft) && x <= 2;
                bool near_bottom = !(mask & kJoinDown) && y >= 29,
                     near_right = !(mask & kJoinRight) && x >= 29;
                if (near_bottom || near_right)
                    c = Shade(c, 0.72f);
                else if (near_top || near_left)
                    c = Shade(c, 1.12f);
            }
            t.Set(x, y, c);
        }
}

// The turf of a grass top: a jagged band whose blades hang over open sides.
void PaintTurf(Canvas& t, int mask) {
    for (int x = 0; x < 32; ++x) {
        int depth = TurfDepth(x);
        for (int y = 0; y < depth; ++y) {
            if (!AutotileInside(x, y, mask, 4)) continue;
            Rgb c = AutotileRim(x, y, mask, 4) &&
                            (y == 0 || !(mask & kJoinLeft) || !(mask & kJoinRight))
                        ? kGrassDark
                        : GrassAt(x, y);
            if (AutotileRim(x, y, mask, 4) && y == 0) c = Shade(kGrassDark, 0.7f);
            t.Set(x, y, c);
        }
        // Blade tips below the turf edge and a dark seam where turf meets soil.
        if (AutotileInside(x, depth, mask, 4) && !AutotileRim(x, depth, mask, 4))
            t.Set(x, depth, (x % 3 == 0) ? kGrassDark : Shade(DirtAt(x, depth), 0.7f));
    }
    // Turf running down an open side.
    for (int side = 0; side < 2; ++side) {
        bool open = side == 0 ? !(mask & kJoinLeft) : !(mask & kJoinRight);
        if (!open) continue;
        for (int y = 0; y < 13; ++y)
            for (int d = 0; d < 3; ++d) {
                int x = side == 0 ? d : 31 - d;
                if (!AutotileInside(x, y, mask, 4) || y < TurfDepth(x)) continue;
                if (y > 9 + (d == 1 ? 2 : 0) - d) continue;
                t.Set(x, y, AutotileRim(x, y, mask, 4) ? Shade(kGrassDark, 0.7f) : kGrassDark);
            }
    }
}

Rgb RockTexture(int x, int y) {
    return RockAt(x, y);
}
Rgb BrickTexture(int x, int y) {
    return BrickAt(x, y);
}

// A slope: the solid part lies below the line surface(x); rising slopes have surface 31 - x,
// the profile the player follows (its bottom edge rises one pixel per column of its centre).
void PaintSlope(Canvas& t, bool rising, Texture soil, bool turf) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int column = rising ? x : 31 - x;
            int surface = 31 - column;
            if (y < surface) continue;
            int d = y - surface;
            Rgb c = soil(x, y);
            if (turf) {
                if (d < TurfDepth(x) - 1)
                    c = GrassAt(x, d);
                else if (d == TurfDepth(x) - 1 && x % 3 == 0)
                    c = kGrassDark;
            } else if (d < 3) {
                // Moss on the rock's face.
                c = d == 0 ? kGrassLight : (Noise01(x, 0, 77) > 0.4f ? kGrass : c);
            }
            if (d == 0) c = turf ? Shade(kGrassDark, 0.7f) : kInk;
            t.Set(x, y, c);
        }
}

Rgb DirtTexture(int x, int y) {
    return DirtAt(x, y);
}

}  // namespace

void PaintGrass(Canvas& t, int mask) {
    PaintAutotile(t, mask, DirtTexture, 4);
    if (!(mask & kJoinUp)) PaintTurf(t, mask);
}

void PaintStone(Canvas& t, int mask) {
    // Square corners: rock meets dark cave walls, where a cut corner would show the sky.
    PaintAutotile(t, mask, RockTexture, 0);
    if (!(mask & kJoinUp)) {
        // Moss tufts on the exposed top.
        for (int x = 0; x < 32; ++x) {
            int depth = static_cast<int>(Noise01(x / 4, 0, 61) * 4.0f);
            for (int y = 1; y <= depth; ++y)
                if (!AutotileRim(x, y, mask, 0)) t.Set(x, y, y == 1 ? kGrassLight : kGrass);
        }
    }
}

void PaintCave(Canvas& t, int mask) {
    // The back wall behind caves: no rim, a ragged edge where it meets the open sky.
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            int bite = static_cast<int>(Noise01(x / 2 + y / 2, 1, 71) * 3.0f);
            if (!(mask & kJoinUp) && y < bite) continue;
            if (!(mask & kJoinDown) && 31 - y < bite) continue;
            if (!(mask & kJoinLeft) && x < static_cast<int>(Noise01(y / 2, 2, 72) * 3.0f)) continue;
            if (!(mask & kJoinRight) && 31 - x < static_cast<int>(Noise01(y / 2, 3, 73) * 3.0f))
                continue;
            t.Set(x, y, CaveAt(x, y));
        }
}

void PaintShaft(Canvas& t, int mask) {
    // Near black with the wall barely showing: a void reads as a hole, where the lit stones of
    // the cave wall would read as a rock standing in the open. Under an open top the first rows
    // are darker still, so no stone shows along the edge where a rock would have its top.
    constexpr int kShadow = 8, kMouth = 10;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            float light = 0.3f;
            if (!(mask & kJoinUp) && y < kMouth) light *= 0.4f + 0.6f * y / kMouth;
            // The walls of the hole shade its sides.
            if (!(mask & kJoinLeft) && x < kShadow) light *= 0.4f + 0.6f * x / kShadow;
            if (!(mask & kJoinRight) && 31 - x < kShadow) light *= 0.4f + 0.6f * (31 - x) / kShadow;
            t.Set(x, y, Opaque(Shade(CaveAt(x, y), light)));
        }
}

void PaintBrick(Canvas& t, int mask) {
    PaintAutotile(t, mask, BrickTexture, 0);
}

void PaintPlank(Canvas& t, int mask) {
    // A wooden walkway across the top of the cell; only the left and right joins matter.
    bool open_left = !(mask & kJoinLeft), open_right = !(mask & kJoinRight);
    for (int y = 0; y <= 11; ++y)
        for (int x = 0; x < 32; ++x) {
            bool cut = (open_left && x < 2 && (y == 0 || y == 11)) ||
                       (open_right && x > 29 && (y == 0 || y == 11));
            if (cut) continue;
            Rgb c = WoodAt(x, y);
            if (y == 0 || y == 11 || (open_left && x == 0) || (open_right && x == 31))
                c = kInk;
            else if (y == 1)
                c = Shade(c, 1.2f);
            else if (y == 10)
                c = Shade(c, 0.7f);
            else if (y == 5 || (x % 16 == 15))
                c = kWoodDark;
            t.Set(x, y, c);
        }
    // Nails, and iron brackets under the boards.
    for (int x : {4, 12, 20, 28}) t.Set(x, 3, Rgb{210, 200, 190});
    for (int x : {4, 12, 20, 28}) t.Set(x, 8, Rgb{210, 200, 190});
    for (int bx : {7, 23}) {
        for (int y = 12; y < 16; ++y) t.Set(bx, y, kInk);
        for (int y = 12; y < 15; ++y) t.Set(bx + 1, y, Rgb{120, 120, 134});
        t.Set(bx + 1, 15, kInk);
        t.Set(bx + 2, 12, kInk);
    }
}

void PaintPlankCave(Canvas& t, int mask) {
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) t.Set(x, y, CaveAt(x, y));
    PaintPlank(t, mask);
}

void PaintGrassRise(Canvas& t, int) {
    PaintSlope(t, true, DirtTexture, true);
}
void PaintGrassFall(Canvas& t, int) {
    PaintSlope(t, false, DirtTexture, true);
}
void PaintStoneRise(Canvas& t, int) {
    PaintSlope(t, true, RockTexture, false);
}
void PaintStoneFall(Canvas& t, int) {
    PaintSlope(t, false, RockTexture, false);
}

namespace {

void PaintLadderPart(Canvas& t, bool top, bool in_cave) {
    if (in_cave)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) t.Set(x, y, CaveAt(x, y));
    const Rgb rail{176, 118, 64}, rung{196, 140, 80};
    int start = top ? 4 : 0;
    for (int rx : {5, 23}) {
        for (int y = start; y < 32; ++y)
            for (int x = rx; x < rx + 4; ++x) {
                Rgb c = rail;
                if (x == rx)
                    c = kInk;
                else if (x == rx + 1)
                    c = Shade(rail, 1.18f);
                else if (x == rx + 3)
                    c = Shade(rail, 0.7f);
                t.Set(x, y, c);
            }
        if (top) {
            // Rounded rail ends.
            for (int x = rx; x < rx + 4; ++x) t.Set(x, start - 1, kInk);
            t.Set(rx, start, Rgb{0, 0, 0});
            t.Set(rx + 3, start, kInk);
            t.Set(rx + 3, start - 1, Rgb{0, 0, 0});
            t.Set(rx, start - 1, Rgb{0, 0, 0});
            t.Set(rx + 1, start - 1, kInk);
            t.Set(rx + 2, start - 1, kInk);
            t.Set(rx, start, kInk);
        }
    }
    for (int ry = top ? 12 : 4; ry < 32; ry += 8)
        for (int x = 9; x < 23; ++x) {
            t.Set(x, ry, kInk);
            t.Set(x, ry + 1, Shade(rung, 1.15f));
            t.Set(x, ry + 2, rung);
            t.Set(x, ry + 3, kInk);
        }
}

}  // namespace

void PaintLadder(Canvas& t, int) {
    PaintLadderPart(t, false, false);
}
void PaintLadderTop(Canvas& t, int) {
    PaintLadderPart(t, true, false);
}
void PaintLadderCave(Canvas& t, int) {
    PaintLadderPart(t, false, true);
}

}  // namespace kavro_art
