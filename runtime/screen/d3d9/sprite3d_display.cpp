// Drawing textured quads: the quad states (texture times vertex colour, blended by source
// alpha) applied once per run of quad draws, and each quad moved and coloured by its opacity.
#include <cstring>

#include "runtime/core/object_table.h"
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite3d.h"

namespace {

constexpr int32_t kFvfQuad = 0x144;  // XYZRHW | DIFFUSE | TEX1

int32_t ApplyQuadStates() {
    Sprite3DState& q = Sprite3D_State();
    ScreenState& s = Screen_State();
    if (!q.sprite3DMode || !s.device) return 0;
    IDirect3DDevice9* d = s.device;
    d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    s.cacheAlphaBlend = 1;
    if (d->SetFVF(kFvfQuad) != D3D_OK) return 0;
    s.cacheFvf = kFvfQuad;
    d->SetRenderState(D3DRS_SRCBLEND, static_cast<DWORD>(q.quadSrcBlend));
    d->SetRenderState(D3DRS_DESTBLEND, static_cast<DWORD>(q.quadDestBlend));
    s.cacheSrcBlend = q.quadSrcBlend;
    s.cacheDestBlend = q.quadDestBlend;
    d->SetSoftwareVertexProcessing(TRUE);
    d->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    d->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    q.quadStatesActive = 1;
    return 1;
}

}  // namespace

void Sprite3D_DropQuadStates() {
    Screen_ApplyDefaultStates();
    IDirect3DDevice9* d = Screen_State().device;
    if (d) {
        d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
        d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    }
    Sprite3D_State().quadStatesActive = 0;
}

int32_t Sprite3D_Start() {
    if (!Screen_BeginScene()) return 0;
    Sprite3D_State().sprite3DMode = 1;
    return ApplyQuadStates();
}

void Sprite3D_Stop() {
    Sprite3DState& q = Sprite3D_State();
    if (!q.sprite3DMode) return;
    Sprite3D_DropQuadStates();
    q.sprite3DMode = 0;
}

void Sprite3D_Display(int32_t quad, int32_t x, int32_t y, int32_t opacity) {
    Sprite3DState& q = Sprite3D_State();
    if (!q.quads) return;
    auto* record = static_cast<Sprite3DRecord*>(ObjectTable_Get(q.quads, quad));
    if (!record) return;
    if (!q.quadStatesActive) ApplyQuadStates();
    if (!record->verticesReady) {
        const float w = static_cast<float>(record->drawWidth) - 0.5f;
        const float h = static_cast<float>(record->drawHeight) - 0.5f;
        const float pos[4][2] = {{-0.5f, -0.5f}, {w, -0.5f}, {-0.5f, h}, {w, h}};
        for (int i = 0; i < 4; ++i) {
            record->baseVertices[i].x = pos[i][0];
            record->baseVertices[i].y = pos[i][1];
        }
        record->verticesReady = 1;
    }
    std::memcpy(record->drawVertices, record->baseVertices, sizeof(record->drawVertices));
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    // Only the low 8 bits of the opacity count: 256 is fully transparent.
    const uint32_t alpha = static_cast<uint32_t>(opacity) << 24;
    for (Sprite3DVertex& v : record->drawVertices) {
        v.x += fx;
        v.y += fy;
        v.diffuse |= alpha;
    }
    IDirect3DDevice9* d = Screen_State().device;
    if (!d) return;
    d->SetTexture(0, record->texture->d3dTexture);
    d->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, record->drawVertices, sizeof(Sprite3DVertex));
}
