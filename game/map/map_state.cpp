// The engine's state: start, the grid's shape and tile size, and the plain accessors.
#include "game/map/map_state.h"

#include "runtime/core/array.h"
#include "runtime/core/list.h"
#include "runtime/core/strings.h"

namespace {

MapEngineState g_map;

// The tileset-name list holds one string per element.
constexpr StructureLayoutWord kNameLayout[] = {0, kLayoutEnd};
constexpr int32_t kTypeInts = 5;
constexpr int32_t kTypeStructures = 7;
constexpr int32_t kTypeStrings = 8;

// Makes a zeroed grid of the given counts; false when it cannot be had.
bool CreateGrid(int32_t columns, int32_t rows, int32_t layers) {
    MapGrid& grid = g_map.grid;
    grid.stride_column = columns;
    grid.stride_row = rows;
    grid.stride_layer = layers;
    return Array_CreateMulti(3, sizeof(MapCell), kTypeStructures, nullptr, &grid) != nullptr;
}

}  // namespace

MapEngineState& Map_State() {
    return g_map;
}

int32_t Map_Init() {
    // A fresh tileset-name list.
    List_Destroy(static_cast<ListHeader*>(g_map.tileset_names[0]));
    List_Create(sizeof(StringVariable), g_map.tileset_names, kNameLayout, kTypeStrings);
    Array_Create(4, 11, kTypeInts, nullptr, &g_map.found_x);
    Array_Create(4, 11, kTypeInts, nullptr, &g_map.found_y);
    // A single zeroed cell.
    CreateGrid(1, 1, 1);
    Array_Create(sizeof(MapObject), kMapObjectCount, kTypeStructures, nullptr, &g_map.objects);
    // The empty map's shape, tile size and view.
    g_map.last_column = g_map.last_row = g_map.last_layer = 0;
    g_map.tile_size = 32;
    g_map.pixel_step = 3.2f;
    g_map.tile_count = 0;
    g_map.pixel_width = g_map.pixel_height = 0;
    g_map.first_column = g_map.first_row = 0;
    g_map.offset_x = g_map.offset_y = 0;
    g_map.remembered_x = g_map.remembered_y = 0;
    g_map.origin_x = g_map.origin_y = 0;
    return 0;
}

int32_t Map_Create(int32_t last_column, int32_t last_row, int32_t last_layer) {
    // Counts are last index + 1.
    if (!CreateGrid(last_column + 1, last_row + 1, last_layer + 1)) return 0;
    g_map.last_column = last_column;
    g_map.last_row = last_row;
    g_map.last_layer = last_layer;
    g_map.pixel_width = last_column * g_map.tile_size;
    g_map.pixel_height = last_row * g_map.tile_size;
    // Every cell empty and opaque.
    int64_t cells = int64_t{last_column + 1} * (last_row + 1) * (last_layer + 1);
    for (int64_t i = 0; i < cells; ++i) {
        g_map.grid.cells[i].tile = -1;
        g_map.grid.cells[i].alpha = 255;
        g_map.grid.cells[i].animated = 0;
    }
    return last_column * last_row * last_layer;
}

int32_t Map_SetTileSize(int32_t tile_size) {
    g_map.tile_size = tile_size;
    g_map.pixel_width = g_map.last_column * tile_size;
    g_map.pixel_height = g_map.last_row * tile_size;
    g_map.pixel_step = static_cast<float>(tile_size / 10.0);
    return 0;
}

int32_t Map_SetGraphicsPath(const char* directory) {
    StringGlobals& g = String_Globals();
    int32_t p0 = g.position;
    String_Append(directory);
    if (g.position == p0 || g.base[g.position - 1] != '\\') String_Append("\\");
    String_Store(&g_map.graphics_path, p0);
    return 0;
}

int32_t Map_LastColumn() {
    return g_map.last_column;
}
int32_t Map_LastRow() {
    return g_map.last_row;
}
int32_t Map_TileSize() {
    return g_map.tile_size;
}
int32_t Map_TileCount() {
    return g_map.tile_count;
}
int32_t Map_PixelWidth() {
    return g_map.pixel_width;
}
int32_t Map_PixelHeight() {
    return g_map.pixel_height;
}
const char* Map_InfoText() {
    return g_map.info_text ? g_map.info_text : "";
}

int32_t Map_ClearTilesetNames() {
    List_Clear(static_cast<ListHeader*>(g_map.tileset_names[0]));
    return 0;
}

int32_t Map_TilesetNameCount() {
    return List_Size(static_cast<ListHeader*>(g_map.tileset_names[0]));
}

int32_t Map_ResetTilesetNames() {
    List_Reset(static_cast<ListHeader*>(g_map.tileset_names[0]));
    return 0;
}

const char* Map_NextTilesetName() {
    auto* name =
        static_cast<StringVariable*>(List_Next(static_cast<ListHeader*>(g_map.tileset_names[0])));
    return name && *name ? *name : "";
}
