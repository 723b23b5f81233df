// The textured-quad table on Direct3D 7: starting the library (the Direct3D 7 interface of the
// DirectDraw object), making quads over sprites' surfaces, freeing them, and letting the device
// and the Direct3D object go.
#include "runtime/screen/ddraw7/sprite3d.h"
#include "runtime/core/object_table.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/sprite_table.h"

Sprite3DState& Sprite3D_State() {
    static Sprite3DState state{};
    return state;
}

int32_t Sprite3D_Init() {
    Sprite3DState& q = Sprite3D_State();
    // A second start keeps the quads of the first.
    if (!q.quads) {
        q.quads = SpriteTable_Create<Sprite3DRecord>(&Sprite3D_Free);
    }
    if (q.direct3d) return 1;
    IDirectDraw7* dd = Screen_State().directDraw;
    void* direct3d = nullptr;
    if (!dd || dd->QueryInterface(IID_IDirect3D7, &direct3d) != DD_OK || !direct3d) return 0;
    q.direct3d = static_cast<IDirect3D7*>(direct3d);
    return 1;
}

void Sprite3D_End() {
    Sprite3DState& q = Sprite3D_State();
    if (!q.quads) return;
    ObjectTable_FreeAll(q.quads);
    // The table lives on the runtime heap, which ends with the program.
    q.quads = nullptr;
}

SpriteId Sprite3D_Create(int32_t quad, int32_t sprite_number) {
    Sprite3DState& q = Sprite3D_State();
    if (!q.quads) return 0;
    int32_t dynamic_number = -1;
    auto* record =
        static_cast<Sprite3DRecord*>(ObjectTable_Allocate(q.quads, quad, &dynamic_number));
    if (!record) return 0;
    const int32_t number = SpriteTable_Number(quad, dynamic_number);
    SpriteRecord* sprite = Sprite_Record(sprite_number);
    IDirectDrawSurface7* surface = sprite ? Sprite_Surface(sprite) : nullptr;
    if (!surface || !(sprite->mode & kSpriteTextureMode)) {
        ObjectTable_Release(q.quads, number);
        return 0;
    }
    surface->AddRef();
    record->surface = surface;
    // The clip size: a clipped sprite's whole surface is squeezed into it.
    record->drawWidth = sprite->width;
    record->drawHeight = sprite->height;
    record->mode = sprite->mode;
    const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < 4; ++i) {
        record->vertices[i] = D3DTLVERTEX{0, 0, 0.0f, 1.0f, 0xFFFFFFFFu, 0, uv[i][0], uv[i][1]};
    }
    record->verticesReady = 0;
    return SpriteTable_Id(quad, dynamic_number, record);
}

void Sprite3D_Free(int32_t quad) {
    Sprite3DState& q = Sprite3D_State();
    if (!q.quads) return;
    auto* record = SpriteTable_Get<Sprite3DRecord>(q.quads, quad);
    if (!record) return;
    record->surface->Release();
    ObjectTable_Release(q.quads, quad);
}

void Sprite3D_ReleaseDevice() {
    Sprite3DState& q = Sprite3D_State();
    if (!q.device) return;
    if (q.sprite3DMode) q.device->EndScene();
    q.sprite3DMode = 0;
    q.device->Release();
    q.device = nullptr;
}

void Sprite3D_ReleaseDirect3D() {
    Sprite3DState& q = Sprite3D_State();
    Sprite3D_ReleaseDevice();
    if (q.direct3d) q.direct3d->Release();
    q.direct3d = nullptr;
}
