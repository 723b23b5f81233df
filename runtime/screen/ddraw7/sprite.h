// Sprites on DirectDraw 7: numbered images held as surfaces in the screen's pixel format, drawn
// by blits clipped in software, opaque or with black as the source colour key; memory sprites
// hold a plain block instead of a surface.
#pragma once
#include <cstdint>

#include "platform/ddraw7/ddraw.h"
#include "runtime/screen/sprite.h"

// `depth` of a memory sprite.
constexpr int16_t kMemorySpriteDepth = -2;

struct SpriteRecord {
    union {
        IDirectDrawSurface7* surface;  // the pixels
        uint8_t* memoryBlock;          // memory sprite: width x height bytes
    };
    int16_t width, height;  // clip size (drawn size)
    int16_t depth;          // asked for at creation; kMemorySpriteDepth for a memory sprite
    int16_t mode;
    // Heap copy of the pixels taken when the screen loses the focus: a 4-byte row pitch, then
    // the rows. Null when there is none.
    uint8_t* savedPixels;
    int16_t imageWidth, imageHeight;  // full size
    int16_t clipX, clipY;             // clip origin
};
// 24 bytes with 32-bit pointers; the two pointers make it 32 here.
static_assert(sizeof(SpriteRecord) == 32);

// The sprite's surface, or null for a memory sprite.
inline IDirectDrawSurface7* Sprite_Surface(const SpriteRecord* sprite) {
    return sprite->depth == kMemorySpriteDepth ? nullptr : sprite->surface;
}

// Internal to the screen library.
// The record of a live sprite (fast lookup), or null.
SpriteRecord* Sprite_Record(int32_t number);
// Frees every sprite (screen close).
void Sprite_FreeAll();
// Fills a zeroed record with a new surface (or a memory block for mode 2) of the given size.
// `depth` is the depth asked for (0: the screen's). False when refused or not to be had.
bool Sprite_InitRecord(SpriteRecord* sprite, int32_t width, int32_t height, int32_t depth,
                       int32_t mode);
// The worker behind Sprite_CreateFromMemory and Sprite_Load.
SpriteId Sprite_CreateFromImage(int32_t number, const void* image, int32_t size, int32_t mode);
// Pixel copies across a loss of the display: saving visits the sprites without a copy,
// restoring gives every lost surface its memory back and copies the pixels in.
void Sprite_SavePixels();
void Sprite_RestorePixels();
// Frees every copy (the surfaces were not lost after all).
void Sprite_DropSavedPixels();

// Where a sprite at (x, y) with clip (clipX, clipY, width, height) lands on a render target of
// targetWidth x targetHeight: the source rectangle inside the sprite's surface and the target
// position. False when nothing of it is on the target.
bool Sprite_BlitArea(int32_t x, int32_t y, int32_t width, int32_t height, int32_t clipX,
                     int32_t clipY, int32_t targetWidth, int32_t targetHeight, RECT* source,
                     int32_t* targetX, int32_t* targetY);
