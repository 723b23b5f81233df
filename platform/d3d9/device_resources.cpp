// Resources the device makes and the render target it draws to: textures, render-target
// surfaces, plain surfaces.
#include "platform/d3d9/device_state.h"

namespace {

constexpr UINT kMaxSide = 16384;

bool SizeAllowed(UINT width, UINT height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide;
}

bool DisplayFormat(D3DFORMAT f) {
    return f == D3DFMT_X8R8G8B8 || f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5;
}

}  // namespace

HRESULT IDirect3DDevice9::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage,
                                        D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture,
                                        HANDLE* shared) {
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = nullptr;
    // One level, no render-target textures, lockable pools, the two texture formats.
    if (levels != 1 || usage != 0 || shared || !SizeAllowed(width, height)) {
        return D3DERR_INVALIDCALL;
    }
    if (format != D3DFMT_A8R8G8B8 && format != D3DFMT_A1R5G5B5) return D3DERR_INVALIDCALL;
    if (pool != D3DPOOL_MANAGED && pool != D3DPOOL_SYSTEMMEM) return D3DERR_INVALIDCALL;
    IDirect3DTexture9* made = IDirect3DTexture9::Create(this, width, height, format);
    if (!made) return D3DERR_OUTOFVIDEOMEMORY;
    *texture = made;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::CreateRenderTarget(UINT width, UINT height, D3DFORMAT format,
                                             D3DMULTISAMPLE_TYPE multisample, DWORD quality,
                                             BOOL lockable, IDirect3DSurface9** surface,
                                             HANDLE* shared) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (multisample != D3DMULTISAMPLE_NONE || quality != 0 || shared ||
        !SizeAllowed(width, height) || !DisplayFormat(format)) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DSurface9* made =
        IDirect3DSurface9::Create(this, IDirect3DSurface9::Kind::kRenderTarget, width, height,
                                  format, D3DPOOL_DEFAULT, lockable != 0, nullptr);
    if (!made) return D3DERR_OUTOFVIDEOMEMORY;
    *surface = made;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                                      D3DPOOL pool, IDirect3DSurface9** surface,
                                                      HANDLE* shared) {
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (shared || !SizeAllowed(width, height) || pool == D3DPOOL_MANAGED ||
        pool > D3DPOOL_SCRATCH) {
        return D3DERR_INVALIDCALL;
    }
    if (!DisplayFormat(format) && format != D3DFMT_A8R8G8B8 && format != D3DFMT_A1R5G5B5) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DSurface9* made = IDirect3DSurface9::Create(
        this, IDirect3DSurface9::Kind::kOffscreenPlain, width, height, format, pool, true, nullptr);
    if (!made) return D3DERR_OUTOFVIDEOMEMORY;
    *surface = made;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::SetRenderTarget(DWORD index, IDirect3DSurface9* surface) {
    D3D9DeviceState& s = *state_;
    // One render target, never none, made by this device to be drawn on.
    if (index != 0 || !surface || surface->Device() != this) return D3DERR_INVALIDCALL;
    auto kind = surface->SurfaceKind();
    if (kind != IDirect3DSurface9::Kind::kRenderTarget &&
        kind != IDirect3DSurface9::Kind::kBackBuffer) {
        return D3DERR_INVALIDCALL;
    }
    FlushDraws();
    surface->AddRef();
    if (s.render_target) s.render_target->Release();
    s.render_target = surface;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetRenderTarget(DWORD index, IDirect3DSurface9** surface) {
    D3D9DeviceState& s = *state_;
    if (index != 0 || !surface || !s.render_target) return D3DERR_INVALIDCALL;
    s.render_target->AddRef();
    *surface = s.render_target;
    return D3D_OK;
}
