// The DirectDraw object: the library's export, reference counts, the cooperative level, display
// modes, surface and clipper creation, restoring every surface, and the display's timing (monitor
// frequency, scan line, vertical blank) on a refresh grid of the performance counter.
#include <algorithm>

#include "platform/ddraw7/d3d7.h"
#include "platform/ddraw7/ddraw_state.h"
#include "platform/ddraw7/pixel_format.h"
#include "platform/host/faults.h"
#include "platform/host/host.h"
#include "platform/host/video.h"
#include "platform/win32/time.h"

namespace {

// Sides beyond this are refused, so every size computation stays far inside 64 bits.
constexpr DWORD kMaxSide = 16384;

// Full-screen sizes the display offers, at 16 and 32 bits.
bool OfferedMode(DWORD width, DWORD height, DWORD bpp) {
    bool size = (width == 640 && height == 480) || (width == 800 && height == 600) ||
                (width == 1024 && height == 768);
    return size && (bpp == 16 || bpp == 32);
}

bool SameMode(const DisplayMode& a, const DisplayMode& b) {
    return a.width == b.width && a.height == b.height && a.format == b.format;
}

// Lines per refresh: the picture's lines and a vertical blank of about a tenth of them.
int64_t TotalLines(int32_t height) {
    return int64_t{height} * 525 / 480;
}

int64_t Now() {
    LARGE_INTEGER now{0};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

int64_t Frequency() {
    LARGE_INTEGER f{0};
    QueryPerformanceFrequency(&f);
    return f.QuadPart > 0 ? f.QuadPart : 1;
}

int64_t RefreshPeriod() {
    int32_t rate = Host_RefreshRate();
    return Frequency() / (rate > 0 ? rate : 60);
}

}  // namespace

bool DDraw7_Available() {
    return Host_VideoInit();
}

DisplayMode DDraw7_CurrentMode(const DDraw7State& s) {
    if (s.mode_set) return s.mode;
    int32_t w = 0, h = 0;
    Host_DesktopSize(&w, &h);
    if (w <= 0 || h <= 0) {
        w = 640;
        h = 480;
    }
    return DisplayMode{std::min<int32_t>(w, kMaxSide), std::min<int32_t>(h, kMaxSide), 32,
                       DDFormat::kX8R8G8B8};
}

void DDraw7_WaitForBlank(DDraw7State& s) {
    const int64_t period = RefreshPeriod();
    const DisplayMode m = DDraw7_CurrentMode(s);
    const int64_t blank_offset = period * m.height / TotalLines(m.height);
    int64_t now = Now();
    int64_t frame = (now - s.refresh_base) / period;
    int64_t deadline = s.refresh_base + frame * period + blank_offset;
    if (deadline <= now) deadline += period;
    const int64_t two_ms = Frequency() / 500;
    for (;;) {
        int64_t left = deadline - Now();
        if (left <= 0) break;
        // Sleep while a whole millisecond is surely left, then watch the counter.
        if (left > two_ms) Sleep(1);
    }
}

HRESULT DirectDrawCreateEx(const GUID* driver, void** out, REFIID iid, void* outer) {
    if (!out) return DDERR_INVALIDPARAMS;
    *out = nullptr;
    // The default display driver only, and no aggregation.
    if (driver || outer || iid != IID_IDirectDraw7) return DDERR_INVALIDPARAMS;
    if (!Host_VideoInit()) return DDERR_GENERIC;
    *out = new IDirectDraw7();
    return DD_OK;
}

IDirectDraw7::IDirectDraw7() : state_(new DDraw7State()), host_losses_(Host_DeviceLosses()) {
    state_->refresh_base = Now();
}

IDirectDraw7::~IDirectDraw7() {
    DDraw7State& s = *state_;
    if (s.exclusive) DDraw7_UnhookWindow(s.window, this);
    DDraw7_Flush(s);
    // Surfaces the program still holds stay readable memory, but they are dead.
    std::vector<IDirectDrawSurface7*> left = s.surfaces;
    for (IDirectDrawSurface7* surface : left) surface->Orphan();
    delete state_;
}

ULONG IDirectDraw7::AddRef() {
    return ++state_->references;
}

ULONG IDirectDraw7::Release() {
    if (state_->references == 0) return 0;
    ULONG left = --state_->references;
    if (left == 0) delete this;
    return left;
}

HRESULT IDirectDraw7::QueryInterface(REFIID iid, void** out) {
    if (!out) return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (iid == IID_IDirectDraw7) {
        AddRef();
        *out = this;
        return DD_OK;
    }
    // Direct3D 7 is its own file of the system ("d3dim700.dll") loaded by DirectDraw.
    if (iid == IID_IDirect3D7 && !Host_IsMarkedMissing("d3dim700.dll")) {
        *out = IDirect3D7::Create(this);
        return DD_OK;
    }
    return E_NOINTERFACE;
}

HRESULT IDirectDraw7::SetCooperativeLevel(HWND window, DWORD flags) {
    DDraw7State& s = *state_;
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    const bool fullscreen = (flags & DDSCL_FULLSCREEN) != 0;
    const bool normal = (flags & DDSCL_NORMAL) != 0;
    if (exclusive != fullscreen || exclusive == normal) return DDERR_INVALIDPARAMS;
    if (exclusive) {
        if (!window || !IsWindow(window) || GetParent(window)) return DDERR_INVALIDPARAMS;
        IDirectDraw7* holder = DDraw7_ExclusiveOwner();
        if (holder && holder != this) return DDERR_EXCLUSIVEMODEALREADYSET;
        if (s.exclusive && s.window != window) DDraw7_UnhookWindow(s.window, this);
        DDraw7_HookWindow(window, this);
        s.exclusive = true;
        s.window = window;
        return DD_OK;
    }
    if (window && !IsWindow(window)) return DDERR_INVALIDPARAMS;
    if (s.exclusive) {
        DDraw7_UnhookWindow(s.window, this);
        s.exclusive = false;
        // Leaving exclusive mode gives the display back to the desktop.
        if (s.mode_set) {
            s.mode_set = false;
            LoseVideoSurfaces();
        }
    }
    s.window = window;
    return DD_OK;
}

HRESULT IDirectDraw7::SetDisplayMode(DWORD width, DWORD height, DWORD bpp, DWORD refresh, DWORD) {
    DDraw7State& s = *state_;
    if (!s.exclusive) return DDERR_NOEXCLUSIVEMODE;
    if (!OfferedMode(width, height, bpp)) return DDERR_INVALIDMODE;
    if (refresh != 0 && refresh != static_cast<DWORD>(Host_RefreshRate())) {
        return DDERR_INVALIDMODE;
    }
    DisplayMode mode{static_cast<int32_t>(width), static_cast<int32_t>(height),
                     static_cast<int32_t>(bpp),
                     bpp == 32 ? DDFormat::kX8R8G8B8 : s.sixteen_bit_format};
    if (!s.mode_set || !SameMode(mode, s.mode)) LoseVideoSurfaces();
    s.mode = mode;
    s.mode_set = true;
    return DD_OK;
}

HRESULT IDirectDraw7::RestoreDisplayMode() {
    DDraw7State& s = *state_;
    if (s.mode_set) {
        s.mode_set = false;
        LoseVideoSurfaces();
    }
    return DD_OK;
}

HRESULT IDirectDraw7::GetDisplayMode(DDSURFACEDESC2* desc) {
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2)) return DDERR_INVALIDPARAMS;
    DisplayMode m = DDraw7_CurrentMode(*state_);
    *desc = DDSURFACEDESC2{};
    desc->dwSize = sizeof(DDSURFACEDESC2);
    desc->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | DDSD_REFRESHRATE;
    desc->dwWidth = static_cast<DWORD>(m.width);
    desc->dwHeight = static_cast<DWORD>(m.height);
    desc->lPitch = m.width * dd7px::BytesPerPixel(m.format);
    desc->dwRefreshRate = static_cast<DWORD>(Host_RefreshRate());
    desc->ddpfPixelFormat = dd7px::Describe(m.format);
    return DD_OK;
}

HRESULT IDirectDraw7::CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** out, void* outer) {
    DDraw7State& s = *state_;
    if (!out) return DDERR_INVALIDPARAMS;
    *out = nullptr;
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2) || outer || !(desc->dwFlags & DDSD_CAPS)) {
        return DDERR_INVALIDPARAMS;
    }
    DWORD caps = desc->ddsCaps.dwCaps;
    const DisplayMode mode = DDraw7_CurrentMode(s);
    IDirectDrawSurface7* made = nullptr;
    if (caps & DDSCAPS_PRIMARYSURFACE) {
        // The primary surface is the display: its size and format are the mode's.
        if (desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT))
            return DDERR_INVALIDPARAMS;
        if (caps & (DDSCAPS_OFFSCREENPLAIN | DDSCAPS_TEXTURE | DDSCAPS_SYSTEMMEMORY |
                    DDSCAPS_BACKBUFFER)) {
            return DDERR_INVALIDCAPS;
        }
        for (IDirectDrawSurface7* other : s.surfaces) {
            if (other->Caps() & DDSCAPS_PRIMARYSURFACE) return DDERR_PRIMARYSURFACEALREADYEXISTS;
        }
        const bool flipping = (caps & DDSCAPS_FLIP) != 0;
        if (flipping) {
            if (!s.exclusive) return DDERR_NOEXCLUSIVEMODE;
            if (!(caps & DDSCAPS_COMPLEX) || !(desc->dwFlags & DDSD_BACKBUFFERCOUNT)) {
                return DDERR_INVALIDCAPS;
            }
            // One back buffer: the chain the screen uses.
            if (desc->dwBackBufferCount != 1) return DDERR_UNSUPPORTED;
        }
        const DWORD chain = caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE);
        made = IDirectDrawSurface7::Create(
            this, DDSCAPS_PRIMARYSURFACE | DDSCAPS_FRONTBUFFER | DDSCAPS_VIDEOMEMORY | chain,
            mode.width, mode.height, mode.format);
        if (!made) return DDERR_OUTOFMEMORY;
        made->SetCreationMode(mode.width, mode.height, mode.bpp);
        if (flipping) {
            IDirectDrawSurface7* back =
                IDirectDrawSurface7::Create(this, DDSCAPS_BACKBUFFER | DDSCAPS_VIDEOMEMORY | chain,
                                            mode.width, mode.height, mode.format);
            if (!back) {
                made->Release();
                return DDERR_OUTOFMEMORY;
            }
            back->SetCreationMode(mode.width, mode.height, mode.bpp);
            made->AttachBackBuffer(back);
        }
    } else {
        if ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT) ||
            desc->dwWidth == 0 || desc->dwHeight == 0 || desc->dwWidth > kMaxSide ||
            desc->dwHeight > kMaxSide) {
            return DDERR_INVALIDPARAMS;
        }
        if (caps & (DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_FRONTBUFFER)) {
            return DDERR_INVALIDCAPS;
        }
        if (!(caps & (DDSCAPS_OFFSCREENPLAIN | DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE))) {
            return DDERR_INVALIDCAPS;
        }
        DDFormat format = mode.format;
        if (desc->dwFlags & DDSD_PIXELFORMAT) {
            format = dd7px::FromDescription(desc->ddpfPixelFormat);
            if (format == DDFormat::kUnknown) return DDERR_INVALIDPIXELFORMAT;
        }
        if (!(caps & DDSCAPS_SYSTEMMEMORY)) caps |= DDSCAPS_VIDEOMEMORY;
        made = IDirectDrawSurface7::Create(this, caps, static_cast<int32_t>(desc->dwWidth),
                                           static_cast<int32_t>(desc->dwHeight), format);
        if (!made) return DDERR_OUTOFMEMORY;
        made->SetCreationMode(mode.width, mode.height, mode.bpp);
    }
    if (desc->dwFlags & DDSD_CKSRCBLT) made->SetColorKey(DDCKEY_SRCBLT, &desc->ddckCKSrcBlt);
    *out = made;
    return DD_OK;
}

HRESULT IDirectDraw7::CreateClipper(DWORD, IDirectDrawClipper** clipper, void* outer) {
    if (!clipper || outer) return DDERR_INVALIDPARAMS;
    *clipper = new IDirectDrawClipper();
    return DD_OK;
}

HRESULT IDirectDraw7::RestoreAllSurfaces() {
    HRESULT result = DD_OK;
    std::vector<IDirectDrawSurface7*> all = state_->surfaces;
    for (IDirectDrawSurface7* surface : all) {
        if (!surface->Lost()) continue;
        HRESULT r = surface->Restore();
        if (r != DD_OK && result == DD_OK) result = r;
    }
    return result;
}

HRESULT IDirectDraw7::GetMonitorFrequency(DWORD* frequency) {
    if (!frequency) return DDERR_INVALIDPARAMS;
    *frequency = static_cast<DWORD>(Host_RefreshRate());
    return DD_OK;
}

HRESULT IDirectDraw7::GetScanLine(DWORD* line) {
    if (!line) return DDERR_INVALIDPARAMS;
    const DisplayMode m = DDraw7_CurrentMode(*state_);
    const int64_t period = RefreshPeriod();
    const int64_t phase = (Now() - state_->refresh_base) % period;
    const int64_t current = phase * TotalLines(m.height) / period;
    if (current >= m.height) return DDERR_VERTICALBLANKINPROGRESS;
    *line = static_cast<DWORD>(current);
    return DD_OK;
}

HRESULT IDirectDraw7::WaitForVerticalBlank(DWORD flags, HANDLE event) {
    if (flags != DDWAITVB_BLOCKBEGIN || event) return DDERR_UNSUPPORTED;
    DDraw7_WaitForBlank(*state_);
    return DD_OK;
}

void IDirectDraw7::SurfaceCreated(IDirectDrawSurface7* surface) {
    state_->surfaces.push_back(surface);
}

void IDirectDraw7::SurfaceDestroyed(IDirectDrawSurface7* surface) {
    auto& v = state_->surfaces;
    v.erase(std::remove(v.begin(), v.end(), surface), v.end());
}

void IDirectDraw7::LoseToHostFault() {
    host_losses_ = Host_DeviceLosses();
    LoseVideoSurfaces();
}

void IDirectDraw7::LoseVideoSurfaces() {
    // What was drawn before the loss is in the memory a restore gives back.
    DDraw7_Flush(*state_);
    for (IDirectDrawSurface7* surface : state_->surfaces) {
        if (surface->VideoMemory()) surface->MarkLost();
    }
}
