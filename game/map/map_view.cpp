// The view onto the grid: which cell is at the screen's top-left and how far it is shifted,
// and the probe that turns a screen pixel into the cell under it.
#include <cmath>

#include "game/map/map_state.h"
#include "runtime/core/strings.h"

namespace {

// One half of Map_SetPosition; x and y are computed alike.
void SetHalf(float position, int32_t& remembered, int32_t& first, int32_t& offset) {
    MapEngineState& m = Map_State();
    // Unchanged when it rounds to the position last applied.
    int32_t rounded = static_cast<int32_t>(std::nearbyint(position));
    if (rounded == remembered) return;
    // The position in tiles: k whole tiles to the first cell, then the rest of a tile in
    // tenths (g) times the pixels in a tenth (pixel_step, T / 10), truncated: how far the first
    // cell is shifted. For whole pixels and 32-pixel tiles that is exactly -(position mod 32).
    float t = position / static_cast<float>(m.tile_size);
    int32_t k = Number_Truncate(t);
    float f = t - static_cast<float>(k);
    float g = f * 10.0f;
    offset = -Number_Truncate(static_cast<double>(g) * static_cast<double>(m.pixel_step));
    first = k;
    remembered = rounded;
}

}  // namespace

int32_t Map_SetPosition(float x, float y) {
    MapEngineState& m = Map_State();
    SetHalf(x, m.remembered_x, m.first_column, m.offset_x);
    SetHalf(y, m.remembered_y, m.first_row, m.offset_y);
    return 0;
}

int32_t Map_SetScreenOrigin(int32_t x, int32_t y) {
    Map_State().origin_x = x;
    Map_State().origin_y = y;
    return 0;
}

int32_t Map_CellAt(int32_t screen_x, int32_t screen_y, int32_t layer) {
    MapEngineState& m = Map_State();
    int32_t dx = screen_x - m.offset_x;
    int32_t dy = screen_y - m.offset_y;
    // Divisions in floating point, truncated.
    int32_t x = m.first_column + Number_Truncate(static_cast<double>(dx) / m.tile_size);
    int32_t y = m.first_row + Number_Truncate(static_cast<double>(dy) / m.tile_size);
    // Outside the grid reads as an empty cell.
    const MapCell* cell = Map_CellPointer(x, y, layer);
    m.last_attribute = cell ? cell->attribute : 0;
    return cell ? cell->tile : -1;
}

int32_t Map_LastAttribute() {
    return Map_State().last_attribute;
}
int32_t Map_FirstColumn() {
    return Map_State().first_column;
}
int32_t Map_FirstRow() {
    return Map_State().first_row;
}
int32_t Map_OffsetX() {
    return Map_State().offset_x;
}
int32_t Map_OffsetY() {
    return Map_State().offset_y;
}
