// What the DirectInput stand-in's files share: the device base with data formats, cooperative
// levels and acquisition, and the keyboard's snapshot source.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/dinput/dinput.h"
#include "platform/dinput/key_recorder.h"
#include "platform/dinput/key_script.h"

// One object of the data format the program set.
struct FormatObject {
    const GUID* guid;  // copied identity (null for any)
    DWORD offset;
    DWORD type;
    DWORD flags;
    int32_t source;  // the device's control behind it, -1 for an optional one it lacks
};

class DeviceBase : public IDirectInputDevice7A {
  public:
    ULONG AddRef() override;
    ULONG Release() override;
    HRESULT SetDataFormat(const DIDATAFORMAT* format) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT Acquire() override;
    HRESULT Unacquire() override;
    HRESULT GetDeviceState(DWORD size, LPVOID data) override;
    HRESULT SetProperty(const GUID* property, const DIPROPHEADER* header) override;

  protected:
    // The control behind a format object (object index `i` of its kind), or -1 when the device
    // has none.
    virtual int32_t Bind(const DIOBJECTDATAFORMAT& object, int32_t index_of_kind) = 0;
    // Writes the current state into `data` (zeroed, the format's size).
    virtual HRESULT Fill(uint8_t* data) = 0;
    virtual void OnFormat() {}
    // True while the device reads without the foreground its level asks for.
    virtual bool ReadsInBackground() const { return false; }

    std::vector<FormatObject> objects_;
    DWORD data_size_ = 0;
    bool has_format_ = false;
    bool acquired_ = false;

  private:
    bool WindowHasForeground() const;
    ULONG references_ = 1;
    HWND window_ = nullptr;
    DWORD level_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
};

// The keyboard's snapshots: from the keyboard script when KAVRO_KEYS names one, else from the
// desktop; recorded when KAVRO_RECORD names a file. Reads are counted from 1.
struct KeyboardSource {
    KeyScript script;
    bool scripted = false;
    KeyRecorder recorder;
    uint32_t reads = 0;
    int32_t devices = 0;  // keyboard devices alive
};
KeyboardSource& DInput_KeyboardSource();
// Loads the script and opens the recording for the first keyboard device. A script that
// cannot be read or parsed ends the run with a message naming the file and line.
void DInput_StartKeyboard();
void DInput_StopKeyboard();

IDirectInputDevice7A* DInput_CreateKeyboard();
// Controller `index` of the host, or null.
IDirectInputDevice7A* DInput_CreateJoystick(int32_t index);
// The instance identifier of controller `index`, and the index of such an identifier or -1.
GUID DInput_JoystickInstance(int32_t index);
int32_t DInput_JoystickIndexOf(const GUID& guid);
