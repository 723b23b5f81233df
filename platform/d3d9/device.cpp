// The device's life: creation from present parameters, reference counts, the cooperative level
// (lost, not reset, reset), the scene bracket, Clear and Present.
#include <cstring>

#include "platform/d3d9/device_state.h"
#include "platform/host/faults.h"
#include "platform/host/host.h"
#include "platform/host/video.h"
#include "platform/win32/time.h"
#include "platform/win32/window.h"

namespace {

bool DisplayFormat(D3DFORMAT f) {
    return f == D3DFMT_X8R8G8B8 || f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5;
}

// Full-screen sizes the adapter offers (IDirect3D9::GetAdapterModeCount lists the same).
bool FullScreenMode(UINT width, UINT height) {
    return (width == 640 && height == 480) || (width == 800 && height == 600) ||
           (width == 1024 && height == 768);
}

HostPixelFormat HostFormat(D3DFORMAT f) {
    switch (f) {
        case D3DFMT_R5G6B5:
            return HostPixelFormat::kR5G6B5;
        case D3DFMT_X1R5G5B5:
            return HostPixelFormat::kX1R5G5B5;
        default:
            return HostPixelFormat::kX8R8G8B8;
    }
}

}  // namespace

HRESULT D3D9_CheckParameters(D3D9DeviceState& s, D3DPRESENT_PARAMETERS* p) {
    if (!p) return D3DERR_INVALIDCALL;
    if (!p->hDeviceWindow && !s.focus_window) return D3DERR_INVALIDCALL;
    if (p->BackBufferWidth == 0 || p->BackBufferHeight == 0 || p->BackBufferWidth > 16384 ||
        p->BackBufferHeight > 16384) {
        return D3DERR_INVALIDCALL;
    }
    if (p->Windowed && p->BackBufferFormat == D3DFMT_UNKNOWN) {
        p->BackBufferFormat = D3DFMT_X8R8G8B8;
    }
    if (!DisplayFormat(p->BackBufferFormat)) return D3DERR_INVALIDCALL;
    if (p->BackBufferCount == 0) p->BackBufferCount = 1;
    if (p->BackBufferCount > 3) return D3DERR_INVALIDCALL;
    if (p->MultiSampleType != D3DMULTISAMPLE_NONE) return D3DERR_INVALIDCALL;
    if (p->SwapEffect < D3DSWAPEFFECT_DISCARD || p->SwapEffect > D3DSWAPEFFECT_COPY) {
        return D3DERR_INVALIDCALL;
    }
    if (p->SwapEffect == D3DSWAPEFFECT_COPY && p->BackBufferCount != 1) return D3DERR_INVALIDCALL;
    if (p->EnableAutoDepthStencil) return D3DERR_NOTAVAILABLE;
    UINT interval = p->PresentationInterval;
    if (interval != D3DPRESENT_INTERVAL_DEFAULT && interval != D3DPRESENT_INTERVAL_ONE &&
        interval != D3DPRESENT_INTERVAL_IMMEDIATE) {
        return D3DERR_INVALIDCALL;
    }
    if (p->Windowed) {
        if (p->FullScreen_RefreshRateInHz != 0) return D3DERR_INVALIDCALL;
    } else {
        if (!FullScreenMode(p->BackBufferWidth, p->BackBufferHeight)) return D3DERR_INVALIDCALL;
        UINT rate = p->FullScreen_RefreshRateInHz;
        if (rate != 0 && rate != static_cast<UINT>(Host_RefreshRate())) return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

bool D3D9_BuildSwapChain(IDirect3DDevice9* device, D3D9DeviceState& s) {
    const D3DPRESENT_PARAMETERS& p = s.parameters;
    bool lockable = (p.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0;
    for (UINT i = p.BackBufferCount; i < 3; ++i) {
        if (s.back_buffers[i]) IDirect3DSurface9::Destroy(s.back_buffers[i]);
        s.back_buffers[i] = nullptr;
    }
    for (UINT i = 0; i < p.BackBufferCount; ++i) {
        // A reset keeps the surface objects, so references taken before it stay valid.
        if (s.back_buffers[i]) {
            if (!s.back_buffers[i]->Resize(p.BackBufferWidth, p.BackBufferHeight,
                                           p.BackBufferFormat, lockable)) {
                return false;
            }
            continue;
        }
        s.back_buffers[i] = IDirect3DSurface9::Create(
            device, IDirect3DSurface9::Kind::kBackBuffer, p.BackBufferWidth, p.BackBufferHeight,
            p.BackBufferFormat, D3DPOOL_DEFAULT, lockable, nullptr);
        if (!s.back_buffers[i]) return false;
    }
    s.back_buffer_count = p.BackBufferCount;
    return true;
}

HRESULT IDirect3DDevice9::Create(HWND focus_window, DWORD behaviour,
                                 D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** out) {
    auto* state = new D3D9DeviceState();
    state->focus_window = focus_window;
    state->behaviour = behaviour;
    state->host_losses = Host_DeviceLosses();
    HRESULT r = D3D9_CheckParameters(*state, parameters);
    if (r != D3D_OK) {
        delete state;
        return r;
    }
    state->parameters = *parameters;
    auto* device = new IDirect3DDevice9();
    device->state_ = state;
    if (!D3D9_BuildSwapChain(device, *state)) {
        device->Release();
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    state->software_vertex_processing = true;
    D3D9_DefaultStates(*state);
    *out = device;
    return D3D_OK;
}

IDirect3DDevice9::~IDirect3DDevice9() {
    delete state_;
}

ULONG IDirect3DDevice9::AddRef() {
    return ++state_->references;
}

ULONG IDirect3DDevice9::Release() {
    if (state_->references == 0) return 0;
    ULONG left = --state_->references;
    if (left == 0) Destroy();
    return left;
}

void IDirect3DDevice9::Destroy() {
    D3D9DeviceState& s = *state_;
    FlushDraws();
    IDirect3DTexture9* texture = s.texture;
    IDirect3DSurface9* target = s.render_target;
    s.texture = nullptr;
    s.render_target = nullptr;
    if (texture) texture->Release();
    if (target) target->Release();
    for (IDirect3DSurface9*& b : s.back_buffers) {
        if (b) IDirect3DSurface9::Destroy(b);
        b = nullptr;
    }
    s.destroyed = true;
    FreeIfUnused();
}

void IDirect3DDevice9::FreeIfUnused() {
    if (state_->destroyed && state_->resources == 0) delete this;
}

void IDirect3DDevice9::ResourceCreated(D3DPOOL pool) {
    ++state_->resources;
    if (pool == D3DPOOL_DEFAULT) ++state_->default_pool;
}

void IDirect3DDevice9::ResourceDestroyed(D3DPOOL pool) {
    --state_->resources;
    if (pool == D3DPOOL_DEFAULT) --state_->default_pool;
    FreeIfUnused();
}

HRESULT IDirect3DDevice9::TestCooperativeLevel() {
    D3D9DeviceState& s = *state_;
    D3D9_FollowHostFaults(s);
    switch (s.level) {
        case CooperativeLevel::kOk:
            return D3D_OK;
        case CooperativeLevel::kNotReset:
            return D3DERR_DEVICENOTRESET;
        case CooperativeLevel::kDriverError:
            return D3DERR_DRIVERINTERNALERROR;
        case CooperativeLevel::kLost:
            if (D3D9_HostLossLasting(s)) return D3DERR_DEVICELOST;
            break;
    }
    if (s.resettable_after != kD3D9NeverResettable &&
        GetTickCount() - s.lost_at >= s.resettable_after) {
        s.level = CooperativeLevel::kNotReset;
        return D3DERR_DEVICENOTRESET;
    }
    return D3DERR_DEVICELOST;
}

HRESULT IDirect3DDevice9::Reset(D3DPRESENT_PARAMETERS* parameters) {
    D3D9DeviceState& s = *state_;
    if (TestCooperativeLevel() == D3DERR_DEVICELOST) return D3DERR_DEVICELOST;
    // A failed reset leaves the device waiting for another one.
    s.level = CooperativeLevel::kNotReset;
    if (!parameters || s.default_pool > 0) return D3DERR_INVALIDCALL;
    for (UINT i = 0; i < s.back_buffer_count; ++i) {
        if (s.back_buffers[i]->Locked()) return D3DERR_INVALIDCALL;
    }
    D3DPRESENT_PARAMETERS checked = *parameters;
    HRESULT r = D3D9_CheckParameters(s, &checked);
    if (r != D3D_OK) return r;
    // States go back to their defaults first: they hold the old back buffer as the target.
    if (s.texture) s.texture->Release();
    if (s.render_target) s.render_target->Release();
    s.texture = nullptr;
    s.render_target = nullptr;
    D3DPRESENT_PARAMETERS old = s.parameters;
    s.parameters = checked;
    if (!D3D9_BuildSwapChain(this, s)) {
        s.parameters = old;
        D3D9_BuildSwapChain(this, s);
        D3D9_DefaultStates(s);
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    *parameters = checked;
    D3D9_DefaultStates(s);
    s.in_scene = false;
    s.level = CooperativeLevel::kOk;
    s.host_loss = false;
    ++s.counters.resets;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::GetBackBuffer(UINT swap_chain, UINT index, D3DBACKBUFFER_TYPE type,
                                        IDirect3DSurface9** surface) {
    D3D9DeviceState& s = *state_;
    if (!surface) return D3DERR_INVALIDCALL;
    *surface = nullptr;
    if (swap_chain != 0 || index >= s.back_buffer_count || type != D3DBACKBUFFER_TYPE_MONO) {
        return D3DERR_INVALIDCALL;
    }
    s.back_buffers[index]->AddRef();
    *surface = s.back_buffers[index];
    return D3D_OK;
}

HRESULT IDirect3DDevice9::BeginScene() {
    D3D9DeviceState& s = *state_;
    if (s.in_scene) return D3DERR_INVALIDCALL;
    D3D9_FollowHostFaults(s);
    // A lost device opens no scene: the draws of the frame would be thrown away.
    if (s.level != CooperativeLevel::kOk) return D3DERR_DEVICELOST;
    s.in_scene = true;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::EndScene() {
    D3D9DeviceState& s = *state_;
    if (!s.in_scene) return D3DERR_INVALIDCALL;
    FlushDraws();
    s.in_scene = false;
    return D3D_OK;
}

HRESULT IDirect3DDevice9::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour,
                                float, DWORD) {
    D3D9DeviceState& s = *state_;
    // There is no depth or stencil buffer to clear.
    if (flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) return D3DERR_INVALIDCALL;
    if (!(flags & D3DCLEAR_TARGET)) return D3D_OK;
    IDirect3DSurface9* target = s.render_target;
    if (!target || target->Locked()) return D3DERR_INVALIDCALL;
    const SurfaceMemory& m = target->Memory();
    if (count == 0 || !rects) {
        target->Clear(RECT{0, 0, m.width, m.height}, colour);
        return D3D_OK;
    }
    for (DWORD i = 0; i < count; ++i) {
        target->Clear(RECT{rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2}, colour);
    }
    return D3D_OK;
}

HRESULT IDirect3DDevice9::Present(const RECT* source, const RECT* dest, HWND override_window,
                                  const void*) {
    D3D9DeviceState& s = *state_;
    if (s.level == CooperativeLevel::kDriverError) return D3DERR_DRIVERINTERNALERROR;
    if (TestCooperativeLevel() != D3D_OK) return D3DERR_DEVICELOST;
    if (s.in_scene) return D3DERR_INVALIDCALL;
    if ((source || dest) && s.parameters.SwapEffect != D3DSWAPEFFECT_COPY) {
        return D3DERR_INVALIDCALL;
    }
    IDirect3DSurface9* buffer = s.back_buffers[0];
    if (buffer->Locked()) return D3DERR_INVALIDCALL;
    const SurfaceMemory& m = buffer->Memory();
    RECT r{0, 0, m.width, m.height};
    if (source) {
        r.left = source->left < 0 ? 0 : source->left;
        r.top = source->top < 0 ? 0 : source->top;
        r.right = source->right > m.width ? m.width : source->right;
        r.bottom = source->bottom > m.height ? m.height : source->bottom;
        if (r.left >= r.right || r.top >= r.bottom) return D3DERR_INVALIDCALL;
    }
    // The picture goes to the top-level window: a windowed screen's child window presents into
    // its parent's desktop window. The destination rectangle is the host's to fit.
    HWND window = override_window              ? override_window
                  : s.parameters.hDeviceWindow ? s.parameters.hDeviceWindow
                                               : s.focus_window;
    HWND root = GetAncestor(window, GA_ROOT);
    if (root) window = root;
    UINT interval = s.parameters.PresentationInterval;
    if (interval != D3DPRESENT_INTERVAL_IMMEDIATE && !Host_Settings().vsync) {
        D3D9_WaitForRefresh(s);
    }
    int32_t bpp = m.format == D3DFMT_X8R8G8B8 ? 4 : 2;
    HostFrame frame{m.bits + static_cast<int64_t>(r.top) * m.pitch + r.left * bpp, r.right - r.left,
                    r.bottom - r.top, m.pitch, HostFormat(m.format)};
    Host_Present(window, frame);
    ++s.counters.presents;
    // A loss scheduled after this present takes effect before the next frame is drawn.
    D3D9_FollowHostFaults(s);
    return D3D_OK;
}
