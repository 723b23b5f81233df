// The Direct3D 7 object: an interface of the DirectDraw object that reports the software
// devices and creates them on a DirectDraw surface.
#include <cstring>

#include "platform/ddraw7/d3d7.h"
#include "platform/ddraw7/pixel_format.h"

namespace {

struct DeviceKind {
    const GUID* guid;
    const char* description;
    const char* name;
};

// In the order the system reports them: the last one is the most capable.
const DeviceKind kDevices[] = {
    {&IID_IDirect3DRGBDevice, "Software rasteriser", "RGB Emulation"},
    {&IID_IDirect3DHALDevice, "Hardware abstraction layer", "Direct3D HAL"},
    {&IID_IDirect3DTnLHalDevice, "Hardware transform and lighting", "Direct3D T&L HAL"},
};

// Device capability: textures in video memory.
constexpr DWORD kDevCapsTextureVideoMemory = 0x00000200;
// Render depths: 16 and 32 bits (DDBD_16 | DDBD_32).
constexpr DWORD kRenderDepths = 0x00000400 | 0x00000100;

}  // namespace

IDirect3D7* IDirect3D7::Create(IDirectDraw7* owner) {
    auto* d3d = new IDirect3D7();
    d3d->owner_ = owner;
    owner->AddRef();
    return d3d;
}

ULONG IDirect3D7::AddRef() {
    return ++references_;
}

ULONG IDirect3D7::Release() {
    if (references_ == 0) return 0;
    ULONG left = --references_;
    if (left == 0) {
        IDirectDraw7* owner = owner_;
        delete this;
        owner->Release();
    }
    return left;
}

HRESULT IDirect3D7::EnumDevices(LPD3DENUMDEVICESCALLBACK7 callback, void* context) {
    if (!callback) return DDERR_INVALIDPARAMS;
    for (const DeviceKind& kind : kDevices) {
        D3DDEVICEDESC7 desc{};
        desc.dwDevCaps = kDevCapsTextureVideoMemory;
        desc.dwDeviceRenderBitDepth = kRenderDepths;
        desc.dwMinTextureWidth = desc.dwMinTextureHeight = 1;
        desc.dwMaxTextureWidth = desc.dwMaxTextureHeight = 16384;
        desc.wMaxTextureBlendStages = 1;
        desc.wMaxSimultaneousTextures = 1;
        desc.deviceGUID = *kind.guid;
        char description[64], name[64];
        std::strncpy(description, kind.description, sizeof(description) - 1);
        description[sizeof(description) - 1] = '\0';
        std::strncpy(name, kind.name, sizeof(name) - 1);
        name[sizeof(name) - 1] = '\0';
        if (callback(description, name, &desc, context) == D3DENUMRET_CANCEL) break;
    }
    return D3D_OK;
}

HRESULT IDirect3D7::CreateDevice(REFCLSID device_guid, IDirectDrawSurface7* target,
                                 IDirect3DDevice7** device) {
    if (!device) return DDERR_INVALIDPARAMS;
    *device = nullptr;
    bool known = false;
    for (const DeviceKind& kind : kDevices) known |= *kind.guid == device_guid;
    if (!known || !target || target->Owner() != owner_) return DDERR_INVALIDPARAMS;
    if (!(target->Caps() & DDSCAPS_3DDEVICE)) return DDERR_INVALIDCAPS;
    if (HRESULT r = target->IsLost(); r != DD_OK) return r;
    const DDFormat f = target->RawMemory().format;
    if (f != DDFormat::kX8R8G8B8 && f != DDFormat::kR5G6B5 && f != DDFormat::kX1R5G5B5) {
        return DDERR_INVALIDPIXELFORMAT;
    }
    *device = IDirect3DDevice7::Create(target);
    return D3D_OK;
}
