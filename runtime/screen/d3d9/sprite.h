// Sprites on Direct3D 9: numbered images held as textures, drawn as screen-aligned quads,
// opaque or with black transparent, through a clip rectangle; made from image files or grabbed
// from the screen.
#pragma once
#include <cstdint>
#include "runtime/screen/sprite.h"

#include "platform/d3d9/d3d9.h"
#include "platform/gdi/gdi.h"

struct TextureRecord {
    int32_t kind;  // 2: A1R5G5B5, 3: A8R8G8B8
    int32_t width, height;
    uint8_t textureMode;  // 1 when made with mode flag 4
    int32_t key;          // transparent colour last applied to the alpha; -1 before
    IDirect3DTexture9* d3dTexture;
    IDirect3DSurface9* levelSurface;
    IDirect3DSurface9* gdiSurface;     // system-memory copy for GDI, made on first need
    IDirect3DSurface9* renderSurface;  // kind 2: X1R5G5B5 render target, default pool
    HDC dc;                            // GDI device context on gdiSurface while held
    // Holders: the sprite, and each textured quad made over it. The record and its textures
    // go when the last one lets go, so a quad never draws from freed memory.
    int32_t holders;
};

struct SpriteRecord {
    TextureRecord* texture;
    int32_t width, height;  // the clip size
    int32_t depth;          // 16 or 32
    int32_t mode;
    int32_t imageWidth, imageHeight;
    int32_t clipX, clipY;
    float texCoords[8];  // (u, v) of top-left, top-right, bottom-left, bottom-right
};

// Internal to the screen library.
void Sprite_SetTransparentColor(TextureRecord* texture, int32_t colour);
HDC Sprite_GetDC(TextureRecord* texture);
void Sprite_ReleaseDC(TextureRecord* texture);
// The record of a live sprite (fast lookup), or null.
SpriteRecord* Sprite_Record(int32_t number);
// Frees every sprite (screen close, failed open).
void Sprite_FreeAll();
// Kind-2 render surfaces live in the device's default pool: released before a reset, made
// again (with the texture's pixels) after it.
void Sprite_ReleaseDeviceResources();
void Sprite_RestoreDeviceResources();
// Copies a kind-2 sprite's rendered pixels back into its texture (render target left).
void Sprite_CopyBackRendered(TextureRecord* texture);
// Copies the texture into its render surface (a kind-2 sprite becomes the render target).
void Sprite_PrimeRenderSurface(TextureRecord* texture);
// Makes a texture record with one holder (kind 3 above depth 16, else kind 2), or null.
TextureRecord* TextureRecord_Create(int32_t width, int32_t height, int32_t depth, int32_t mode);
// Texture records are shared with the quads; the last holder's release frees them.
void TextureRecord_Hold(TextureRecord* texture);
void TextureRecord_Release(TextureRecord* texture);
// Releases what only the sprite uses (device context, GDI surface, render surface).
void TextureRecord_DropSpriteParts(TextureRecord* texture);
// Fills a sprite record over a new texture (the worker of creation and grabbing); false when
// the mode or the texture is refused.
bool Sprite_InitRecord(SpriteRecord* sprite, int32_t width, int32_t height, int32_t depth,
                       int32_t mode);
