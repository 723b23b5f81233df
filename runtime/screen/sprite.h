// Sprites: numbered images drawn at pixel positions, opaque or with black transparent,
// through a clip rectangle; made from image files or grabbed from the screen. Each screen
// backend implements these operations under these names.
#pragma once
#include <cstdint>

struct SpriteRecord;  // the backend's record

// Mode flags.
constexpr int32_t kSpriteTextureMode = 4;
constexpr int32_t kSpriteAlphaChannel = 8;
// The transparent colour of the library (0x00BBGGRR); nothing changes it.
constexpr int32_t kSpriteTransparentColor = 0;

// Creation results identify the sprite: the record's address for a numbered sprite, the
// number itself for a dynamic one (-1), so that the other operations accept it. 0 on failure.
using SpriteId = intptr_t;

// `size` is the image file's real length in bytes; nothing beyond it is read.
SpriteId Sprite_CreateFromMemory(int32_t number, const void* image, int32_t size);
SpriteId Sprite_Load(int32_t number, const char* name, int32_t mode);
void Sprite_Clip(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height);
void Sprite_Display(int32_t number, int32_t x, int32_t y);
void Sprite_DisplayTransparent(int32_t number, int32_t x, int32_t y);
int32_t Sprite_Width(int32_t number);
int32_t Sprite_Height(int32_t number);
SpriteId Sprite_Grab(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                     int32_t mode);
SpriteId Sprite_Grab(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height);
void Sprite_Free(int32_t number);
SpriteRecord* Sprite_Exists(int32_t number);
