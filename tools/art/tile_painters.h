// Painters of the tile families, looked up by family name. A painter draws tile `index` of its
// family into a clear canvas of one tile (32 x 32), or the whole picture of a stamp.
#pragma once
#include <string_view>

#include "tools/art/canvas.h"

namespace kavro_art {

using TilePainter = void (*)(Canvas& tile, int index);

// nullptr when no painter has that name.
TilePainter FindTilePainter(std::string_view family);

// Terrain (tiles_terrain.cpp).
void PaintGrass(Canvas& t, int mask);
void PaintStone(Canvas& t, int mask);
void PaintCave(Canvas& t, int mask);
// The inside of a hole in the ground: dark, shaded by its walls, darkest at an open top.
void PaintShaft(Canvas& t, int mask);
void PaintBrick(Canvas& t, int mask);
void PaintPlank(Canvas& t, int mask);
// A plank in a cave, over the cave wall (one tile per cell and layer).
void PaintPlankCave(Canvas& t, int mask);
void PaintGrassRise(Canvas& t, int);
void PaintGrassFall(Canvas& t, int);
void PaintStoneRise(Canvas& t, int);
void PaintStoneFall(Canvas& t, int);
void PaintLadder(Canvas& t, int);
void PaintLadderTop(Canvas& t, int);
// A ladder in a shaft or cave, over the cave wall (one tile per cell and layer).
void PaintLadderCave(Canvas& t, int);

// Hazards and water (tiles_hazards.cpp).
void PaintSpikes(Canvas& t, int);
void PaintSpikesDown(Canvas& t, int);
void PaintLavaTop(Canvas& t, int frame);
void PaintLava(Canvas& t, int frame);
void PaintWaterTop(Canvas& t, int frame);
void PaintWater(Canvas& t, int);

// Scenery (tiles_scenery.cpp, tiles_plants.cpp).
void PaintTorch(Canvas& t, int frame);
void PaintTuft(Canvas& t, int variant);
void PaintFlower(Canvas& t, int variant);
void PaintBush(Canvas& t, int);
void PaintRock(Canvas& t, int);
void PaintMushroom(Canvas& t, int variant);
void PaintSign(Canvas& t, int);
void PaintSignBack(Canvas& t, int);
void PaintFence(Canvas& t, int);
void PaintCrystal(Canvas& t, int variant);
void PaintStalactite(Canvas& t, int variant);
void PaintVine(Canvas& t, int variant);
void PaintBones(Canvas& t, int variant);
void PaintLight(Canvas& t, int);
void PaintTree(Canvas& t, int);
void PaintWindow(Canvas& t, int);
void PaintBanner(Canvas& t, int);

// Items (tiles_items.cpp).
void PaintCoin(Canvas& t, int frame);
void PaintGemRed(Canvas& t, int frame);
void PaintGemBlue(Canvas& t, int frame);
void PaintGemGreen(Canvas& t, int frame);
void PaintStart(Canvas& t, int);

}  // namespace kavro_art
