// The system keyboard device: 256 keys indexed by scan code, read from the desktop (with its
// game controllers) or from a keyboard script, Escape added on a request to end the program,
// and recorded when asked.
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "platform/dinput/dinput_internal.h"
#include "platform/host/host.h"
#include "platform/host/input.h"
#include "platform/host/quit.h"

namespace {

// The game's only way to end: a request to end the program is handed to it as this key held.
constexpr uint8_t kQuitKey = 0x01;  // Escape

class KeyboardDevice final : public DeviceBase {
  public:
    KeyboardDevice() { DInput_StartKeyboard(); }
    ~KeyboardDevice() override { DInput_StopKeyboard(); }

  protected:
    // A request to end the program reaches the game even while its window is in the
    // background (closed from the taskbar, a signal from a terminal).
    bool ReadsInBackground() const override { return Host_QuitRequest() != HostQuitReason::kNone; }

    int32_t Bind(const DIOBJECTDATAFORMAT& object, int32_t) override {
        // Keys are buttons named by their scan code as instance; anything else the keyboard
        // does not have.
        if (!(object.dwType & DIDFT_BUTTON)) return -1;
        if (object.pguid && *object.pguid != GUID_Key) return -1;
        DWORD instance = DIDFT_GETINSTANCE(object.dwType);
        return instance < 256 ? static_cast<int32_t>(instance) : -1;
    }

    HRESULT Fill(uint8_t* data) override {
        KeyboardSource& source = DInput_KeyboardSource();
        uint8_t keys[256];
        uint32_t frame = ++source.reads;
        if (source.scripted) {
            source.script.KeysAt(frame, keys);
        } else {
            Host_KeyboardSnapshot(keys);
        }
        if (Host_QuitRequest() != HostQuitReason::kNone) {
            keys[kQuitKey] = 0x80;
            Host_QuitDelivered();
        }
        source.recorder.Add(frame, keys);
        for (const FormatObject& o : objects_) {
            if (o.source >= 0) data[o.offset] = keys[o.source];
        }
        return DI_OK;
    }
};

std::string ReadWholeFile(const std::string& path, bool* ok) {
    std::string text;
    *ok = false;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return text;
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0) text.append(buffer, n);
    *ok = !std::ferror(f);
    std::fclose(f);
    return text;
}

}  // namespace

KeyboardSource& DInput_KeyboardSource() {
    static KeyboardSource source;
    return source;
}

void DInput_StartKeyboard() {
    KeyboardSource& source = DInput_KeyboardSource();
    if (source.devices++ > 0) return;
    // While a keyboard exists to carry it, SIGINT and SIGTERM end the game through its quit key.
    Host_CatchQuitSignals(true);
    // Each run of keyboard devices reads its frames from 1.
    source.reads = 0;
    source.scripted = false;
    const HostSettings& settings = Host_Settings();
    if (!settings.keys_file.empty()) {
        bool ok = false;
        std::string text = ReadWholeFile(settings.keys_file, &ok);
        if (!ok) {
            Host_SettingError("KAVRO_KEYS: cannot read the keyboard script " + settings.keys_file +
                              ": " + std::strerror(errno));
        }
        std::string error;
        if (!source.script.Parse(text, &error)) {
            Host_SettingError("KAVRO_KEYS: " + settings.keys_file + " " + error);
        }
        source.scripted = true;
    }
    if (!settings.record_file.empty()) {
        std::string error;
        if (!source.recorder.Open(settings.record_file, &error)) {
            Host_SettingError("KAVRO_RECORD: cannot write " + settings.record_file + ": " + error);
        }
    }
}

void DInput_StopKeyboard() {
    KeyboardSource& source = DInput_KeyboardSource();
    if (--source.devices > 0) return;
    source.devices = 0;
    source.recorder.Close();
    Host_CatchQuitSignals(false);
}

IDirectInputDevice7A* DInput_CreateKeyboard() {
    return new KeyboardDevice;
}
