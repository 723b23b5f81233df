// Textured quads: a sprite's whole texture drawn at a pixel position with an overall opacity.
// The level tiles. Each screen backend implements these operations under these names.
#pragma once
#include <cstdint>

#include "runtime/screen/sprite.h"

int32_t Sprite3D_Init();
void Sprite3D_End();
// The quad's identifier, or 0 (unknown sprite, or one made without mode flag 4).
SpriteId Sprite3D_Create(int32_t quad, int32_t sprite);
void Sprite3D_Display(int32_t quad, int32_t x, int32_t y, int32_t opacity);
void Sprite3D_Free(int32_t quad);
int32_t Sprite3D_Start();
void Sprite3D_Stop();
