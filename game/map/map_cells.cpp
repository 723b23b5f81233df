// Cell access and the search for cells holding a tile.
#include "game/map/map_state.h"
#include "runtime/core/array.h"

MapCell* Map_CellPointer(int32_t x, int32_t y, int32_t layer) {
    MapEngineState& m = Map_State();
    if (!m.grid.cells || x < 0 || y < 0 || layer < 0 || x > m.last_column || y > m.last_row ||
        layer > m.last_layer) {
        return nullptr;
    }
    // Element (x, y, layer): row-major with the layer varying fastest.
    return m.grid.cells + (x * m.grid.stride_column + y * m.grid.stride_row + layer);
}

int32_t Map_CellTile(int32_t x, int32_t y, int32_t layer) {
    const MapCell* c = Map_CellPointer(x, y, layer);
    return c ? c->tile : -1;
}

int32_t Map_CellAttribute(int32_t x, int32_t y, int32_t layer) {
    const MapCell* c = Map_CellPointer(x, y, layer);
    return c ? c->attribute : 0;
}

int32_t Map_CellAlpha(int32_t x, int32_t y, int32_t layer) {
    const MapCell* c = Map_CellPointer(x, y, layer);
    return c ? c->alpha : 0;
}

int32_t Map_SetCellTile(int32_t x, int32_t y, int32_t layer, int32_t value) {
    if (MapCell* c = Map_CellPointer(x, y, layer)) c->tile = value;
    return 0;
}

int32_t Map_SetCellAttribute(int32_t x, int32_t y, int32_t layer, int32_t value) {
    if (MapCell* c = Map_CellPointer(x, y, layer)) c->attribute = value;
    return 0;
}

int32_t Map_SetCellAnimated(int32_t x, int32_t y, int32_t layer, int32_t value) {
    if (MapCell* c = Map_CellPointer(x, y, layer)) c->animated = value;
    return 0;
}

int32_t Map_FindTiles(int32_t tile, int32_t layer) {
    MapEngineState& m = Map_State();
    int32_t count = 0;
    // Row by row; the result arrays grow with the matches and keep older entries.
    for (int32_t y = 0; y <= m.last_row; ++y) {
        for (int32_t x = 0; x <= m.last_column; ++x) {
            const MapCell* c = Map_CellPointer(x, y, layer);
            if (!c || c->tile != tile) continue;
            if (!m.found_x || !m.found_y) return count;
            if (count + 1 > Array_HeaderOf(m.found_x)->count) {
                Array_Resize(count + 1, &m.found_x);
                Array_Resize(count + 1, &m.found_y);
                if (!m.found_x || !m.found_y) return count;
            }
            m.found_x[count] = x;
            m.found_y[count] = y;
            ++count;
        }
    }
    return count;
}

int32_t Map_FoundX(int32_t n) {
    MapEngineState& m = Map_State();
    return (m.found_x && n >= 0 && n < Array_HeaderOf(m.found_x)->count) ? m.found_x[n] : 0;
}

int32_t Map_FoundY(int32_t n) {
    MapEngineState& m = Map_State();
    return (m.found_y && n >= 0 && n < Array_HeaderOf(m.found_y)->count) ? m.found_y[n] : 0;
}
