// Textured quads on Direct3D 7: a sprite's whole surface drawn into the back buffer at a pixel
// position with an overall opacity (alpha = opacity; black cut by the colour key unless the
// sprite keeps its own alpha). The level tiles.
#pragma once
#include <cstdint>

#include "platform/ddraw7/d3d7.h"
#include "runtime/screen/ddraw7/sprite.h"
#include "runtime/screen/sprite3d.h"

struct ObjectTable;

struct Sprite3DRecord {
    IDirectDrawSurface7* surface;   // the sprite's surface, counted so it outlives the sprite
    D3DTLVERTEX vertices[4];        // the quad at the origin: top-left, top-right, bottom-left,
                                    // bottom-right
    int32_t drawWidth, drawHeight;  // the sprite's clip size at creation
    int32_t mode;                   // the sprite's mode flags
    int32_t verticesReady;
};
static_assert(sizeof(Sprite3DRecord) == 152);

struct Sprite3DState {
    ObjectTable* quads;
    IDirect3D7* direct3d;      // from the DirectDraw object by Sprite3D_Init
    IDirect3DDevice7* device;  // made on the back buffer by the first Sprite3D_Start
    D3DVIEWPORT7 viewport;
    int32_t colorKeyEnabled;
    int32_t sprite3DMode;  // 1 between Sprite3D_Start and Sprite3D_Stop
};

Sprite3DState& Sprite3D_State();
// The device goes with the screen (Screen_Close), the Direct3D object with the library
// (Sprite_End).
void Sprite3D_ReleaseDevice();
void Sprite3D_ReleaseDirect3D();
