// Textured quads on Direct3D 9: a sprite's whole texture drawn at a pixel position with an
// overall opacity (texture times vertex colour, blended by source alpha). The level tiles.
#pragma once
#include <cstdint>

#include "runtime/screen/d3d9/sprite.h"
#include "runtime/screen/sprite3d.h"

struct ObjectTable;

struct Sprite3DVertex {
    float x, y, z, rhw;
    uint32_t diffuse;  // ARGB
    float u, v;
};
static_assert(sizeof(Sprite3DVertex) == 28);

struct Sprite3DRecord {
    TextureRecord* texture;  // held, see TextureRecord::holders
    Sprite3DVertex baseVertices[4];
    Sprite3DVertex drawVertices[4];
    int32_t drawWidth, drawHeight;
    int32_t textureWidth, textureHeight;
    int32_t verticesReady;
};

struct Sprite3DState {
    int32_t sprite3DMode;      // 1 between Sprite3D_Start and Sprite3D_Stop
    int32_t quadStatesActive;  // 1 while the quad render states are in force
    int32_t quadSrcBlend;      // D3DBLEND_SRCALPHA
    int32_t quadDestBlend;     // D3DBLEND_INVSRCALPHA
    ObjectTable* quads;
};

// Internal: the library state, and dropping the quad states when a sprite draw finds them.
Sprite3DState& Sprite3D_State();
void Sprite3D_DropQuadStates();
