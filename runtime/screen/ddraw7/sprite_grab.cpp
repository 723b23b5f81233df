// Sprite_Grab on DirectDraw 7: a rectangle of the render target blitted into a sprite of the
// screen's format, black as its source colour key. No GDI is involved.
#include "platform/win32/heap.h"
#include "runtime/core/object_table.h"
#include "runtime/core/program.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite.h"
#include "runtime/screen/sprite_table.h"

namespace {

// The record to fill for `number`: a new slot or dynamic object, or the existing sprite with
// its surface and copies given up (a dynamic number cannot be allocated again, so the old
// sprite is reset in place). Null when the number is refused.
SpriteRecord* Reset(ObjectTable* table, int32_t number, int32_t* id) {
    *id = number;
    if (number != -1) {
        if (SpriteRecord* old = Sprite_Record(number)) {
            if (old->depth == kMemorySpriteDepth) {
                HeapFree(Runtime_Heap(), 0, old->memoryBlock);
            } else if (old->surface) {
                old->surface->Release();
            }
            if (old->savedPixels) HeapFree(Runtime_Heap(), 0, old->savedPixels);
            *old = SpriteRecord{};
            return old;
        }
    }
    return static_cast<SpriteRecord*>(ObjectTable_Allocate(table, number, id));
}

}  // namespace

SpriteId Sprite_Grab(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, int32_t mode) {
    ScreenState& s = Screen_State();
    if (!s.sprites || !s.renderSurface || w <= 0 || h <= 0 || mode == 2) return 0;
    if (x < 0 || y < 0 || int64_t{x} + w > s.width || int64_t{y} + h > s.height) return 0;
    // The target cannot be read into itself.
    if (number != -1 && number == s.renderTarget) return 0;
    IDirectDrawSurface7* source = s.renderSurface;
    int32_t id = number;
    SpriteRecord* sprite = Reset(s.sprites, number, &id);
    if (!sprite) return 0;
    if (!Sprite_InitRecord(sprite, w, h, 0, mode)) {
        ObjectTable_Release(s.sprites, id);
        return 0;
    }
    RECT area{x, y, x + w, y + h};
    if (sprite->surface->BltFast(0, 0, source, &area, DDBLTFAST_WAIT) != DD_OK) {
        // Nothing could be copied (a lost screen): no empty sprite is left under the number.
        Sprite_Free(id);
        return 0;
    }
    DDCOLORKEY black{0, 0};
    sprite->surface->SetColorKey(DDCKEY_SRCBLT, &black);
    return SpriteTable_Id(number, id, sprite->surface);
}

SpriteId Sprite_Grab(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h) {
    return Sprite_Grab(number, x, y, w, h, 0);
}
