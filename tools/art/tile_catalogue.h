// The tile catalogue: every tile family the tilesets hold, in drawing order, with the tile
// numbers the map engine gives them (numbered across the tilesets in loading order). The
// painter draws the families in this layout; the map compiler resolves names through it.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace kavro_art {

inline constexpr int kTileSize = 32;
inline constexpr int32_t kStartMarkerTile = 253;

enum class TileKind {
    kSingle,     // one tile
    kAutotile,   // 16 tiles: tile first + m, m = neighbour bits up 1, right 2, down 4, left 8
    kAnimation,  // frames first..first + count - 1, cycled by the map engine
    kStamp,      // a picture of stamp_width x (count / stamp_width) cells, placed as a block
    kVariants,   // count look-alikes the level picks by position, for variety
};

// Neighbour bits of an autotile index: set when the neighbour joins this cell's surface.
enum AutotileBit : int { kJoinUp = 1, kJoinRight = 2, kJoinDown = 4, kJoinLeft = 8 };

struct TileFamily {
    std::string_view name;
    TileKind kind;
    int count;
    int stamp_width;  // stamps only
    int tileset;      // index into Tilesets()
    int32_t first;    // global tile number of the first tile
};

struct Tileset {
    std::string_view file_name;  // as laid out under GFX/
    int width, height;           // pixels; within the 640 x 480 screen the tiles are cut from
    int32_t first_tile;
    int tile_count() const { return (width / kTileSize) * (height / kTileSize); }
};

std::span<const Tileset> Tilesets();
std::span<const TileFamily> TileFamilies();
const TileFamily* FindTileFamily(std::string_view name);
// Total number of tiles of all tilesets (the first number past the last tile).
int32_t TotalTileCount();

}  // namespace kavro_art
