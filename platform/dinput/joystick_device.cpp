// Game controller devices: axes scaled into the ranges the program sets, point-of-view hats and
// buttons, read from the host's controller.
#include <cstring>

#include "platform/dinput/dinput_internal.h"
#include "platform/host/input.h"

namespace {

struct AxisRange {
    LONG min = 0;
    LONG max = 65535;
};

class JoystickDevice final : public DeviceBase {
  public:
    explicit JoystickDevice(int32_t index) : index_(index) {
        HostJoystickState state{};
        if (Host_JoystickRead(index, &state)) {
            axes_ = state.axis_count;
            buttons_ = state.button_count;
            hats_ = state.hat_count;
        }
    }

    HRESULT SetProperty(const GUID* property, const DIPROPHEADER* header) override {
        if (!header) return DIERR_INVALIDPARAM;
        if (property != DIPROP_RANGE()) return DIERR_UNSUPPORTED;
        if (header->dwSize != sizeof(DIPROPRANGE) || header->dwHeaderSize != sizeof(DIPROPHEADER)) {
            return DIERR_INVALIDPARAM;
        }
        if (acquired_) return DIERR_ACQUIRED;
        const auto* range = reinterpret_cast<const DIPROPRANGE*>(header);
        if (range->lMin >= range->lMax) return DIERR_INVALIDPARAM;
        if (header->dwHow == DIPH_DEVICE) {
            if (header->dwObj != 0) return DIERR_INVALIDPARAM;
            for (AxisRange& r : ranges_) r = AxisRange{range->lMin, range->lMax};
            return DI_OK;
        }
        if (header->dwHow != DIPH_BYOFFSET) return DIERR_UNSUPPORTED;
        for (const FormatObject& o : objects_) {
            if ((o.type & DIDFT_AXIS) && o.offset == header->dwObj) {
                if (o.source < 0) return DIERR_OBJECTNOTFOUND;
                ranges_[o.source] = AxisRange{range->lMin, range->lMax};
                return DI_OK;
            }
        }
        return DIERR_OBJECTNOTFOUND;
    }

  protected:
    int32_t Bind(const DIOBJECTDATAFORMAT& object, int32_t index_of_kind) override {
        DWORD instance = DIDFT_GETINSTANCE(object.dwType);
        bool any = (object.dwType & DIDFT_ANYINSTANCE) == DIDFT_ANYINSTANCE;
        if (object.dwType & DIDFT_AXIS) {
            if (index_of_kind == 0) sliders_bound_ = 0;
            int32_t axis = AxisOf(object.pguid, index_of_kind);
            if (!any) axis = static_cast<int32_t>(instance);
            return axis >= 0 && axis < axes_ ? axis : -1;
        }
        if (object.dwType & DIDFT_POV) {
            int32_t hat = any ? index_of_kind : static_cast<int32_t>(instance);
            return hat < hats_ ? hat : -1;
        }
        int32_t button = any ? index_of_kind : static_cast<int32_t>(instance);
        return button < buttons_ ? button : -1;
    }

    HRESULT Fill(uint8_t* data) override {
        HostJoystickState state{};
        if (!Host_JoystickRead(index_, &state)) {
            acquired_ = false;
            return DIERR_INPUTLOST;
        }
        for (const FormatObject& o : objects_) {
            if (o.source < 0) {
                // A missing hat reads centred.
                if (o.type & DIDFT_POV) {
                    DWORD centred = 0xFFFFFFFFu;
                    std::memcpy(data + o.offset, &centred, 4);
                }
                continue;
            }
            if (o.type & DIDFT_AXIS) {
                const AxisRange& r = ranges_[o.source];
                int64_t raw = int64_t{state.axes[o.source]} + 32768;  // 0..65535
                LONG v = static_cast<LONG>(r.min + raw * (int64_t{r.max} - r.min) / 65535);
                std::memcpy(data + o.offset, &v, 4);
            } else if (o.type & DIDFT_POV) {
                int32_t angle = state.hats[o.source];
                DWORD v = angle < 0 ? 0xFFFFFFFFu : static_cast<DWORD>(angle);
                std::memcpy(data + o.offset, &v, 4);
            } else {
                data[o.offset] = state.buttons[o.source];
            }
        }
        return DI_OK;
    }

  private:
    // Axes named by their identity take their place: X, Y, Z, Rx, Ry, Rz, then the sliders.
    int32_t AxisOf(const GUID* guid, int32_t index_of_kind) {
        if (!guid) return index_of_kind;
        const GUID* order[] = {&GUID_XAxis,  &GUID_YAxis,  &GUID_ZAxis,
                               &GUID_RxAxis, &GUID_RyAxis, &GUID_RzAxis};
        for (int32_t i = 0; i < 6; ++i) {
            if (*guid == *order[i]) return i;
        }
        if (*guid == GUID_Slider) return 6 + sliders_bound_++;
        return -1;
    }

    int32_t index_;
    int32_t axes_ = 0;
    int32_t buttons_ = 0;
    int32_t hats_ = 0;
    int32_t sliders_bound_ = 0;  // sliders met so far while binding a format
    AxisRange ranges_[8];
};

}  // namespace

IDirectInputDevice7A* DInput_CreateJoystick(int32_t index) {
    if (index < 0 || index >= Host_JoystickCount()) return nullptr;
    return new JoystickDevice(index);
}

GUID DInput_JoystickInstance(int32_t index) {
    return GUID{0x4B560000u + static_cast<uint32_t>(index),
                0x4A4F,
                0x5900,
                {'K', 'A', 'V', 'R', 'O', 'J', 'O', 'Y'}};
}

int32_t DInput_JoystickIndexOf(const GUID& guid) {
    GUID base = DInput_JoystickInstance(0);
    if (guid.Data2 != base.Data2 || guid.Data3 != base.Data3 ||
        std::memcmp(guid.Data4, base.Data4, 8) != 0 || guid.Data1 < base.Data1 ||
        guid.Data1 - base.Data1 > 0xFFFF) {
        return -1;
    }
    return static_cast<int32_t>(guid.Data1 - base.Data1);
}
