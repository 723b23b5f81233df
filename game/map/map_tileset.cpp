// Tilesets: an image is painted on the back buffer and cut into numbered tile quads.
#include "game/map/map_state.h"
#include "runtime/core/list.h"
#include "runtime/core/strings.h"
#include "runtime/screen/sprite.h"
#include "runtime/screen/sprite3d.h"

int32_t Map_LoadTileset(const char* name) {
    MapEngineState& m = Map_State();
    if (String_Len(name) == 0) return 0;
    auto* entry =
        static_cast<StringVariable*>(List_Add(static_cast<ListHeader*>(m.tileset_names[0])));
    if (entry) String_Assign(entry, name);
    int32_t image = Sprite_Load(-1, name, 0);
    if (!image) return 0;
    // Partial tiles at the right and bottom are dropped.
    const int32_t t = m.tile_size;
    const int32_t rows = Sprite_Height(image) / t;
    const int32_t cols = Sprite_Width(image) / t;
    // The image is painted on the back buffer, where the tiles are grabbed from.
    Map_UseTilesetImage(image);
    int32_t cut = 0;
    for (int32_t row = 0; row < rows; ++row) {
        for (int32_t col = 0; col < cols; ++col) {
            int32_t q = kTileQuadBase + m.tile_count;
            Sprite_Grab(q, col * t, row * t, t, t, 4);
            Sprite3D_Create(q, q);
            ++cut;
            ++m.tile_count;
        }
    }
    Sprite_Free(image);
    Map_UseTilesetImage(-1);
    return cut;
}

int32_t Map_UseTilesetImage(int32_t sprite) {
    MapEngineState& m = Map_State();
    if (sprite == -1) {
        if (Sprite_Exists(m.tileset_image)) {
            Sprite_Grab(m.tileset_image, 0, 0, Sprite_Width(m.tileset_image),
                        Sprite_Height(m.tileset_image), 0);
            m.tileset_image = -1;
        }
    } else if (Sprite_Exists(sprite)) {
        Sprite_Display(sprite, 0, 0);
        m.tileset_image = sprite;
    }
    return 0;
}

int32_t Map_FreeTilesets() {
    MapEngineState& m = Map_State();
    for (int32_t i = 0; i < m.tile_count; ++i) {
        Sprite3D_Free(kTileQuadBase + i);
        Sprite_Free(kTileQuadBase + i);
    }
    m.tile_count = 0;
    return 0;
}
