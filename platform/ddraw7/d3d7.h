// The Direct3D 7 part of the DirectDraw 7 stand-in: the Direct3D object (an interface of the
// DirectDraw object), its device enumeration, and a software device that renders pre-
// transformed triangle strips into a DirectDraw surface with texture stage 0, alpha blending
// and texture colour keys (drawn by the rasteriser of d3d7_raster.h).
#pragma once
#include <cstdint>

#include "platform/ddraw7/ddraw.h"

extern const GUID IID_IDirect3D7;
extern const GUID IID_IDirect3DRGBDevice;
extern const GUID IID_IDirect3DHALDevice;
extern const GUID IID_IDirect3DTnLHalDevice;

using REFCLSID = const GUID&;
using D3DRENDERSTATETYPE = uint32_t;
using D3DTEXTURESTAGESTATETYPE = uint32_t;
using D3DPRIMITIVETYPE = uint32_t;

constexpr HRESULT D3D_OK = DD_OK;
constexpr HRESULT D3DERR_SCENE_IN_SCENE = static_cast<HRESULT>(0x887602EEu);
constexpr HRESULT D3DERR_SCENE_NOT_IN_SCENE = static_cast<HRESULT>(0x887602EFu);

// Render states and their values.
constexpr D3DRENDERSTATETYPE D3DRENDERSTATE_SRCBLEND = 19;
constexpr D3DRENDERSTATETYPE D3DRENDERSTATE_DESTBLEND = 20;
constexpr D3DRENDERSTATETYPE D3DRENDERSTATE_CULLMODE = 22;
constexpr D3DRENDERSTATETYPE D3DRENDERSTATE_ALPHABLENDENABLE = 27;
constexpr D3DRENDERSTATETYPE D3DRENDERSTATE_COLORKEYENABLE = 41;
constexpr D3DRENDERSTATETYPE kD3D7RenderStateCount = 256;
constexpr DWORD D3DBLEND_ZERO = 1;
constexpr DWORD D3DBLEND_ONE = 2;
constexpr DWORD D3DBLEND_SRCALPHA = 5;
constexpr DWORD D3DBLEND_INVSRCALPHA = 6;
constexpr DWORD D3DCULL_NONE = 1;
constexpr DWORD D3DCULL_CW = 2;
constexpr DWORD D3DCULL_CCW = 3;

// Texture stage states and their values.
constexpr D3DTEXTURESTAGESTATETYPE D3DTSS_COLOROP = 1;
constexpr D3DTEXTURESTAGESTATETYPE D3DTSS_COLORARG1 = 2;
constexpr D3DTEXTURESTAGESTATETYPE D3DTSS_COLORARG2 = 3;
constexpr D3DTEXTURESTAGESTATETYPE D3DTSS_ALPHAOP = 4;
constexpr D3DTEXTURESTAGESTATETYPE D3DTSS_ALPHAARG1 = 5;
constexpr D3DTEXTURESTAGESTATETYPE D3DTSS_ALPHAARG2 = 6;
constexpr D3DTEXTURESTAGESTATETYPE D3DTSS_MAGFILTER = 16;
constexpr D3DTEXTURESTAGESTATETYPE D3DTSS_MINFILTER = 17;
constexpr D3DTEXTURESTAGESTATETYPE kD3D7StageStateCount = 32;
constexpr DWORD kD3D7Stages = 8;
constexpr DWORD D3DTOP_DISABLE = 1;
constexpr DWORD D3DTOP_SELECTARG1 = 2;
constexpr DWORD D3DTOP_SELECTARG2 = 3;
constexpr DWORD D3DTOP_MODULATE = 4;
constexpr DWORD D3DTA_DIFFUSE = 0;
constexpr DWORD D3DTA_CURRENT = 1;
constexpr DWORD D3DTA_TEXTURE = 2;
constexpr DWORD D3DTFG_POINT = 1;
constexpr DWORD D3DTFN_POINT = 1;

// Vertex formats.
constexpr DWORD D3DFVF_XYZRHW = 0x004;
constexpr DWORD D3DFVF_DIFFUSE = 0x040;
constexpr DWORD D3DFVF_SPECULAR = 0x080;
constexpr DWORD D3DFVF_TEX1 = 0x100;
constexpr DWORD D3DFVF_TLVERTEX = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

constexpr D3DPRIMITIVETYPE D3DPT_TRIANGLESTRIP = 5;

// The published transformed-and-lit vertex (vertex format D3DFVF_TLVERTEX).
struct D3DTLVERTEX {
    float sx, sy, sz, rhw;
    uint32_t color;     // ARGB
    uint32_t specular;  // ARGB
    float tu, tv;
};
static_assert(sizeof(D3DTLVERTEX) == 32);

struct D3DVIEWPORT7 {
    DWORD dwX;
    DWORD dwY;
    DWORD dwWidth;
    DWORD dwHeight;
    float dvMinZ;
    float dvMaxZ;
};

// The device description fields this stand-in fills.
struct D3DDEVICEDESC7 {
    DWORD dwDevCaps;
    DWORD dwDeviceRenderBitDepth;
    DWORD dwMinTextureWidth;
    DWORD dwMinTextureHeight;
    DWORD dwMaxTextureWidth;
    DWORD dwMaxTextureHeight;
    WORD wMaxTextureBlendStages;
    WORD wMaxSimultaneousTextures;
    GUID deviceGUID;
};

constexpr HRESULT D3DENUMRET_CANCEL = 0;
constexpr HRESULT D3DENUMRET_OK = 1;
using LPD3DENUMDEVICESCALLBACK7 = HRESULT (*)(char* description, char* name, D3DDEVICEDESC7* desc,
                                              void* context);

class IDirect3DDevice7;

class IDirect3D7 {
  public:
    // Counts on the DirectDraw object it belongs to.
    ULONG AddRef();
    ULONG Release();
    // Reports the software devices: RGB, HAL, and transform-and-lighting HAL, in that order.
    HRESULT EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, void* context);
    // A device of an enumerated kind rendering into `target` (made with DDSCAPS_3DDEVICE).
    HRESULT CreateDevice(REFCLSID device_guid, IDirectDrawSurface7* target,
                         IDirect3DDevice7** device);

    // Stand-in side: made by IDirectDraw7::QueryInterface.
    static IDirect3D7* Create(IDirectDraw7* owner);

  private:
    IDirect3D7() = default;
    IDirectDraw7* owner_ = nullptr;
    ULONG references_ = 1;
};

struct D3D7DeviceState;

class IDirect3DDevice7 {
  public:
    ULONG AddRef();
    ULONG Release();
    HRESULT BeginScene();
    HRESULT EndScene();
    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value);
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value);
    // Stage 0 is drawn; the other stages keep their values only. Filters sample the nearest
    // texel whatever their value.
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value);
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value);
    // A surface made with DDSCAPS_TEXTURE, or null.
    HRESULT SetTexture(DWORD stage, IDirectDrawSurface7* texture);
    HRESULT GetViewport(D3DVIEWPORT7* viewport);
    HRESULT SetViewport(D3DVIEWPORT7* viewport);
    // Triangle strips of pre-transformed vertices (XYZRHW with optional DIFFUSE, SPECULAR and
    // one texture coordinate set), inside a scene.
    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertex_format, const void* vertices,
                          DWORD vertex_count, DWORD flags);

    // Stand-in side.
    static IDirect3DDevice7* Create(IDirectDrawSurface7* target);
    D3D7DeviceState& State() { return *state_; }

  private:
    IDirect3DDevice7() = default;
    ~IDirect3DDevice7();
    D3D7DeviceState* state_ = nullptr;
};
