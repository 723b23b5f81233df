// Creating sprites from image files held in memory or read from disk: the decoded rows
// converted into the texture's format (A8R8G8B8, or A1R5G5B5 on 16-bit screens), alpha derived
// from the transparent colour.
#include <cstring>

#include "runtime/core/object_table.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"
#include "runtime/screen/sprite_image.h"
#include "runtime/screen/sprite_table.h"

namespace {

// Gives up a slot that got no sprite (for a dynamic number this frees its block).
void Abandon(int32_t number, int32_t dynamic_number) {
    ObjectTable_Release(Screen_State().sprites, SpriteTable_Number(number, dynamic_number));
}

}  // namespace

bool Sprite_InitRecord(SpriteRecord* sprite, int32_t width, int32_t height, int32_t depth,
                       int32_t mode) {
    if ((mode & kSpriteAlphaChannel) && !(mode & kSpriteTextureMode)) return false;
    TextureRecord* t = TextureRecord_Create(width, height, depth, mode);
    if (!t) return false;
    *sprite = SpriteRecord{};
    sprite->texture = t;
    sprite->width = sprite->imageWidth = width;
    sprite->height = sprite->imageHeight = height;
    sprite->depth = t->kind == 3 ? 32 : 16;
    sprite->mode = mode;
    const float coords[8] = {0, 0, 1, 0, 0, 1, 1, 1};
    std::memcpy(sprite->texCoords, coords, sizeof(coords));
    return true;
}

SpriteId Sprite_CreateFromImage(int32_t number, const void* image, int32_t size, int32_t mode) {
    ScreenState& s = Screen_State();
    if (!s.sprites || !image || size <= 0) return 0;
    int32_t dynamic_number = -1;
    auto* sprite =
        static_cast<SpriteRecord*>(ObjectTable_Allocate(s.sprites, number, &dynamic_number));
    if (!sprite) return 0;
    SpriteImage decoded{};
    // Mode 2 is refused before anything is made, so no empty sprite is left behind.
    if (mode == 2 || !SpriteImage_Open(image, size, &decoded)) {
        Abandon(number, dynamic_number);
        return 0;
    }
    SpriteId result = 0;
    int32_t texture_depth = s.depth <= 16 ? 16 : 32;
    if (SpriteImage_Decode(decoded) &&
        Sprite_InitRecord(sprite, decoded.width, decoded.height, texture_depth, mode)) {
        if ((mode & kSpriteAlphaChannel) && decoded.depth < 32) {
            sprite->mode &= ~kSpriteAlphaChannel;
        }
        bool keep_alpha = (sprite->mode & kSpriteAlphaChannel) != 0;
        TextureRecord* t = sprite->texture;
        D3DLOCKED_RECT locked;
        if (t->d3dTexture->LockRect(0, &locked, nullptr, 0) == D3D_OK) {
            SpriteImage_ConvertRows(
                decoded, keep_alpha,
                t->kind == 3 ? SpritePixelFormat::kArgb8888 : SpritePixelFormat::kArgb1555,
                locked.pBits, locked.Pitch, t->width, t->height);
            t->d3dTexture->UnlockRect(0);
        }
        if (!keep_alpha) Sprite_SetTransparentColor(t, kSpriteTransparentColor);
        result = SpriteTable_Id(number, dynamic_number, sprite);
    } else {
        Abandon(number, dynamic_number);
    }
    SpriteImage_Free(&decoded);
    return result;
}

SpriteId Sprite_CreateFromMemory(int32_t number, const void* image, int32_t size) {
    return Sprite_CreateFromImage(number, image, size, 0);
}

SpriteId Sprite_Load(int32_t number, const char* name, int32_t mode) {
    return SpriteImage_LoadFile(number, name, mode, &Sprite_CreateFromImage);
}
