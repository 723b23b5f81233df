// Surfaces of the DirectDraw object: their memory and reference counts, the attached back
// buffer, descriptions, locks, GDI device contexts, source colour keys, loss and restore.
#include <cstdlib>
#include <cstring>

#include "platform/ddraw7/ddraw_state.h"
#include "platform/ddraw7/pixel_format.h"
#include "platform/host/faults.h"

namespace {

bool AllocateMemory(DDSurfaceMemory* m, int32_t width, int32_t height, DDFormat format) {
    const int32_t bpp = dd7px::BytesPerPixel(format);
    if (bpp == 0 || width <= 0 || height <= 0) return false;
    // 16-byte rows: callers must step by the pitch, never by width x bytes per pixel.
    const int32_t pitch = (width * bpp + 15) & ~15;
    const size_t size = static_cast<size_t>(pitch) * static_cast<size_t>(height);
    auto* bits = static_cast<uint8_t*>(std::aligned_alloc(64, (size + 63) & ~size_t{63}));
    if (!bits) return false;
    std::memset(bits, 0, size);
    *m = DDSurfaceMemory{bits, pitch, width, height, format};
    return true;
}

}  // namespace

IDirectDrawSurface7* IDirectDrawSurface7::Create(IDirectDraw7* owner, DWORD caps, int32_t width,
                                                 int32_t height, DDFormat format) {
    auto* s = new IDirectDrawSurface7();
    if (!AllocateMemory(&s->memory_, width, height, format)) {
        delete s;
        return nullptr;
    }
    s->owner_ = owner;
    s->caps_ = caps;
    owner->SurfaceCreated(s);
    return s;
}

IDirectDrawSurface7::~IDirectDrawSurface7() {
    // Held-back draws may read these pixels or write them.
    if (owner_) DDraw7_Flush(owner_->State());
    if (dc_) Gdi_DeleteSurfaceDC(dc_);
    if (back_buffer_) back_buffer_->Release();
    if (clipper_) clipper_->Release();
    if (owner_) owner_->SurfaceDestroyed(this);
    std::free(memory_.bits);
}

const DDSurfaceMemory& IDirectDrawSurface7::Memory() const {
    if (owner_) DDraw7_Flush(owner_->State());
    return memory_;
}

ULONG IDirectDrawSurface7::ReleaseLast() {
    if (references_ == 0) return 0;
    references_ = 0;
    delete this;
    return 0;
}

void IDirectDrawSurface7::Orphan() {
    owner_ = nullptr;
    orphaned_ = true;
    lost_ = true;
}

void IDirectDrawSurface7::AttachBackBuffer(IDirectDrawSurface7* back_buffer) {
    back_buffer_ = back_buffer;
}

void IDirectDrawSurface7::SetCreationMode(int32_t width, int32_t height, int32_t bpp) {
    mode_width_ = width;
    mode_height_ = height;
    mode_bpp_ = bpp;
}

HRESULT IDirectDrawSurface7::Usable() {
    if (orphaned_) return DDERR_INVALIDOBJECT;
    owner_->FollowHostFaults();
    if (lost_) return DDERR_SURFACELOST;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) {
    if (!caps || !surface) return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    if (orphaned_) return DDERR_INVALIDOBJECT;
    if (!back_buffer_ || (caps->dwCaps & back_buffer_->caps_) != caps->dwCaps) {
        return DDERR_NOTFOUND;
    }
    back_buffer_->AddRef();
    *surface = back_buffer_;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetSurfaceDesc(DDSURFACEDESC2* desc) {
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
    if (orphaned_) return DDERR_INVALIDOBJECT;
    *desc = DDSURFACEDESC2{};
    desc->dwSize = sizeof(DDSURFACEDESC2);
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->dwWidth = static_cast<DWORD>(memory_.width);
    desc->dwHeight = static_cast<DWORD>(memory_.height);
    desc->lPitch = memory_.pitch;
    desc->ddpfPixelFormat = dd7px::Describe(memory_.format);
    desc->ddsCaps.dwCaps = caps_;
    if (back_buffer_) {
        desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc->dwBackBufferCount = 1;
    }
    if (has_source_key_) {
        desc->dwFlags |= DDSD_CKSRCBLT;
        desc->ddckCKSrcBlt = DDCOLORKEY{source_key_, source_key_};
    }
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetPixelFormat(DDPIXELFORMAT* format) {
    if (!format) return DDERR_INVALIDPARAMS;
    if (orphaned_) return DDERR_INVALIDOBJECT;
    *format = dd7px::Describe(memory_.format);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetCaps(DDSCAPS2* caps) {
    if (!caps) return DDERR_INVALIDPARAMS;
    *caps = DDSCAPS2{caps_, 0, 0, 0};
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD, HANDLE event) {
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2) || event) return DDERR_INVALIDPARAMS;
    if (HRESULT r = Usable(); r != DD_OK) return r;
    if (Busy()) return DDERR_SURFACEBUSY;
    // The lock sees every draw made so far, and what it writes reaches no draw made before it.
    DDraw7_Flush(owner_->State());
    RECT area{0, 0, memory_.width, memory_.height};
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right ||
            rect->top >= rect->bottom || rect->right > memory_.width ||
            rect->bottom > memory_.height) {
            return DDERR_INVALIDRECT;
        }
        area = *rect;
    }
    GetSurfaceDesc(desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->dwWidth = static_cast<DWORD>(area.right - area.left);
    desc->dwHeight = static_cast<DWORD>(area.bottom - area.top);
    desc->lpSurface = memory_.bits + static_cast<int64_t>(area.top) * memory_.pitch +
                      area.left * dd7px::BytesPerPixel(memory_.format);
    locked_ = true;
    Touch();
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Unlock(RECT*) {
    if (!locked_) return DDERR_NOTLOCKED;
    locked_ = false;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetDC(HDC* dc) {
    if (!dc) return DDERR_INVALIDPARAMS;
    *dc = nullptr;
    if (HRESULT r = Usable(); r != DD_OK) return r;
    if (dc_) return DDERR_DCALREADYCREATED;
    if (locked_) return DDERR_SURFACEBUSY;
    DDraw7_Flush(owner_->State());
    // Texts drawn on the screen's own surfaces are the screen's texts.
    const bool screen = (caps_ & (DDSCAPS_PRIMARYSURFACE | DDSCAPS_BACKBUFFER)) != 0;
    GdiSurface surface{memory_.bits,
                       memory_.pitch,
                       memory_.width,
                       memory_.height,
                       dd7px::GdiFormat(memory_.format),
                       screen};
    HDC made = Gdi_CreateSurfaceDC(surface);
    if (!made) return DDERR_GENERIC;
    dc_ = made;
    Touch();
    *dc = made;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::ReleaseDC(HDC dc) {
    if (!dc_ || dc != dc_) return DDERR_INVALIDPARAMS;
    Gdi_DeleteSurfaceDC(dc_);
    dc_ = nullptr;
    return DD_OK;
}

HRESULT IDirectDrawSurface7::SetColorKey(DWORD flags, DDCOLORKEY* key) {
    if (orphaned_) return DDERR_INVALIDOBJECT;
    // Source keys of one colour; ranges need a colour-space blitter this surface lacks.
    if (flags != DDCKEY_SRCBLT) return DDERR_UNSUPPORTED;
    // Held-back blits from this surface were made with the key it had.
    DDraw7_Flush(owner_->State());
    Touch();
    if (!key) {
        has_source_key_ = false;
        return DD_OK;
    }
    if (key->dwColorSpaceLowValue != key->dwColorSpaceHighValue) return DDERR_UNSUPPORTED;
    has_source_key_ = true;
    source_key_ = key->dwColorSpaceLowValue & dd7px::UsedBits(memory_.format);
    return DD_OK;
}

HRESULT IDirectDrawSurface7::GetColorKey(DWORD flags, DDCOLORKEY* key) {
    if (!key || flags != DDCKEY_SRCBLT) return DDERR_INVALIDPARAMS;
    if (!has_source_key_) return DDERR_NOCOLORKEY;
    *key = DDCOLORKEY{source_key_, source_key_};
    return DD_OK;
}

HRESULT IDirectDrawSurface7::Restore() {
    if (orphaned_) return DDERR_INVALIDOBJECT;
    owner_->FollowHostFaults();
    if (!lost_) return DD_OK;
    DDraw7State& s = owner_->State();
    // Video memory comes back only in the display mode it was made in, and only once the
    // display is the program's again.
    DisplayMode m = DDraw7_CurrentMode(s);
    if (m.width != mode_width_ || m.height != mode_height_ || m.bpp != mode_bpp_ ||
        Host_DeviceLossLasting()) {
        return DDERR_WRONGMODE;
    }
    DDraw7_Flush(s);
    if (dc_) {
        Gdi_DeleteSurfaceDC(dc_);
        dc_ = nullptr;
    }
    locked_ = false;
    if (s.wipe_on_restore) {
        std::memset(memory_.bits, 0xA5, static_cast<size_t>(memory_.pitch) * memory_.height);
    }
    lost_ = false;
    Touch();
    ++s.counters.restores;
    return DD_OK;
}

DDKeyCoverage IDirectDrawSurface7::CountKeyCoverage() {
    if (owner_ && owner_->State().held.target == this) DDraw7_Flush(owner_->State());
    const uint32_t used = dd7px::UsedBits(memory_.format);
    int64_t keyed = 0;
    for (int32_t y = 0; y < memory_.height; ++y) {
        const uint8_t* row = memory_.bits + static_cast<int64_t>(y) * memory_.pitch;
        for (int32_t x = 0; x < memory_.width; ++x) {
            keyed += (dd7px::Raw(memory_.format, row, x) & used) == source_key_;
        }
    }
    coverage_ = keyed == 0                                         ? DDKeyCoverage::kNone
                : keyed == int64_t{memory_.width} * memory_.height ? DDKeyCoverage::kAll
                                                                   : DDKeyCoverage::kSome;
    coverage_version_ = version_;
    return coverage_;
}

HRESULT IDirectDrawSurface7::SetClipper(IDirectDrawClipper* clipper) {
    if (orphaned_) return DDERR_INVALIDOBJECT;
    if (clipper) clipper->AddRef();
    if (clipper_) clipper_->Release();
    clipper_ = clipper;
    return DD_OK;
}

ULONG IDirectDrawClipper::AddRef() {
    return ++references_;
}

ULONG IDirectDrawClipper::Release() {
    if (references_ == 0) return 0;
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

HRESULT IDirectDrawClipper::SetHWnd(DWORD, HWND window) {
    if (window && !IsWindow(window)) return DDERR_INVALIDPARAMS;
    window_ = window;
    return DD_OK;
}

HRESULT IDirectDrawClipper::GetHWnd(HWND* window) {
    if (!window) return DDERR_INVALIDPARAMS;
    *window = window_;
    return DD_OK;
}
