// The Direct3D 9 object: one adapter (the host's display), its display modes, format checks,
// capabilities and device creation.
#include "platform/d3d9/d3d9.h"
#include "platform/host/host.h"
#include "platform/host/video.h"

namespace {

// Picture sizes the adapter offers in each of its three display formats; the host shows any
// of them scaled on the desktop.
struct ModeSize {
    UINT width;
    UINT height;
};
constexpr ModeSize kModes[] = {{640, 480}, {800, 600}, {1024, 768}};
constexpr UINT kModeCount = sizeof(kModes) / sizeof(kModes[0]);

bool DisplayFormat(D3DFORMAT f) {
    return f == D3DFMT_X8R8G8B8 || f == D3DFMT_R5G6B5 || f == D3DFMT_X1R5G5B5;
}

}  // namespace

bool D3D9_Available() {
    return Host_VideoInit();
}

IDirect3D9* Direct3DCreate9(UINT sdk_version) {
    if (sdk_version != D3D_SDK_VERSION) return nullptr;
    return new IDirect3D9();
}

ULONG IDirect3D9::AddRef() {
    return ++references_;
}

ULONG IDirect3D9::Release() {
    if (references_ == 0) return 0;
    ULONG left = --references_;
    if (left == 0) delete this;
    return left;
}

UINT IDirect3D9::GetAdapterCount() {
    return 1;
}

UINT IDirect3D9::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    if (adapter != D3DADAPTER_DEFAULT || !DisplayFormat(format)) return 0;
    return kModeCount;
}

HRESULT IDirect3D9::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                                     D3DDISPLAYMODE* out) {
    if (!out || mode >= GetAdapterModeCount(adapter, format)) return D3DERR_INVALIDCALL;
    *out = D3DDISPLAYMODE{kModes[mode].width, kModes[mode].height,
                          static_cast<UINT>(Host_RefreshRate()), format};
    return D3D_OK;
}

HRESULT IDirect3D9::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* mode) {
    if (adapter != D3DADAPTER_DEFAULT || !mode) return D3DERR_INVALIDCALL;
    int32_t width = 0, height = 0;
    Host_DesktopSize(&width, &height);
    *mode = D3DDISPLAYMODE{static_cast<UINT>(width), static_cast<UINT>(height),
                           static_cast<UINT>(Host_RefreshRate()), D3DFMT_X8R8G8B8};
    return D3D_OK;
}

HRESULT IDirect3D9::CheckDeviceType(UINT adapter, D3DDEVTYPE type, D3DFORMAT display_format,
                                    D3DFORMAT back_buffer_format, BOOL windowed) {
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
    if (!DisplayFormat(back_buffer_format)) return D3DERR_NOTAVAILABLE;
    // Windowed, the desktop's format is fixed; full screen, the mode takes the buffer's.
    if (windowed) return display_format == D3DFMT_X8R8G8B8 ? D3D_OK : D3DERR_NOTAVAILABLE;
    return display_format == back_buffer_format ? D3D_OK : D3DERR_NOTAVAILABLE;
}

HRESULT IDirect3D9::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE type, D3DFORMAT, D3DFORMAT,
                                           D3DFORMAT) {
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL) return D3DERR_INVALIDCALL;
    // The device draws without depth: no depth format matches.
    return D3DERR_NOTAVAILABLE;
}

HRESULT IDirect3D9::GetDeviceCaps(UINT adapter, D3DDEVTYPE type, D3DCAPS9* caps) {
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL || !caps) {
        return D3DERR_INVALIDCALL;
    }
    // Vertices are pre-transformed by the program; there is no transform-and-light hardware.
    *caps = D3DCAPS9{D3DDEVTYPE_HAL,
                     D3DADAPTER_DEFAULT,
                     0,
                     0,
                     0,
                     D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE,
                     0,
                     16384,
                     16384,
                     1,
                     1};
    return D3D_OK;
}

HRESULT IDirect3D9::CreateDevice(UINT adapter, D3DDEVTYPE type, HWND focus_window, DWORD behaviour,
                                 D3DPRESENT_PARAMETERS* parameters, IDirect3DDevice9** device) {
    if (!device) return D3DERR_INVALIDCALL;
    *device = nullptr;
    if (adapter != D3DADAPTER_DEFAULT || type != D3DDEVTYPE_HAL || !parameters) {
        return D3DERR_INVALIDCALL;
    }
    DWORD processing =
        behaviour & (D3DCREATE_SOFTWARE_VERTEXPROCESSING | D3DCREATE_HARDWARE_VERTEXPROCESSING |
                     D3DCREATE_MIXED_VERTEXPROCESSING);
    if (processing != D3DCREATE_SOFTWARE_VERTEXPROCESSING) {
        // Exactly one kind, and only the one the caps offer.
        return processing == 0 || (processing & (processing - 1)) ? D3DERR_INVALIDCALL
                                                                  : D3DERR_NOTAVAILABLE;
    }
    return IDirect3DDevice9::Create(focus_window, behaviour, parameters, device);
}
