// The DirectInput object: creation with its version and interface checks, device creation for
// the system keyboard and the attached controllers, and their enumeration.
#include <cstdio>
#include <cstring>

#include "platform/dinput/dinput_internal.h"
#include "platform/host/input.h"

namespace {

constexpr HRESULT DIERR_NOAGGREGATION = static_cast<HRESULT>(0x80040110u);
constexpr DWORD kKeyboardSubtypePc = 4;
constexpr DWORD kJoystickSubtypeGamepad = 5;

class DirectInput final : public IDirectInput7A {
  public:
    ULONG AddRef() override { return ++references_; }
    ULONG Release() override {
        ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT CreateDeviceEx(REFGUID guid, REFIID riid, LPVOID* device, void* outer) override {
        if (!device) return DIERR_INVALIDPARAM;
        *device = nullptr;
        if (outer) return DIERR_NOAGGREGATION;
        if (riid != IID_IDirectInputDevice7A) return DIERR_NOINTERFACE;
        IDirectInputDevice7A* created = nullptr;
        if (guid == GUID_SysKeyboard) {
            created = DInput_CreateKeyboard();
        } else {
            int32_t index = DInput_JoystickIndexOf(guid);
            if (index >= 0) created = DInput_CreateJoystick(index);
        }
        if (!created) return DIERR_DEVICENOTREG;
        *device = created;
        return DI_OK;
    }

    HRESULT EnumDevices(DWORD type, LPDIENUMDEVICESCALLBACKA callback, LPVOID ref,
                        DWORD flags) override {
        if (!callback || (flags & ~DIEDFL_ATTACHEDONLY)) return DIERR_INVALIDPARAM;
        DWORD kind = type & 0xFF;
        if (kind == 0 || kind == DIDEVTYPE_KEYBOARD) {
            DIDEVICEINSTANCEA instance = Describe(
                GUID_SysKeyboard, DIDEVTYPE_KEYBOARD | (kKeyboardSubtypePc << 8), "Keyboard");
            if (callback(&instance, ref) == DIENUM_STOP) return DI_OK;
        }
        if (kind == 0 || kind == DIDEVTYPE_JOYSTICK) {
            int32_t count = Host_JoystickCount();
            for (int32_t i = 0; i < count; ++i) {
                const char* name = Host_JoystickName(i);
                DIDEVICEINSTANCEA instance = Describe(
                    DInput_JoystickInstance(i), DIDEVTYPE_JOYSTICK | (kJoystickSubtypeGamepad << 8),
                    name ? name : "Game controller");
                if (callback(&instance, ref) == DIENUM_STOP) return DI_OK;
            }
        }
        return DI_OK;
    }

  private:
    ~DirectInput() override = default;

    static DIDEVICEINSTANCEA Describe(const GUID& instance_guid, DWORD type, const char* name) {
        DIDEVICEINSTANCEA d{};
        d.dwSize = sizeof(d);
        d.guidInstance = instance_guid;
        d.guidProduct = instance_guid;
        d.dwDevType = type;
        std::snprintf(d.tszInstanceName, sizeof(d.tszInstanceName), "%s", name);
        std::snprintf(d.tszProductName, sizeof(d.tszProductName), "%s", name);
        return d;
    }

    ULONG references_ = 1;
};

}  // namespace

HRESULT DirectInputCreateEx(HINSTANCE instance, DWORD version, REFIID riid, LPVOID* out,
                            void* outer) {
    if (!out) return DIERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return DIERR_NOAGGREGATION;
    if (!instance) return DIERR_INVALIDPARAM;
    if (version < 0x0300) return DIERR_OLDDIRECTINPUTVERSION;
    if (version > DIRECTINPUT_VERSION) return DIERR_BETADIRECTINPUTVERSION;
    if (riid != IID_IDirectInput7A) return DIERR_NOINTERFACE;
    *out = static_cast<IDirectInput7A*>(new DirectInput);
    return DI_OK;
}
