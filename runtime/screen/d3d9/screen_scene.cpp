// The per-frame scene bracket, the default device states, the render-state cache and the
// render target (the back buffer or a sprite).
#include "runtime/screen/d3d9/screen.h"
#include "runtime/screen/d3d9/screen_state.h"
#include "runtime/screen/d3d9/sprite.h"

int32_t Screen_BeginScene() {
    ScreenState& s = Screen_State();
    if (s.inScene) return 1;
    if (s.device && s.device->BeginScene() == D3D_OK) s.inScene = 1;
    return s.inScene;
}

void Screen_EndScene() {
    ScreenState& s = Screen_State();
    if (!s.inScene) return;
    s.inScene = 0;
    if (s.device) s.device->EndScene();
}

void Screen_ApplyDefaultStates() {
    IDirect3DDevice9* d = Screen_State().device;
    if (!d) return;
    d->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    d->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    d->SetSoftwareVertexProcessing(FALSE);
    d->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    d->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    d->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, FALSE);
}

namespace {

void Cached(int32_t* entry, D3DRENDERSTATETYPE state, int32_t value) {
    IDirect3DDevice9* d = Screen_State().device;
    if (*entry == value || !d) return;
    d->SetRenderState(state, static_cast<DWORD>(value));
    *entry = value;
}

}  // namespace

void Screen_CacheAlphaBlend(int32_t value) {
    Cached(&Screen_State().cacheAlphaBlend, D3DRS_ALPHABLENDENABLE, value);
}

void Screen_CacheSrcBlend(int32_t value) {
    Cached(&Screen_State().cacheSrcBlend, D3DRS_SRCBLEND, value);
}

void Screen_CacheDestBlend(int32_t value) {
    Cached(&Screen_State().cacheDestBlend, D3DRS_DESTBLEND, value);
}

bool Screen_CacheFvf(int32_t fvf) {
    ScreenState& s = Screen_State();
    if (s.cacheFvf == fvf) return true;
    if (!s.device || s.device->SetFVF(static_cast<DWORD>(fvf)) != D3D_OK) return false;
    s.cacheFvf = fvf;
    return true;
}

void Screen_ForgetRenderStates() {
    ScreenState& s = Screen_State();
    s.cacheAlphaBlend = s.cacheSrcBlend = s.cacheDestBlend = s.cacheFvf = -1;
}

int32_t Screen_SetRenderTarget(int32_t number) {
    ScreenState& s = Screen_State();
    if (number == s.renderTarget) return 1;
    if (!s.device) return 0;
    int32_t previous = s.renderTarget;
    if (number == -1) {
        if (!s.backBuffer || s.device->SetRenderTarget(0, s.backBuffer) != D3D_OK) return 0;
        s.renderTarget = -1;
        s.width = s.screenWidth;
        s.height = s.screenHeight;
    } else {
        SpriteRecord* sprite = Sprite_Record(number);
        if (!sprite || !sprite->texture->renderSurface ||
            s.device->SetRenderTarget(0, sprite->texture->renderSurface) != D3D_OK) {
            return 0;
        }
        // Drawing into a sprite draws over its image.
        Sprite_PrimeRenderSurface(sprite->texture);
        s.renderTarget = number;
        s.width = sprite->imageWidth;
        s.height = sprite->imageHeight;
    }
    // The sprite that stopped being the target takes its rendered pixels into its texture.
    if (previous != -1) {
        SpriteRecord* old = Sprite_Record(previous);
        if (old) Sprite_CopyBackRendered(old->texture);
    }
    return 1;
}
