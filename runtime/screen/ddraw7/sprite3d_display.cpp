// Drawing textured quads on Direct3D 7: the device made on the back buffer at the first start,
// the scene with alpha blending and colour keys, and each quad moved and given its opacity as
// alpha; black is cut by the colour key unless the sprite keeps its own alpha.
#include <cstring>

#include "runtime/core/object_table.h"
#include "runtime/screen/ddraw7/screen_state.h"
#include "runtime/screen/ddraw7/sprite3d.h"

namespace {

// EnumDevices: the last device reported is the one taken.
HRESULT RememberDevice(char*, char*, D3DDEVICEDESC7* desc, void* context) {
    *static_cast<GUID*>(context) = desc->deviceGUID;
    return D3DENUMRET_OK;
}

bool MakeDevice(Sprite3DState& q, IDirectDrawSurface7* back_buffer) {
    if (!q.direct3d || !back_buffer) return false;
    GUID device = IID_IDirect3DRGBDevice;
    if (q.direct3d->EnumDevices(&RememberDevice, &device) != D3D_OK)
        device = IID_IDirect3DRGBDevice;
    if (q.direct3d->CreateDevice(device, back_buffer, &q.device) != D3D_OK || !q.device) {
        q.device = nullptr;
        return false;
    }
    q.device->GetViewport(&q.viewport);
    return true;
}

}  // namespace

int32_t Sprite3D_Start() {
    Sprite3DState& q = Sprite3D_State();
    ScreenState& s = Screen_State();
    if (!s.screenOpen) return 0;
    if (!q.device && !MakeDevice(q, s.backBuffer)) return 0;
    if (q.device->BeginScene() != D3D_OK) return 0;
    IDirect3DDevice7* d = q.device;
    d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
    d->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    d->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, TRUE);
    q.colorKeyEnabled = 1;
    q.sprite3DMode = 1;
    return 1;
}

void Sprite3D_Stop() {
    Sprite3DState& q = Sprite3D_State();
    if (!q.sprite3DMode) return;
    if (q.device) q.device->EndScene();
    q.sprite3DMode = 0;
}

void Sprite3D_Display(int32_t quad, int32_t x, int32_t y, int32_t opacity) {
    Sprite3DState& q = Sprite3D_State();
    if (!q.quads) return;
    auto* record = static_cast<Sprite3DRecord*>(ObjectTable_Get(q.quads, quad));
    if (!record || !q.device) return;
    if (!record->verticesReady) {
        const float w = static_cast<float>(record->drawWidth) - 0.5f;
        const float h = static_cast<float>(record->drawHeight) - 0.5f;
        const float pos[4][2] = {{-0.5f, -0.5f}, {w, -0.5f}, {-0.5f, h}, {w, h}};
        for (int i = 0; i < 4; ++i) {
            record->vertices[i].sx = pos[i][0];
            record->vertices[i].sy = pos[i][1];
        }
        record->verticesReady = 1;
    }
    D3DTLVERTEX v[4];
    std::memcpy(v, record->vertices, sizeof(v));
    const float fx = static_cast<float>(x), fy = static_cast<float>(y);
    // Only the low 8 bits of the opacity count.
    const uint32_t alpha = (static_cast<uint32_t>(opacity) << 24) | 0x00FFFFFFu;
    for (D3DTLVERTEX& vertex : v) {
        vertex.sx += fx;
        vertex.sy += fy;
        vertex.color &= alpha;
    }
    IDirect3DDevice7* d = q.device;
    d->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
    d->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_POINT);
    if (record->mode & kSpriteAlphaChannel) {
        if (q.colorKeyEnabled) {
            d->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, FALSE);
            q.colorKeyEnabled = 0;
        }
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    } else {
        // Alpha = opacity; the colour key removes black.
        if (!q.colorKeyEnabled) {
            d->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, TRUE);
            q.colorKeyEnabled = 1;
        }
        d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    }
    d->SetTexture(0, record->surface);
    d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, v, 4, 0);
}
