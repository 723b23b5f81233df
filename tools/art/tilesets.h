// Draws the tileset pictures from the tile catalogue.
#pragma once
#include <vector>

#include "tools/art/canvas.h"

namespace kavro_art {

// One picture per entry of Tilesets(), in the same order. Throws std::logic_error when a
// family has no painter.
std::vector<Canvas> PaintTilesets();

}  // namespace kavro_art
