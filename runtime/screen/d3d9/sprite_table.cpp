// The sprite table: looking sprites up, their sizes, freeing one or all.
#include "runtime/screen/sprite_table.h"
#include "runtime/core/object_table.h"
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"

SpriteRecord* Sprite_Record(int32_t number) {
    return SpriteTable_Get<SpriteRecord>(Screen_State().sprites, number);
}

SpriteRecord* Sprite_Exists(int32_t number) {
    return SpriteTable_Find<SpriteRecord>(Screen_State().sprites, number);
}

int32_t Sprite_Width(int32_t number) {
    SpriteRecord* sprite = Sprite_Record(number);
    return sprite ? sprite->width : 0;
}

int32_t Sprite_Height(int32_t number) {
    SpriteRecord* sprite = Sprite_Record(number);
    return sprite ? sprite->height : 0;
}

void Sprite_Free(int32_t number) {
    ScreenState& s = Screen_State();
    SpriteRecord* sprite = Sprite_Record(number);
    if (!sprite) return;
    // The device must not go on drawing into a sprite that is gone.
    if (number == s.renderTarget) {
        Screen_SetRenderTarget(-1);
        sprite = Sprite_Record(number);
        if (!sprite) return;
    }
    TextureRecord* texture = sprite->texture;
    // Quads may still hold the texture; what only the sprite used goes now, so that no
    // default-pool surface outlives its sprite and blocks a reset.
    TextureRecord_DropSpriteParts(texture);
    TextureRecord_Release(texture);
    ObjectTable_Release(s.sprites, number);
}

void Sprite_FreeAll() {
    SpriteTable_FreeAll(Screen_State().sprites);
}
