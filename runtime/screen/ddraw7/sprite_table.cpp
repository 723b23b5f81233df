// The sprite table on DirectDraw 7: looking sprites up, their sizes, freeing one or all.
#include "runtime/screen/sprite_table.h"
#include "platform/win32/heap.h"
#include "runtime/core/object_table.h"
#include "runtime/core/program.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"
#include "runtime/screen/screen.h"

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
    // Blits must not go on into a surface that is gone.
    if (number == s.renderTarget) Screen_SetRenderTarget(-1);
    if (sprite->depth == kMemorySpriteDepth) {
        HeapFree(Runtime_Heap(), 0, sprite->memoryBlock);
    } else if (sprite->surface) {
        // Quads made over the sprite hold the surface on their own.
        sprite->surface->Release();
    }
    if (sprite->savedPixels) HeapFree(Runtime_Heap(), 0, sprite->savedPixels);
    ObjectTable_Release(s.sprites, number);
}

void Sprite_FreeAll() {
    SpriteTable_FreeAll(Screen_State().sprites);
}
