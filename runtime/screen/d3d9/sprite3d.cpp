// The textured-quad table: starting and ending the library, making quads over sprites and
// freeing them.
#include "runtime/screen/d3d9/sprite3d.h"
#include "runtime/core/object_table.h"
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
    q.quadSrcBlend = D3DBLEND_SRCALPHA;
    q.quadDestBlend = D3DBLEND_INVSRCALPHA;
    return 1;
}

void Sprite3D_End() {
    Sprite3DState& q = Sprite3D_State();
    if (!q.quads) return;
    ObjectTable_FreeAll(q.quads);
    // The table lives on the runtime heap, which ends with the program.
    q.quads = nullptr;
    q.sprite3DMode = 0;
    q.quadStatesActive = 0;
}

SpriteId Sprite3D_Create(int32_t quad, int32_t sprite_number) {
    Sprite3DState& q = Sprite3D_State();
    if (!q.quads) return 0;
    int32_t dynamic_number = -1;
    auto* record =
        static_cast<Sprite3DRecord*>(ObjectTable_Allocate(q.quads, quad, &dynamic_number));
    if (!record) return 0;
    int32_t number = SpriteTable_Number(quad, dynamic_number);
    SpriteRecord* sprite = Sprite_Record(sprite_number);
    if (!sprite || !(sprite->mode & kSpriteTextureMode)) {
        ObjectTable_Release(q.quads, number);
        return 0;
    }
    TextureRecord* texture = sprite->texture;
    TextureRecord_Hold(texture);
    record->texture = texture;
    // The whole texture, whatever the sprite's clip.
    record->drawWidth = record->textureWidth = texture->width;
    record->drawHeight = record->textureHeight = texture->height;
    const float uv[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (int i = 0; i < 4; ++i) {
        record->baseVertices[i] = Sprite3DVertex{0, 0, 0.0f, 1.0f, 0x00FFFFFFu, uv[i][0], uv[i][1]};
    }
    record->verticesReady = 0;
    return SpriteTable_Id(quad, dynamic_number, record);
}

void Sprite3D_Free(int32_t quad) {
    Sprite3DState& q = Sprite3D_State();
    if (!q.quads) return;
    auto* record = SpriteTable_Get<Sprite3DRecord>(q.quads, quad);
    if (!record) return;
    TextureRecord_Release(record->texture);
    ObjectTable_Release(q.quads, quad);
}
