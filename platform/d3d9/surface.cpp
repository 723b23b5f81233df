// Surfaces of the software device: back buffers, render targets, plain surfaces and texture
// levels. Their pixels are plain memory; locks and device contexts hand that memory out.
#include <cstdlib>
#include <cstring>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/pixel_math.h"

namespace {

// Sides beyond this are refused, so every size computation stays far inside 64 bits.
constexpr UINT kMaxSide = 16384;

bool AllocateMemory(SurfaceMemory* m, UINT width, UINT height, D3DFORMAT format) {
    int32_t bpp = d3d9px::BytesPerPixel(format);
    if (bpp == 0 || width == 0 || height == 0 || width > kMaxSide || height > kMaxSide) {
        return false;
    }
    // 16-byte rows: callers must step by the pitch, never by width x bytes per pixel.
    int32_t pitch = static_cast<int32_t>((width * bpp + 15) & ~15u);
    size_t size = static_cast<size_t>(pitch) * height;
    auto* bits = static_cast<uint8_t*>(std::aligned_alloc(64, (size + 63) & ~size_t{63}));
    if (!bits) return false;
    std::memset(bits, 0, size);
    std::free(m->bits);
    *m = SurfaceMemory{bits, pitch, static_cast<int32_t>(width), static_cast<int32_t>(height),
                       format};
    return true;
}

GdiPixelFormat GdiFormat(D3DFORMAT f) {
    switch (f) {
        case D3DFMT_R5G6B5:
            return GdiPixelFormat::kR5G6B5;
        case D3DFMT_X1R5G5B5:
            return GdiPixelFormat::kX1R5G5B5;
        default:
            return GdiPixelFormat::kX8R8G8B8;
    }
}

}  // namespace

IDirect3DSurface9* IDirect3DSurface9::Create(IDirect3DDevice9* device, Kind kind, UINT width,
                                             UINT height, D3DFORMAT format, D3DPOOL pool,
                                             bool lockable, IDirect3DTexture9* container) {
    auto* s = new IDirect3DSurface9();
    if (!AllocateMemory(&s->memory_, width, height, format)) {
        delete s;
        return nullptr;
    }
    s->device_ = device;
    s->kind_ = kind;
    s->pool_ = pool;
    s->lockable_ = lockable;
    s->container_ = container;
    // Texture levels count through their texture; back buffers belong to the swap chain.
    if (!container && kind != Kind::kBackBuffer) device->ResourceCreated(pool);
    return s;
}

IDirect3DSurface9::~IDirect3DSurface9() {
    // Held-back draws may read these pixels (a texture) or write them (the target).
    if (device_) device_->FlushDraws();
    if (dc_) Gdi_DeleteSurfaceDC(dc_);
    std::free(memory_.bits);
}

void IDirect3DSurface9::Destroy(IDirect3DSurface9* surface) {
    delete surface;
}

const SurfaceMemory& IDirect3DSurface9::Memory() const {
    if (device_ && device_->QueuedTarget() == this) device_->FlushDraws();
    return memory_;
}

bool IDirect3DSurface9::Resize(UINT width, UINT height, D3DFORMAT format, bool lockable) {
    if (Locked()) return false;
    if (device_) device_->FlushDraws();
    lockable_ = lockable;
    return AllocateMemory(&memory_, width, height, format);
}

ULONG IDirect3DSurface9::AddRef() {
    if (container_) return container_->AddRef();
    return ++references_;
}

ULONG IDirect3DSurface9::Release() {
    if (container_) return container_->Release();
    if (references_ == 0) return 0;
    ULONG left = --references_;
    // Back buffers keep the swap chain's own reference until the device goes.
    if (left == 0 && kind_ != Kind::kBackBuffer) {
        IDirect3DDevice9* device = device_;
        D3DPOOL pool = pool_;
        delete this;
        device->ResourceDestroyed(pool);
    }
    return left;
}

HRESULT IDirect3DSurface9::GetDesc(D3DSURFACE_DESC* desc) {
    if (!desc) return D3DERR_INVALIDCALL;
    *desc = D3DSURFACE_DESC{
        memory_.format,
        D3DRTYPE_SURFACE,
        kind_ == Kind::kRenderTarget || kind_ == Kind::kBackBuffer ? D3DUSAGE_RENDERTARGET : 0u,
        pool_,
        D3DMULTISAMPLE_NONE,
        0,
        static_cast<UINT>(memory_.width),
        static_cast<UINT>(memory_.height)};
    return D3D_OK;
}

HRESULT IDirect3DSurface9::LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags) {
    if (!locked || !lockable_ || Locked()) return D3DERR_INVALIDCALL;
    // The lock sees every draw made so far, and what it writes reaches no draw made before it.
    if (device_) device_->FlushDraws();
    RECT r{0, 0, memory_.width, memory_.height};
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
            rect->top >= rect->bottom || rect->right > memory_.width ||
            rect->bottom > memory_.height) {
            return D3DERR_INVALIDCALL;
        }
        r = *rect;
    }
    locked->Pitch = memory_.pitch;
    locked->pBits = memory_.bits + static_cast<int64_t>(r.top) * memory_.pitch +
                    r.left * d3d9px::BytesPerPixel(memory_.format);
    locked_ = true;
    locked_for_write_ = (flags & D3DLOCK_READONLY) == 0;
    return D3D_OK;
}

HRESULT IDirect3DSurface9::UnlockRect() {
    if (!locked_) return D3DERR_INVALIDCALL;
    locked_ = false;
    if (container_ && locked_for_write_) container_->SurveyAlpha();
    return D3D_OK;
}

HRESULT IDirect3DSurface9::GetDC(HDC* dc) {
    if (!dc) return D3DERR_INVALIDCALL;
    D3DFORMAT f = memory_.format;
    if (!lockable_ || Locked() ||
        (f != D3DFMT_X8R8G8B8 && f != D3DFMT_R5G6B5 && f != D3DFMT_X1R5G5B5)) {
        return D3DERR_INVALIDCALL;
    }
    GdiSurface surface{memory_.bits,   memory_.pitch, memory_.width,
                       memory_.height, GdiFormat(f),  kind_ == Kind::kBackBuffer};
    if (device_) device_->FlushDraws();
    HDC made = Gdi_CreateSurfaceDC(surface);
    if (!made) return D3DERR_INVALIDCALL;
    dc_ = made;
    *dc = made;
    return D3D_OK;
}

HRESULT IDirect3DSurface9::ReleaseDC(HDC dc) {
    if (!dc_ || dc != dc_) return D3DERR_INVALIDCALL;
    Gdi_DeleteSurfaceDC(dc_);
    dc_ = nullptr;
    return D3D_OK;
}

void IDirect3DSurface9::Clear(const RECT& area, D3DCOLOR colour) {
    if (device_) device_->FlushDraws();
    RECT r = area;
    if (r.left < 0) r.left = 0;
    if (r.top < 0) r.top = 0;
    if (r.right > memory_.width) r.right = memory_.width;
    if (r.bottom > memory_.height) r.bottom = memory_.height;
    for (LONG y = r.top; y < r.bottom; ++y) {
        uint8_t* row = memory_.bits + static_cast<int64_t>(y) * memory_.pitch;
        for (LONG x = r.left; x < r.right; ++x) d3d9px::Store(memory_.format, row, x, colour);
    }
}
