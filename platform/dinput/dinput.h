// DirectInput 7 stand-in: the input object, the system keyboard (read from the desktop, or from
// a keyboard script) and the attached game controllers as devices, with their data formats,
// cooperative levels and acquisition.
#pragma once
#include <cstdint>

#include "platform/win32/guid.h"
#include "platform/win32/types.h"

using ULONG = uint32_t;

extern const GUID IID_IDirectInput7A;
extern const GUID IID_IDirectInputDevice7A;
extern const GUID GUID_SysKeyboard;
extern const GUID GUID_SysMouse;
extern const GUID GUID_Key;
extern const GUID GUID_XAxis;
extern const GUID GUID_YAxis;
extern const GUID GUID_ZAxis;
extern const GUID GUID_RxAxis;
extern const GUID GUID_RyAxis;
extern const GUID GUID_RzAxis;
extern const GUID GUID_Slider;
extern const GUID GUID_POV;
extern const GUID GUID_Button;

constexpr HRESULT DI_OK = S_OK;
constexpr HRESULT DI_NOEFFECT = S_FALSE;
constexpr HRESULT DIERR_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT DIERR_INVALIDPARAM = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT DIERR_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr HRESULT DIERR_INPUTLOST = static_cast<HRESULT>(0x8007001Eu);
constexpr HRESULT DIERR_ACQUIRED = static_cast<HRESULT>(0x800700AAu);
constexpr HRESULT DIERR_NOTACQUIRED = static_cast<HRESULT>(0x8007000Cu);
constexpr HRESULT DIERR_OTHERAPPHASPRIO = static_cast<HRESULT>(0x80070005u);
constexpr HRESULT DIERR_DEVICENOTREG = static_cast<HRESULT>(0x80040154u);
constexpr HRESULT DIERR_OBJECTNOTFOUND = static_cast<HRESULT>(0x80070002u);
constexpr HRESULT DIERR_OLDDIRECTINPUTVERSION = static_cast<HRESULT>(0x8007047Eu);
constexpr HRESULT DIERR_BETADIRECTINPUTVERSION = static_cast<HRESULT>(0x80070481u);
constexpr HRESULT DIERR_UNSUPPORTED = static_cast<HRESULT>(0x80004001u);
constexpr HRESULT E_HANDLE = static_cast<HRESULT>(0x80070006u);

// Cooperative levels.
constexpr DWORD DISCL_EXCLUSIVE = 0x01;
constexpr DWORD DISCL_NONEXCLUSIVE = 0x02;
constexpr DWORD DISCL_FOREGROUND = 0x04;
constexpr DWORD DISCL_BACKGROUND = 0x08;
constexpr DWORD DISCL_NOWINKEY = 0x10;

// Data formats.
constexpr DWORD DIDF_ABSAXIS = 0x01;
constexpr DWORD DIDF_RELAXIS = 0x02;
constexpr DWORD DIDFT_RELAXIS = 0x00000001;
constexpr DWORD DIDFT_ABSAXIS = 0x00000002;
constexpr DWORD DIDFT_AXIS = 0x00000003;
constexpr DWORD DIDFT_PSHBUTTON = 0x00000004;
constexpr DWORD DIDFT_TGLBUTTON = 0x00000008;
constexpr DWORD DIDFT_BUTTON = 0x0000000C;
constexpr DWORD DIDFT_POV = 0x00000010;
constexpr DWORD DIDFT_ANYINSTANCE = 0x00FFFF00;
constexpr DWORD DIDFT_OPTIONAL = 0x80000000;
constexpr DWORD DIDFT_MAKEINSTANCE(DWORD n) {
    return (n & 0xFFFF) << 8;
}
constexpr DWORD DIDFT_GETINSTANCE(DWORD type) {
    return (type >> 8) & 0xFFFF;
}
constexpr DWORD DIDOI_ASPECTPOSITION = 0x00000100;

struct DIOBJECTDATAFORMAT {
    const GUID* pguid;
    DWORD dwOfs;
    DWORD dwType;
    DWORD dwFlags;
};

struct DIDATAFORMAT {
    DWORD dwSize;
    DWORD dwObjSize;
    DWORD dwFlags;
    DWORD dwDataSize;
    DWORD dwNumObjs;
    DIOBJECTDATAFORMAT* rgodf;
};

// The joystick state of c_dfDIJoystick.
struct DIJOYSTATE {
    LONG lX, lY, lZ;
    LONG lRx, lRy, lRz;
    LONG rglSlider[2];
    DWORD rgdwPOV[4];
    BYTE rgbButtons[32];
};
static_assert(sizeof(DIJOYSTATE) == 80);

// The published joystick format: six axes, two sliders, four point-of-view controls and 32
// buttons, all optional, with absolute axes.
extern const DIDATAFORMAT c_dfDIJoystick;
// The published keyboard format: 256 optional buttons, byte n = scan code n.
extern const DIDATAFORMAT c_dfDIKeyboard;

// Properties.
struct DIPROPHEADER {
    DWORD dwSize;
    DWORD dwHeaderSize;
    DWORD dwObj;
    DWORD dwHow;
};
struct DIPROPRANGE {
    DIPROPHEADER diph;
    LONG lMin;
    LONG lMax;
};
constexpr DWORD DIPH_DEVICE = 0;
constexpr DWORD DIPH_BYOFFSET = 1;
constexpr DWORD DIPH_BYID = 2;
// Property identifiers are small numbers written as GUID pointers.
inline const GUID* MAKEDIPROP(uintptr_t n) {
    return reinterpret_cast<const GUID*>(n);
}
inline const GUID* DIPROP_RANGE() {
    return MAKEDIPROP(4);
}

// Enumeration.
constexpr DWORD DIDEVTYPE_DEVICE = 1;
constexpr DWORD DIDEVTYPE_MOUSE = 2;
constexpr DWORD DIDEVTYPE_KEYBOARD = 3;
constexpr DWORD DIDEVTYPE_JOYSTICK = 4;
constexpr DWORD DIEDFL_ALLDEVICES = 0;
constexpr DWORD DIEDFL_ATTACHEDONLY = 1;
constexpr BOOL DIENUM_STOP = 0;
constexpr BOOL DIENUM_CONTINUE = 1;

struct DIDEVICEINSTANCEA {
    DWORD dwSize;
    GUID guidInstance;
    GUID guidProduct;
    DWORD dwDevType;
    char tszInstanceName[260];
    char tszProductName[260];
    GUID guidFFDriver;
    WORD wUsagePage;
    WORD wUsage;
};
using LPDIENUMDEVICESCALLBACKA = BOOL (*)(const DIDEVICEINSTANCEA* instance, LPVOID ref);

class IDirectInputDevice7A {
  public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    // Copies the format; refused while acquired.
    virtual HRESULT SetDataFormat(const DIDATAFORMAT* format) = 0;
    // Exactly one of exclusive/non-exclusive and one of foreground/background; a foreground or
    // exclusive level needs a top-level window. Refused while acquired.
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    // Needs a data format; a foreground device is acquired only while its window is the
    // foreground window.
    virtual HRESULT Acquire() = 0;
    virtual HRESULT Unacquire() = 0;
    // `size` must equal the data format's size. A foreground device whose window lost the
    // foreground is unacquired and reports DIERR_INPUTLOST.
    virtual HRESULT GetDeviceState(DWORD size, LPVOID data) = 0;
    virtual HRESULT SetProperty(const GUID* property, const DIPROPHEADER* header) = 0;

  protected:
    virtual ~IDirectInputDevice7A() = default;
};

class IDirectInput7A {
  public:
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;
    // GUID_SysKeyboard, or the instance of an enumerated controller; `riid` must be
    // IID_IDirectInputDevice7A and `outer` null.
    virtual HRESULT CreateDeviceEx(REFGUID guid, REFIID riid, LPVOID* device, void* outer) = 0;
    // Calls back once per device of the type (0 for all) until the callback stops.
    virtual HRESULT EnumDevices(DWORD type, LPDIENUMDEVICESCALLBACKA callback, LPVOID ref,
                                DWORD flags) = 0;

  protected:
    virtual ~IDirectInput7A() = default;
};

constexpr DWORD DIRECTINPUT_VERSION = 0x0700;
// Exported by "dinput.dll". Versions 0x0300 to 0x0700 are served; the instance must be given.
HRESULT DirectInputCreateEx(HINSTANCE instance, DWORD version, REFIID riid, LPVOID* out,
                            void* outer);
