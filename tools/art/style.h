// The house style shared by every picture: the palette, the surface textures of the terrain
// families, and the finishing passes (light from the top left, a dark ink rim) that give
// props, items and figures their common look.
#pragma once
#include "tools/art/canvas.h"

namespace kavro_art {

// Palette.
inline constexpr Rgb kInk{30, 22, 40};
inline constexpr Rgb kDirt{138, 88, 52};
inline constexpr Rgb kGrassLight{156, 222, 92};
inline constexpr Rgb kGrass{92, 176, 64};
inline constexpr Rgb kGrassDark{52, 124, 60};
inline constexpr Rgb kRock{118, 124, 146};
inline constexpr Rgb kCave{70, 58, 74};
inline constexpr Rgb kBrick{168, 110, 84};
inline constexpr Rgb kMortar{84, 62, 60};
inline constexpr Rgb kWood{164, 110, 60};
inline constexpr Rgb kWoodDark{108, 66, 38};
inline constexpr Rgb kGold{250, 204, 64};
inline constexpr Rgb kLava{240, 96, 32};
inline constexpr Rgb kWater{56, 132, 214};
inline constexpr Rgb kSteel{196, 204, 220};

// Surface textures at tile-local coordinates (0..31); they repeat every tile, so neighbouring
// cells continue each other's pattern.
Rgb DirtAt(int x, int y);
// Grass colour d pixels below the top of the turf.
Rgb GrassAt(int x, int d);
// Turf depth at column x of a grass top (the jagged lower edge of the grass).
int TurfDepth(int x);
Rgb RockAt(int x, int y);
Rgb CaveAt(int x, int y);
Rgb BrickAt(int x, int y);
Rgb WoodAt(int x, int y);

// Edge shape of an autotile: false for the pixels cut away by a rounded corner where two
// open sides meet.
bool AutotileInside(int x, int y, int mask, int radius);
// True for the inside pixels on an open side's rim.
bool AutotileRim(int x, int y, int mask, int radius);

// Light and ink: brightens pixels whose upper or left neighbour is clear, darkens those
// whose lower or right neighbour is clear, then rims every shape with ink.
void Finish(Canvas& c, int x, int y, int w, int h);
void Finish(Canvas& c);

}  // namespace kavro_art
