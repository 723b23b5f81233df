// What every DirectInput device does alike: reference counts, data formats, cooperative levels,
// acquisition and the foreground rule, and reading the state in the format's layout.
#include <cstring>

#include "platform/dinput/dinput_internal.h"
#include "platform/win32/window.h"

ULONG DeviceBase::AddRef() {
    return ++references_;
}

ULONG DeviceBase::Release() {
    ULONG left = --references_;
    if (left == 0) {
        acquired_ = false;
        delete this;
    }
    return left;
}

HRESULT DeviceBase::SetDataFormat(const DIDATAFORMAT* format) {
    if (!format) return DIERR_INVALIDPARAM;
    if (acquired_) return DIERR_ACQUIRED;
    if (format->dwSize != sizeof(DIDATAFORMAT) || format->dwObjSize != sizeof(DIOBJECTDATAFORMAT)) {
        return DIERR_INVALIDPARAM;
    }
    // The data block is read in whole DWORDs; objects must lie inside it.
    if (format->dwDataSize == 0 || format->dwDataSize % 4 != 0 || format->dwDataSize > 0x10000) {
        return DIERR_INVALIDPARAM;
    }
    if (format->dwNumObjs > 0 && !format->rgodf) return DIERR_INVALIDPARAM;
    if (format->dwNumObjs > 1024) return DIERR_INVALIDPARAM;
    std::vector<FormatObject> objects;
    int32_t axes = 0;
    int32_t povs = 0;
    int32_t buttons = 0;
    for (DWORD i = 0; i < format->dwNumObjs; ++i) {
        const DIOBJECTDATAFORMAT& o = format->rgodf[i];
        bool axis = (o.dwType & DIDFT_AXIS) != 0;
        bool button = (o.dwType & DIDFT_BUTTON) != 0;
        bool pov = (o.dwType & DIDFT_POV) != 0;
        DWORD width = button ? 1 : 4;
        if (!axis && !button && !pov) return DIERR_INVALIDPARAM;
        if (o.dwOfs + width > format->dwDataSize || (!button && o.dwOfs % 4 != 0)) {
            return DIERR_INVALIDPARAM;
        }
        int32_t index = axis ? axes++ : pov ? povs++ : buttons++;
        int32_t source = Bind(o, index);
        if (source < 0 && !(o.dwType & DIDFT_OPTIONAL)) return DIERR_INVALIDPARAM;
        objects.push_back(FormatObject{o.pguid, o.dwOfs, o.dwType, o.dwFlags, source});
    }
    objects_ = std::move(objects);
    data_size_ = format->dwDataSize;
    has_format_ = true;
    OnFormat();
    return DI_OK;
}

HRESULT DeviceBase::SetCooperativeLevel(HWND window, DWORD flags) {
    if (acquired_) return DIERR_ACQUIRED;
    bool exclusive = flags & DISCL_EXCLUSIVE;
    bool nonexclusive = flags & DISCL_NONEXCLUSIVE;
    bool foreground = flags & DISCL_FOREGROUND;
    bool background = flags & DISCL_BACKGROUND;
    if (exclusive == nonexclusive || foreground == background) return DIERR_INVALIDPARAM;
    if ((flags & DISCL_NOWINKEY) && background) return DIERR_INVALIDPARAM;
    if (flags & ~(DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND |
                  DISCL_NOWINKEY)) {
        return DIERR_INVALIDPARAM;
    }
    // A foreground or exclusive level follows a top-level window of the program.
    if ((foreground || exclusive) &&
        (!IsWindow(window) || GetAncestor(window, GA_ROOT) != window)) {
        return E_HANDLE;
    }
    window_ = window;
    level_ = flags;
    return DI_OK;
}

bool DeviceBase::WindowHasForeground() const {
    if (!(level_ & DISCL_FOREGROUND) || ReadsInBackground()) return true;
    return IsWindow(window_) && GetForegroundWindow() == window_;
}

HRESULT DeviceBase::Acquire() {
    if (!has_format_) return DIERR_INVALIDPARAM;
    if (!WindowHasForeground()) return DIERR_OTHERAPPHASPRIO;
    if (acquired_) return S_FALSE;
    acquired_ = true;
    return DI_OK;
}

HRESULT DeviceBase::Unacquire() {
    if (!acquired_) return DI_NOEFFECT;
    acquired_ = false;
    return DI_OK;
}

HRESULT DeviceBase::GetDeviceState(DWORD size, LPVOID data) {
    if (!data || !has_format_ || size != data_size_) return DIERR_INVALIDPARAM;
    if (!acquired_) return DIERR_NOTACQUIRED;
    if (!WindowHasForeground()) {
        // A foreground device loses its acquisition with the foreground.
        acquired_ = false;
        return DIERR_INPUTLOST;
    }
    uint8_t* out = static_cast<uint8_t*>(data);
    std::memset(out, 0, size);
    return Fill(out);
}

HRESULT DeviceBase::SetProperty(const GUID*, const DIPROPHEADER* header) {
    if (!header) return DIERR_INVALIDPARAM;
    return DIERR_UNSUPPORTED;
}
