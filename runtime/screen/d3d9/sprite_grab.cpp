// Sprite_Grab: a rectangle of the render target (the back buffer, or the sprite being rendered
// into) copied through GDI into a sprite.
#include "runtime/core/object_table.h"
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"
#include "runtime/screen/sprite_table.h"

SpriteId Sprite_Grab(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h, int32_t mode) {
    ScreenState& s = Screen_State();
    if (x < 0 || y < 0 || w <= 0 || h <= 0 || int64_t{x} + w > s.width ||
        int64_t{y} + h > s.height || mode == 2 || !s.sprites || !s.device) {
        return 0;
    }
    int32_t depth = (mode & kSpriteAlphaChannel) ? 32 : s.depth;
    int32_t grabbed = number;
    SpriteRecord* sprite = Sprite_Record(number);
    bool reused = sprite && sprite->width == w && sprite->height == h && sprite->depth == depth;
    if (!reused) {
        int32_t dynamic_number = -1;
        sprite =
            static_cast<SpriteRecord*>(ObjectTable_Allocate(s.sprites, number, &dynamic_number));
        if (!sprite) return 0;
        if (number == -1) grabbed = dynamic_number;
        if (!Sprite_InitRecord(sprite, w, h, depth, mode)) {
            ObjectTable_Release(s.sprites, grabbed);
            return 0;
        }
    }
    Screen_EndScene();

    HDC source = nullptr;
    TextureRecord* target_texture = nullptr;
    if (s.renderTarget != -1) {
        SpriteRecord* target = Sprite_Record(s.renderTarget);
        if (target) {
            target_texture = target->texture;
            // What was rendered so far is in the render surface, not yet in the texture.
            Sprite_CopyBackRendered(target_texture);
            source = Sprite_GetDC(target_texture);
        }
    } else if (s.backBuffer && s.backBuffer->GetDC(&source) != D3D_OK) {
        source = nullptr;
    }
    SpriteId result = 0;
    sprite = Sprite_Record(grabbed);
    if (source && sprite) {
        HDC dest = Sprite_GetDC(sprite->texture);
        if (dest) {
            BitBlt(dest, 0, 0, w, h, source, x, y, SRCCOPY);
            result = SpriteTable_Id(number, grabbed, sprite);
            Sprite_ReleaseDC(sprite->texture);
        }
    }
    if (source) {
        if (target_texture)
            Sprite_ReleaseDC(target_texture);
        else
            s.backBuffer->ReleaseDC(source);
    }
    if (!sprite) return 0;
    if (!result && !reused) {
        // Nothing could be copied: no empty sprite is left under the number.
        Sprite_Free(grabbed);
        return 0;
    }
    Sprite_SetTransparentColor(sprite->texture, kSpriteTransparentColor);
    return result;
}

SpriteId Sprite_Grab(int32_t number, int32_t x, int32_t y, int32_t w, int32_t h) {
    return Sprite_Grab(number, x, y, w, h, 0);
}
