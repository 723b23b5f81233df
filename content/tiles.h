// Tile numbers the game itself knows. Tiles are numbered across the map's tilesets in loading
// order, row by row.
#pragma once
#include <cstdint>

namespace kavro_content {

// The level start: the first cell of layer 0 holding this tile, row by row.
inline constexpr int32_t kStartMarkerTile = 253;
// Tile k is drawn with the textured quad (and the sprite) of number kTileQuadBase + k.
inline constexpr int32_t kTileQuadBase = 54650;

}  // namespace kavro_content
