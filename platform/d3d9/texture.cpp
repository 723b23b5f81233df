// Textures of the software device: one level of plain memory in A8R8G8B8 or A1R5G5B5. After
// every write the texture notes whether its alpha is only 0 and 255, which lets a transparent
// draw be a masked copy, and whether it is 255 everywhere, which makes it a plain copy that
// hides whatever it covers.
#include "platform/d3d9/d3d9.h"

IDirect3DTexture9* IDirect3DTexture9::Create(IDirect3DDevice9* device, UINT width, UINT height,
                                             D3DFORMAT format) {
    auto* t = new IDirect3DTexture9();
    t->level_ = IDirect3DSurface9::Create(device, IDirect3DSurface9::Kind::kTextureLevel, width,
                                          height, format, D3DPOOL_MANAGED, true, t);
    if (!t->level_) {
        delete t;
        return nullptr;
    }
    t->device_ = device;
    const SurfaceMemory& m = t->level_->RawMemory();
    t->sampling_ = RasterTexture{m.bits, m.pitch, m.width, m.height, m.format, true, false};
    device->ResourceCreated(D3DPOOL_MANAGED);
    return t;
}

IDirect3DTexture9::~IDirect3DTexture9() {
    if (level_) IDirect3DSurface9::Destroy(level_);
}

ULONG IDirect3DTexture9::ReleaseLast() {
    if (references_ == 0) return 0;
    references_ = 0;
    IDirect3DDevice9* device = device_;
    delete this;
    device->ResourceDestroyed(D3DPOOL_MANAGED);
    return 0;
}

HRESULT IDirect3DTexture9::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
    if (level != 0 || !surface) return D3DERR_INVALIDCALL;
    AddRef();
    *surface = level_;
    return D3D_OK;
}

HRESULT IDirect3DTexture9::GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) {
    if (level != 0 || !desc) return D3DERR_INVALIDCALL;
    HRESULT r = level_->GetDesc(desc);
    desc->Type = D3DRTYPE_TEXTURE;
    return r;
}

HRESULT IDirect3DTexture9::LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect,
                                    DWORD flags) {
    if (level != 0) return D3DERR_INVALIDCALL;
    return level_->LockRect(locked, rect, flags);
}

HRESULT IDirect3DTexture9::UnlockRect(UINT level) {
    if (level != 0) return D3DERR_INVALIDCALL;
    return level_->UnlockRect();
}

void IDirect3DTexture9::SurveyAlpha() {
    const SurfaceMemory& m = level_->RawMemory();
    if (m.format != D3DFMT_A8R8G8B8) {
        // One alpha bit: binary always, opaque when every pixel has it set.
        bool opaque = true;
        for (int32_t y = 0; y < m.height && opaque; ++y) {
            const uint16_t* row = reinterpret_cast<const uint16_t*>(m.bits + int64_t{y} * m.pitch);
            uint32_t all = 0x8000;
            for (int32_t x = 0; x < m.width; ++x) all &= row[x];
            opaque = all != 0;
        }
        sampling_.alpha_binary = true;
        sampling_.alpha_opaque = opaque;
        return;
    }
    bool binary = true;
    bool opaque = true;
    for (int32_t y = 0; y < m.height && binary; ++y) {
        const uint32_t* row = reinterpret_cast<const uint32_t*>(m.bits + int64_t{y} * m.pitch);
        uint32_t odd = 0;
        uint32_t all = 0xFF000000u;
        for (int32_t x = 0; x < m.width; ++x) {
            uint32_t a = row[x] >> 24;
            odd |= (a != 0 && a != 255) ? 1u : 0u;
            all &= row[x];
        }
        binary = odd == 0;
        opaque = opaque && all == 0xFF000000u;
    }
    sampling_.alpha_binary = binary;
    sampling_.alpha_opaque = binary && opaque;
}
