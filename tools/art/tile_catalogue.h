// The tile catalogue: every tile family the tilesets hold, in drawing order, with the tile
// numbers the map engine gives them (numbered across the tilesets in loading order). The
// painter draws the families in this layout; the map compiler resolves names through it.
#pragma once
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "content/tiles.h"

namespace kavro_art {

inline constexpr int kTileSize = 32;
using kavro_content::kStartMarkerTile;

enum class TileKind {
    kSingle,     // one tile
    kAutotile,   // 16 tiles: tile first + m, m = neighbour bits up 1, right 2, down 4, left 8
    kAnimation,  // frames first..first + count - 1, cycled by the map engine
    kStamp,      // a picture of stamp_width x (count / stamp_width) cells, placed as a block
    kVariants,   // count look-alikes the level picks by position, for variety
};

// What a tile tells the player it does, by its look. A level cell must behave as its tiles
// look: the compiler checks every cell's attribute against the looks of its tiles.
enum class TileLook {
    kNothing,       // no tile, or a blank one: open air
    kGround,        // solid ground or a wall: carries the player and stops it
    kPlatform,      // a walkway: carries the player from above
    kHazard,        // spikes, lava: deadly to touch
    kLadder,        // climbed with Up
    kRisingSlope,   // ground climbing to the right
    kFallingSlope,  // ground descending to the right
    kBonus,         // an item to collect
    kDecoration,    // scenery the player walks past
    kBackground,    // a back wall the player walks in front of
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
    TileLook look;
    // The look of an autotile's variants that are open above. A cave's back wall under the
    // open sky reads as the top of a rock, not as the way into a cave.
    TileLook look_open_above;
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
// The look of tile number `tile`; kNothing for -1 and for tiles in no family.
TileLook LookOfTile(int32_t tile);
// Total number of tiles of all tilesets (the first number past the last tile).
int32_t TotalTileCount();

}  // namespace kavro_art
