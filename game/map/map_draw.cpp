// Drawing one layer of the grid as tile quads, advancing the animated cells in view.
#include <algorithm>
#include <cstdint>

#include "game/map/map_state.h"
#include "runtime/core/strings.h"
#include "runtime/screen/sprite3d.h"

int32_t Map_DrawLayer(int32_t layer, int32_t columns, int32_t rows) {
    MapEngineState& m = Map_State();
    const int32_t c0 = m.first_column;
    const int32_t r0 = m.first_row;
    const int32_t t = m.tile_size;
    // Nothing the quads draw moves the view or the grid: both are read once.
    const int32_t left = m.origin_x + m.offset_x;
    const int32_t top = m.origin_y + m.offset_y;
    const intptr_t next_column = m.grid.stride_column;
    // Cells beyond the grid have nothing to draw or animate: the window's columns inside it are
    // the same on every line, and a line's cells lie one column stride apart.
    const int64_t i_first = std::max<int64_t>(0, -int64_t{c0});
    const int64_t i_last = std::min<int64_t>(columns, int64_t{m.last_column} - c0);
    const bool layer_inside = m.grid.cells && layer >= 0 && layer <= m.last_layer;
    int32_t drawn = 0;
    // Rows + 1 lines of columns + 1 cells: a view shifted by part of a tile shows one more.
    for (int32_t j = 0; j <= rows; ++j) {
        const int32_t sy = top + t * j;
        const int64_t y = int64_t{r0} + j;
        if (!layer_inside || i_first > i_last || y < 0 || y > m.last_row) continue;
        MapCell* cell = Map_CellPointer(static_cast<int32_t>(c0 + i_first), r0 + j, layer);
        for (int64_t i = i_first; i <= i_last; ++i, cell += next_column) {
            if (cell->tile >= 0) {
                const int32_t sx = left + t * static_cast<int32_t>(i);
                Sprite3D_Display(kTileQuadBase + cell->tile, sx, sy, cell->alpha);
                ++drawn;
            }
            if (cell->animated == 1) {
                cell->anim_position = cell->anim_position + cell->anim_speed;
                // In 64 bits: a huge speed from the file must not overflow the sum.
                int64_t tile = int64_t{cell->first_frame} + Number_Truncate(cell->anim_position);
                if (tile > cell->last_frame) {
                    cell->anim_position = 0.0f;
                    tile = cell->first_frame;
                }
                // A negative speed runs below the cycle: the cell stays empty, never wrapped.
                cell->tile = static_cast<int32_t>(tile < INT32_MIN ? INT32_MIN : tile);
            }
        }
    }
    return drawn;
}
