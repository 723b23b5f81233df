// The game's map engine: a grid of cells (columns x rows x layers) loaded from a level file,
// tilesets cut into numbered tile quads, the view onto the grid, drawing, the pixel-to-cell
// probe and the moving objects. One map at a time; all state is the engine's own.
#pragma once
#include <cstdint>

#include "content/tiles.h"

struct MapCell {
    int32_t tile;  // -1 = empty; drawn as tile quad kTileQuadBase + tile
    int32_t alpha;
    int32_t attribute;
    int32_t animated;
    int32_t first_frame;
    int32_t last_frame;
    float anim_speed;
    float anim_position;
};
static_assert(sizeof(MapCell) == 32);

struct MapObject {
    int32_t sprite;
    int32_t x;
    int32_t y;
    int32_t active;
    int32_t screen_x;
    int32_t screen_y;
    int32_t frame_width;
    int32_t frame_height;
    float anim_position;
    int32_t right_frame_x;
    int32_t left_frame_x;
    float anim_speed;
    int32_t last_frame;
    int32_t speed;
    int32_t right_limit;
    int32_t left_limit;
    int32_t direction;
};
static_assert(sizeof(MapObject) == 68);

// Tile k is drawn with quad (and sprite) kTileQuadBase + k.
using kavro_content::kTileQuadBase;
constexpr int32_t kMapObjectCount = 101;
// Map_Load's refusal of a grid it cannot hold (bad tile size, negative or huge dimensions).
constexpr int32_t kMapRefused = -4;
// Largest grid Map_Load accepts, in cells (32 bytes each: 128 MiB).
constexpr int64_t kMapMaxCells = int64_t{1} << 22;

// Grid, file and tiles.
int32_t Map_Init();
int32_t Map_Create(int32_t last_column, int32_t last_row, int32_t last_layer);
int32_t Map_Load(const char* name);
int32_t Map_LoadTileset(const char* name);
int32_t Map_FreeTilesets();
int32_t Map_UseTilesetImage(int32_t sprite);
int32_t Map_SetTileSize(int32_t tile_size);
int32_t Map_SetGraphicsPath(const char* directory);
int32_t Map_FindTiles(int32_t tile, int32_t layer);
int32_t Map_FoundX(int32_t n);
int32_t Map_FoundY(int32_t n);
int32_t Map_CellTile(int32_t x, int32_t y, int32_t layer);
int32_t Map_CellAttribute(int32_t x, int32_t y, int32_t layer);
int32_t Map_CellAlpha(int32_t x, int32_t y, int32_t layer);
int32_t Map_SetCellTile(int32_t x, int32_t y, int32_t layer, int32_t value);
int32_t Map_SetCellAttribute(int32_t x, int32_t y, int32_t layer, int32_t value);
int32_t Map_SetCellAnimated(int32_t x, int32_t y, int32_t layer, int32_t value);
int32_t Map_LastColumn();
int32_t Map_LastRow();
int32_t Map_TileSize();
int32_t Map_TileCount();
int32_t Map_PixelWidth();
int32_t Map_PixelHeight();
int32_t Map_ClearTilesetNames();
int32_t Map_TilesetNameCount();
int32_t Map_ResetTilesetNames();
const char* Map_NextTilesetName();
const char* Map_InfoText();

// View, drawing, probes and objects.
int32_t Map_SetPosition(float x, float y);
int32_t Map_SetScreenOrigin(int32_t x, int32_t y);
int32_t Map_DrawLayer(int32_t layer, int32_t columns, int32_t rows);
int32_t Map_CellAt(int32_t screen_x, int32_t screen_y, int32_t layer);
int32_t Map_LastAttribute();
int32_t Map_FirstColumn();
int32_t Map_FirstRow();
int32_t Map_OffsetX();
int32_t Map_OffsetY();
int32_t Map_UpdateObject(int32_t index);
// The object table's entry (0..100), or null.
MapObject* Map_Object(int32_t index);

// The frame counter: "" or the number of calls in the previous second of the clock.
const char* Map_FrameRate();
