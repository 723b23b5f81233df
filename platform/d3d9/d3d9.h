// The software Direct3D 9 stand-in: the Direct3D object, the device, textures and surfaces,
// with the calls and result codes that the screen, sprite and quad code uses. Pixels are plain
// memory in the named formats; the device draws with the software rasteriser (raster.h) and
// presents through the host (platform/host/video.h).
#pragma once
#include <cstdint>

#include "platform/d3d9/d3d9_types.h"
#include "platform/d3d9/raster.h"
#include "platform/gdi/gdi.h"
#include "platform/win32/types.h"

class IDirect3DDevice9;
class IDirect3DTexture9;

// Pixel memory owned by a surface: rows of `pitch` bytes, 16-byte aligned.
struct SurfaceMemory {
    uint8_t* bits = nullptr;
    int32_t pitch = 0;
    int32_t width = 0;
    int32_t height = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
};

class IDirect3DSurface9 {
  public:
    ULONG AddRef();
    ULONG Release();
    HRESULT GetDesc(D3DSURFACE_DESC* desc);
    // A rectangle outside the surface, or a second lock, is refused.
    HRESULT LockRect(D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
    HRESULT UnlockRect();
    // A device context over the pixels (formats X8R8G8B8, R5G6B5, X1R5G5B5; lockable surfaces).
    HRESULT GetDC(HDC* dc);
    HRESULT ReleaseDC(HDC dc);

    // Stand-in side.
    enum class Kind { kBackBuffer, kRenderTarget, kOffscreenPlain, kTextureLevel };
    static IDirect3DSurface9* Create(IDirect3DDevice9* device, Kind kind, UINT width, UINT height,
                                     D3DFORMAT format, D3DPOOL pool, bool lockable,
                                     IDirect3DTexture9* container);
    // Frees a surface the device owns (back buffers), whatever its count.
    static void Destroy(IDirect3DSurface9* surface);
    // The pixels, with every draw the device still holds back for this surface done first.
    const SurfaceMemory& Memory() const;
    // The pixels as they are: for the device's own drawing.
    const SurfaceMemory& RawMemory() const { return memory_; }
    Kind SurfaceKind() const { return kind_; }
    IDirect3DDevice9* Device() const { return device_; }
    bool Locked() const { return locked_ || dc_ != nullptr; }
    // Reallocates the pixels (back buffers on Reset); the contents become zero.
    bool Resize(UINT width, UINT height, D3DFORMAT format, bool lockable);
    void Clear(const RECT& area, D3DCOLOR colour);

  private:
    IDirect3DSurface9() = default;
    ~IDirect3DSurface9();
    SurfaceMemory memory_;
    IDirect3DDevice9* device_ = nullptr;
    IDirect3DTexture9* container_ = nullptr;  // a texture level counts on its texture
    Kind kind_ = Kind::kOffscreenPlain;
    D3DPOOL pool_ = D3DPOOL_DEFAULT;
    ULONG references_ = 1;
    bool lockable_ = false;
    bool locked_ = false;
    bool locked_for_write_ = false;
    HDC dc_ = nullptr;
};

class IDirect3DTexture9 {
  public:
    // Every textured draw takes a reference to its texture and lets go of the last one: the
    // common case of both is inline.
    ULONG AddRef() { return ++references_; }
    ULONG Release() { return references_ > 1 ? --references_ : ReleaseLast(); }
    // One level only (level 0).
    HRESULT GetSurfaceLevel(UINT level, IDirect3DSurface9** surface);
    HRESULT GetLevelDesc(UINT level, D3DSURFACE_DESC* desc);
    HRESULT LockRect(UINT level, D3DLOCKED_RECT* locked, const RECT* rect, DWORD flags);
    HRESULT UnlockRect(UINT level);

    // Stand-in side.
    static IDirect3DTexture9* Create(IDirect3DDevice9* device, UINT width, UINT height,
                                     D3DFORMAT format);
    // How a draw samples it; the alpha survey is refreshed after every write.
    void Sampling(RasterTexture* out) const { *out = sampling_; }
    void SurveyAlpha();

  private:
    IDirect3DTexture9() = default;
    ~IDirect3DTexture9();
    ULONG ReleaseLast();
    IDirect3DSurface9* level_ = nullptr;
    IDirect3DDevice9* device_ = nullptr;
    ULONG references_ = 1;
    // How draws sample it, kept here so a draw reads the texture alone (a texture level's
    // memory never moves).
    RasterTexture sampling_{nullptr, 0, 0, 0, D3DFMT_UNKNOWN, true, false};
};

struct D3D9DeviceState;

class IDirect3DDevice9 {
  public:
    ULONG AddRef();
    ULONG Release();
    HRESULT TestCooperativeLevel();
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters);
    HRESULT Present(const RECT* source, const RECT* dest, HWND override_window,
                    const void* dirty_region);
    HRESULT GetBackBuffer(UINT swap_chain, UINT index, D3DBACKBUFFER_TYPE type,
                          IDirect3DSurface9** surface);
    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared);
    HRESULT CreateRenderTarget(UINT width, UINT height, D3DFORMAT format,
                               D3DMULTISAMPLE_TYPE multisample, DWORD quality, BOOL lockable,
                               IDirect3DSurface9** surface, HANDLE* shared);
    HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DSurface9** surface, HANDLE* shared);
    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface);
    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface);
    HRESULT BeginScene();
    HRESULT EndScene();
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z,
                  DWORD stencil);
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value);
    HRESULT SetTexture(DWORD stage, IDirect3DTexture9* texture);
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value);
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value);
    HRESULT SetSoftwareVertexProcessing(BOOL software);
    BOOL GetSoftwareVertexProcessing();
    HRESULT SetFVF(DWORD fvf);
    HRESULT GetFVF(DWORD* fvf);
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitive_count, const void* vertices,
                            UINT stride);

    // Stand-in side: made by IDirect3D9::CreateDevice.
    static HRESULT Create(HWND focus_window, DWORD behaviour, D3DPRESENT_PARAMETERS* parameters,
                          IDirect3DDevice9** device);
    D3D9DeviceState& State() { return *state_; }
    // Completes the rectangle draws held back (before any pixels they read or write are used).
    void FlushDraws();
    // The surface those draws go to, or null when none is held back.
    const IDirect3DSurface9* QueuedTarget() const;
    // Resources count on the device that made them; it is freed when nothing counts on it.
    void ResourceCreated(D3DPOOL pool);
    void ResourceDestroyed(D3DPOOL pool);

  private:
    IDirect3DDevice9() = default;
    ~IDirect3DDevice9();
    void Destroy();
    void FreeIfUnused();
    D3D9DeviceState* state_ = nullptr;
};

class IDirect3D9 {
  public:
    ULONG AddRef();
    ULONG Release();
    UINT GetAdapterCount();
    UINT GetAdapterModeCount(UINT adapter, D3DFORMAT format);
    HRESULT EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* out);
    HRESULT GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode);
    HRESULT CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT display_format,
                            D3DFORMAT back_buffer_format, BOOL windowed);
    HRESULT CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT adapter_format,
                                   D3DFORMAT render_target_format, D3DFORMAT depth_format);
    HRESULT GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps);
    HRESULT CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus_window, DWORD behaviour,
                         D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device);

  private:
    friend IDirect3D9* Direct3DCreate9(UINT sdk_version);
    IDirect3D9() = default;
    ULONG references_ = 1;
};

// The library's one export. Null for another SDK version.
IDirect3D9* Direct3DCreate9(UINT sdk_version);
// True when the host can back the library (video starts); the loader's availability test.
bool D3D9_Available();
