// The engine's own state block, shared by the files of game/map only.
#pragma once
#include <cstdint>

#include "game/map/map_engine.h"
#include "runtime/core/strings.h"

struct MapGrid {
    MapCell* cells;          // array variable of the 3-D cell array
    intptr_t stride_column;  // element strides, filled by Array_CreateMulti
    intptr_t stride_row;
    intptr_t stride_layer;
};

struct MapEngineState {
    int32_t tile_size;
    float pixel_step;
    int32_t last_column, last_row, last_layer;
    int32_t pixel_width, pixel_height;
    int32_t tile_count;
    StringVariable info_text;
    StringVariable graphics_path;
    void* tileset_names[2];  // list variable: header, current node
    int32_t* found_x;        // array variables
    int32_t* found_y;
    MapGrid grid;
    MapObject* objects;
    int32_t tileset_image;  // sprite painted for cutting, or -1

    // View.
    int32_t first_column, first_row;
    int32_t offset_x, offset_y;
    int32_t remembered_x, remembered_y;
    int32_t origin_x, origin_y;
    int32_t last_attribute;

    // Frame counter.
    int32_t frames;
    int32_t last_second;
    StringVariable frame_rate_text;
};

MapEngineState& Map_State();

// The cell at (x, y, layer), or null outside the grid: the engine never addresses memory
// outside it, whatever a map file says.
MapCell* Map_CellPointer(int32_t x, int32_t y, int32_t layer);
