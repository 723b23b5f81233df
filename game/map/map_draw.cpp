// Drawing one layer of the grid as tile quads, advancing the animated cells in view.
#include <cstdint>

#include "game/map/map_state.h"
#include "runtime/core/strings.h"
#include "runtime/screen/sprite3d.h"

int32_t Map_DrawLayer(int32_t layer, int32_t columns, int32_t rows) {
    MapEngineState& m = Map_State();
    const int32_t c0 = m.first_column;
    const int32_t r0 = m.first_row;
    const int32_t t = m.tile_size;
    int32_t drawn = 0;
    // Rows + 1 lines of columns + 1 cells: a view shifted by part of a tile shows one more.
    for (int32_t j = 0; j <= rows; ++j) {
        const int32_t sy = m.origin_y + m.offset_y + t * j;
        for (int32_t i = 0; i <= columns; ++i) {
            MapCell* cell = Map_CellPointer(c0 + i, r0 + j, layer);
            if (!cell) continue;  // beyond the grid: nothing to draw or animate
            const int32_t sx = m.origin_x + m.offset_x + t * i;
            if (cell->tile >= 0) {
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
