// The software DirectDraw 7 stand-in: the DirectDraw object (cooperative level, display mode,
// surfaces, monitor timing), surfaces in the screen's pixel formats with locks, device contexts,
// source colour keys, blits, the flipping chain and surface loss, and a clipper for windowed
// output. Pixels are plain memory; presentation goes through the host (platform/host/video.h).
// Direct3D 7, which lives inside the same library, is declared in d3d7.h.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/host/faults.h"
#include "platform/win32/guid.h"
#include "platform/win32/types.h"
#include "platform/win32/window.h"

using ULONG = uint32_t;

extern const GUID IID_IDirectDraw7;
extern const GUID IID_IDirectDrawSurface7;

// Result codes (MAKE_DDHRESULT(n) = 0x88760000 + n).
constexpr HRESULT DD_OK = S_OK;
constexpr HRESULT DDERR_GENERIC = E_FAIL;
constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DDERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DDERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT DDERR_INVALIDCAPS = static_cast<HRESULT>(0x88760064u);
constexpr HRESULT DDERR_INVALIDMODE = static_cast<HRESULT>(0x88760078u);
constexpr HRESULT DDERR_INVALIDOBJECT = static_cast<HRESULT>(0x88760082u);
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = static_cast<HRESULT>(0x88760091u);
constexpr HRESULT DDERR_INVALIDRECT = static_cast<HRESULT>(0x88760096u);
constexpr HRESULT DDERR_NOCOLORKEY = static_cast<HRESULT>(0x887600D7u);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = static_cast<HRESULT>(0x887600E1u);
constexpr HRESULT DDERR_NOTFOUND = static_cast<HRESULT>(0x887600FFu);
constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = static_cast<HRESULT>(0x88760234u);
constexpr HRESULT DDERR_SURFACEBUSY = static_cast<HRESULT>(0x887601AEu);
constexpr HRESULT DDERR_SURFACELOST = static_cast<HRESULT>(0x887601C2u);
constexpr HRESULT DDERR_VERTICALBLANKINPROGRESS = static_cast<HRESULT>(0x88760219u);
constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = static_cast<HRESULT>(0x88760245u);
constexpr HRESULT DDERR_NOTFLIPPABLE = static_cast<HRESULT>(0x88760246u);
constexpr HRESULT DDERR_NOTLOCKED = static_cast<HRESULT>(0x88760248u);
constexpr HRESULT DDERR_WRONGMODE = static_cast<HRESULT>(0x8876024Bu);
constexpr HRESULT DDERR_DCALREADYCREATED = static_cast<HRESULT>(0x8876026Cu);

// Cooperative levels.
constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
constexpr DWORD DDSCL_NOWINDOWCHANGES = 0x00000004;
constexpr DWORD DDSCL_NORMAL = 0x00000008;
constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;

// Surface description fields.
constexpr DWORD DDSD_CAPS = 0x00000001;
constexpr DWORD DDSD_HEIGHT = 0x00000002;
constexpr DWORD DDSD_WIDTH = 0x00000004;
constexpr DWORD DDSD_PITCH = 0x00000008;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
constexpr DWORD DDSD_REFRESHRATE = 0x00040000;
constexpr DWORD DDSD_LPSURFACE = 0x00000800;
constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
constexpr DWORD DDSD_CKSRCBLT = 0x00010000;

// Surface capabilities.
constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
constexpr DWORD DDSCAPS_FLIP = 0x00000010;
constexpr DWORD DDSCAPS_FRONTBUFFER = 0x00000020;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
constexpr DWORD DDSCAPS_TEXTURE = 0x00001000;
constexpr DWORD DDSCAPS_3DDEVICE = 0x00002000;
constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;
constexpr DWORD DDSCAPS_LOCALVIDMEM = 0x10000000;

// Pixel format flags.
constexpr DWORD DDPF_ALPHAPIXELS = 0x00000001;
constexpr DWORD DDPF_RGB = 0x00000040;

// Colour keys.
constexpr DWORD DDCKEY_COLORSPACE = 0x00000001;
constexpr DWORD DDCKEY_DESTBLT = 0x00000002;
constexpr DWORD DDCKEY_SRCBLT = 0x00000008;

// BltFast flags.
constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x00000000;
constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x00000001;
constexpr DWORD DDBLTFAST_DESTCOLORKEY = 0x00000002;
constexpr DWORD DDBLTFAST_WAIT = 0x00000010;

// Blt flags.
constexpr DWORD DDBLT_COLORFILL = 0x00000400;
constexpr DWORD DDBLT_KEYSRC = 0x00008000;
constexpr DWORD DDBLT_WAIT = 0x01000000;

// Flip flags.
constexpr DWORD DDFLIP_WAIT = 0x00000001;
constexpr DWORD DDFLIP_NOVSYNC = 0x00000008;

// Lock flags.
constexpr DWORD DDLOCK_SURFACEMEMORYPTR = 0x00000000;
constexpr DWORD DDLOCK_WAIT = 0x00000001;
constexpr DWORD DDLOCK_READONLY = 0x00000010;
constexpr DWORD DDLOCK_WRITEONLY = 0x00000020;

// WaitForVerticalBlank flags.
constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x00000001;

struct DDCOLORKEY {
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
};

struct DDPIXELFORMAT {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    DWORD dwRGBBitCount;
    DWORD dwRBitMask;
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    DWORD dwRGBAlphaBitMask;
};

struct DDSCAPS2 {
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCaps3;
    DWORD dwCaps4;
};

// The published layout; of each union only the member this stand-in reads is named.
struct DDSURFACEDESC2 {
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    LONG lPitch;
    DWORD dwBackBufferCount;
    DWORD dwRefreshRate;
    DWORD dwAlphaBitDepth;
    DWORD dwReserved;
    LPVOID lpSurface;
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
    DWORD dwTextureStage;
};

// The fields of the blit effects this stand-in reads.
struct DDBLTFX {
    DWORD dwSize;
    DWORD dwFillColor;  // DDBLT_COLORFILL: the raw pixel value written
    DDCOLORKEY ddckSrcColorkey;
};

// Pixel formats the surfaces hold: the display's (32-bit, and 16-bit 5-6-5 or 5-5-5) and those
// a surface description may ask for.
enum class DDFormat : uint8_t { kUnknown, kX8R8G8B8, kA8R8G8B8, kR5G6B5, kX1R5G5B5, kA1R5G5B5 };

// How many pixels of a surface equal its source key: none, some, or all of them.
enum class DDKeyCoverage : uint8_t { kNone, kSome, kAll };

// Pixel memory owned by a surface: rows of `pitch` bytes, 16-byte aligned.
struct DDSurfaceMemory {
    uint8_t* bits = nullptr;
    int32_t pitch = 0;
    int32_t width = 0;
    int32_t height = 0;
    DDFormat format = DDFormat::kUnknown;
};

class IDirectDraw7;
class IDirectDrawClipper;

class IDirectDrawSurface7 {
  public:
    // Every textured draw takes a reference to its texture and lets go of the last one: the
    // common case of both is inline.
    ULONG AddRef() { return ++references_; }
    ULONG Release() { return references_ > 1 ? --references_ : ReleaseLast(); }
    // BACKBUFFER on a primary surface gives its back buffer (counted).
    HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface);
    HRESULT GetSurfaceDesc(DDSURFACEDESC2* desc);
    HRESULT GetPixelFormat(DDPIXELFORMAT* format);
    HRESULT GetCaps(DDSCAPS2* caps);
    // The whole surface, or a rectangle inside it; one lock at a time, none while a device
    // context is held.
    HRESULT Lock(RECT* rect, DDSURFACEDESC2* desc, DWORD flags, HANDLE event);
    HRESULT Unlock(RECT* rect);
    // A GDI device context over the pixels; none while locked.
    HRESULT GetDC(HDC* dc);
    HRESULT ReleaseDC(HDC dc);
    // DDCKEY_SRCBLT with one colour (low = high), in the surface's own format; null removes it.
    HRESULT SetColorKey(DWORD flags, DDCOLORKEY* key);
    HRESULT GetColorKey(DWORD flags, DDCOLORKEY* key);
    // Copies `source_rect` of `source` (null: all of it) to (x, y) without stretching; both
    // rectangles must lie inside their surfaces (else DDERR_INVALIDRECT, nothing drawn). With
    // DDBLTFAST_SRCCOLORKEY the source pixels equal to the source's key are skipped.
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface7* source, RECT* source_rect, DWORD flags);
    // Copies (nearest pixel when the sizes differ) or fills (DDBLT_COLORFILL) a rectangle. A
    // primary surface with a clipper takes the clipper window's part of the desktop.
    HRESULT Blt(RECT* dest_rect, IDirectDrawSurface7* source, RECT* source_rect, DWORD flags,
                DDBLTFX* fx);
    // On the primary surface of an exclusive full-screen chain: the back buffer becomes the
    // shown picture. Without DDFLIP_NOVSYNC it waits for the vertical blank.
    HRESULT Flip(IDirectDrawSurface7* override, DWORD flags);
    // Asked before every draw (inline, below IDirectDraw7).
    HRESULT IsLost();
    // Gives a lost surface its memory back, in the display mode it was made in. What the memory
    // then holds is undefined; this stand-in leaves the old pixels unless a test asks otherwise.
    HRESULT Restore();
    HRESULT SetClipper(IDirectDrawClipper* clipper);

    // Stand-in side.
    // The pixels, with every draw held back done first.
    const DDSurfaceMemory& Memory() const;
    // The pixels as they are: for the stand-in's own drawing.
    const DDSurfaceMemory& RawMemory() const { return memory_; }
    DWORD Caps() const { return caps_; }
    bool Lost() const { return lost_; }
    bool Busy() const { return locked_ || dc_ != nullptr; }
    bool VideoMemory() const { return (caps_ & DDSCAPS_SYSTEMMEMORY) == 0; }
    bool HasSourceKey() const { return has_source_key_; }
    DWORD SourceKey() const { return source_key_; }
    IDirectDraw7* Owner() const { return owner_; }
    // Made by IDirectDraw7::CreateSurface.
    static IDirectDrawSurface7* Create(IDirectDraw7* owner, DWORD caps, int32_t width,
                                       int32_t height, DDFormat format);
    void MarkLost() { lost_ = true; }
    // The DirectDraw object is gone: the surface keeps its memory until released, but no call
    // works on it any more.
    void Orphan();
    void AttachBackBuffer(IDirectDrawSurface7* back_buffer);
    // Remembers the display mode the surface was made in (restoring needs the same one).
    void SetCreationMode(int32_t width, int32_t height, int32_t bpp);
    // The pixels may have changed (a lock, a device context, a blit or draw into it).
    void Touch() { ++version_; }
    // How much of the surface its source key covers; counted again after each change.
    DDKeyCoverage KeyCoverage() {
        return coverage_version_ == version_ ? coverage_ : CountKeyCoverage();
    }

  private:
    IDirectDrawSurface7() = default;
    ~IDirectDrawSurface7();
    HRESULT Usable();
    ULONG ReleaseLast();
    void Present();
    DDKeyCoverage CountKeyCoverage();

    DDSurfaceMemory memory_;
    IDirectDraw7* owner_ = nullptr;
    IDirectDrawSurface7* back_buffer_ = nullptr;  // the primary's attached surface (counted)
    IDirectDrawClipper* clipper_ = nullptr;       // counted
    DWORD caps_ = 0;
    ULONG references_ = 1;
    bool lost_ = false;
    bool orphaned_ = false;
    bool locked_ = false;
    HDC dc_ = nullptr;
    bool has_source_key_ = false;
    DWORD source_key_ = 0;
    int32_t mode_width_ = 0, mode_height_ = 0, mode_bpp_ = 0;
    uint64_t version_ = 1;           // moves on with every change of the pixels or the key
    uint64_t coverage_version_ = 0;  // the version `coverage_` was counted at
    DDKeyCoverage coverage_ = DDKeyCoverage::kSome;
};

// Windowed output: the window whose part of the desktop a primary surface's blits cover.
class IDirectDrawClipper {
  public:
    ULONG AddRef();
    ULONG Release();
    HRESULT SetHWnd(DWORD flags, HWND window);
    HRESULT GetHWnd(HWND* window);

    // Stand-in side.
    HWND Window() const { return window_; }

  private:
    friend class IDirectDraw7;
    IDirectDrawClipper() = default;
    ULONG references_ = 1;
    HWND window_ = nullptr;
};

struct DDraw7State;

class IDirectDraw7 {
  public:
    ULONG AddRef();
    ULONG Release();
    // IID_IDirectDraw7, and IID_IDirect3D7 (the Direct3D 7 part, absent when "d3dim700.dll" is
    // reported missing).
    HRESULT QueryInterface(REFIID iid, void** out);
    // DDSCL_NORMAL (any window), or DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN on a top-level window:
    // the display is the program's until the window is deactivated, which loses the surfaces.
    HRESULT SetCooperativeLevel(HWND window, DWORD flags);
    // 640 x 480, 800 x 600 or 1024 x 768 at 16 or 32 bits; refresh 0 or the display's rate.
    // Needs exclusive mode. A different mode loses every video-memory surface.
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bpp, DWORD refresh, DWORD flags);
    HRESULT RestoreDisplayMode();
    HRESULT GetDisplayMode(DDSURFACEDESC2* desc);
    HRESULT CreateSurface(DDSURFACEDESC2* desc, IDirectDrawSurface7** surface, void* outer);
    HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, void* outer);
    HRESULT RestoreAllSurfaces();
    HRESULT GetMonitorFrequency(DWORD* frequency);
    // The line the display is sending; DDERR_VERTICALBLANKINPROGRESS during the blank.
    HRESULT GetScanLine(DWORD* line);
    HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event);

    // Stand-in side.
    DDraw7State& State() { return *state_; }
    void SurfaceCreated(IDirectDrawSurface7* surface);
    void SurfaceDestroyed(IDirectDrawSurface7* surface);
    // The display went back to the desktop (deactivation, another mode): video memory is lost.
    void LoseVideoSurfaces();
    // A display loss injected by the host (KAVRO_FAULTS) loses video memory too. Asked before
    // every draw, so the common answer (no new loss) is inline.
    void FollowHostFaults() {
        if (Host_DeviceLosses() != host_losses_) LoseToHostFault();
    }

  private:
    friend HRESULT DirectDrawCreateEx(const GUID* driver, void** out, REFIID iid, void* outer);
    IDirectDraw7();
    ~IDirectDraw7();
    void LoseToHostFault();
    DDraw7State* state_ = nullptr;
    uint32_t host_losses_ = 0;  // display losses of KAVRO_FAULTS seen so far
};

inline HRESULT IDirectDrawSurface7::IsLost() {
    if (orphaned_) return DDERR_INVALIDOBJECT;
    owner_->FollowHostFaults();
    return lost_ ? DDERR_SURFACELOST : DD_OK;
}

// The library's export: the DirectDraw object of the default display driver (null `driver`).
HRESULT DirectDrawCreateEx(const GUID* driver, void** out, REFIID iid, void* outer);
// True when the host can back the library (video starts); the loader's availability test.
bool DDraw7_Available();
