// Game controllers as keys: every controller SDL's game-controller mapping database knows,
// plugged in before or during the run, holds the keys a player would press for the same move.
#include <SDL.h>

#include <algorithm>
#include <iterator>

#include "platform/host/host.h"
#include "platform/host/host_state.h"
#include "platform/host/input.h"

namespace {

constexpr uint8_t kEscape = 0x01;
constexpr uint8_t kSpace = 0x39;
constexpr uint8_t kUp = 0xC8;
constexpr uint8_t kLeft = 0xCB;
constexpr uint8_t kRight = 0xCD;
constexpr uint8_t kDown = 0xD0;
// A stick pushed less than this far (of 32767) holds no key: worn sticks rest off centre.
constexpr int32_t kStickDeadZone = 12000;

struct ButtonKey {
    SDL_GameControllerButton button;
    uint8_t scan;
};
const ButtonKey kButtonKeys[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_UP, kUp},     {SDL_CONTROLLER_BUTTON_DPAD_DOWN, kDown},
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, kLeft}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, kRight},
    {SDL_CONTROLLER_BUTTON_A, kSpace},        {SDL_CONTROLLER_BUTTON_B, kSpace},
    {SDL_CONTROLLER_BUTTON_BACK, kEscape},
};

SDL_GameController* Pad(void* handle) {
    return static_cast<SDL_GameController*>(handle);
}

bool IsOpen(SDL_JoystickID id) {
    for (void* p : HostState().pads) {
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(Pad(p))) == id) return true;
    }
    return false;
}

// Opens the controllers plugged in since the last scan and closes those pulled out.
void Scan() {
    HostStateBlock& st = HostState();
    auto& pads = st.pads;
    pads.erase(std::remove_if(pads.begin(), pads.end(),
                              [](void* p) {
                                  if (SDL_GameControllerGetAttached(Pad(p))) return false;
                                  SDL_GameControllerClose(Pad(p));
                                  return true;
                              }),
               pads.end());
    int count = SDL_NumJoysticks();
    if (count == st.pad_devices && !st.pads_changed) return;
    st.pad_devices = count;
    st.pads_changed = false;
    for (int i = 0; i < count; ++i) {
        if (!SDL_IsGameController(i) || IsOpen(SDL_JoystickGetDeviceInstanceID(i))) continue;
        // Headless runs must not depend on what is plugged into the machine.
        if (Host_Settings().headless && !SDL_JoystickIsVirtual(i)) continue;
        if (SDL_GameController* pad = SDL_GameControllerOpen(i)) pads.push_back(pad);
    }
}

}  // namespace

bool Host_StartPads() {
    HostStateBlock& st = HostState();
    if (st.pads_started) return true;
    if (st.pads_tried) return false;
    st.pads_tried = true;
    if (!Host_StartSdl() || SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
    st.pads_started = true;
    st.pads_changed = true;
    return true;
}

void Host_PadKeys(uint8_t keys[256]) {
    HostStateBlock& st = HostState();
    // Headless, controllers come only from the test hooks, which start the subsystem.
    if (!st.pads_started && (Host_Settings().headless || !Host_StartPads())) return;
    SDL_GameControllerUpdate();
    Scan();
    for (void* handle : st.pads) {
        SDL_GameController* pad = Pad(handle);
        for (const ButtonKey& b : kButtonKeys) {
            if (SDL_GameControllerGetButton(pad, b.button)) keys[b.scan] = 0x80;
        }
        int32_t x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        int32_t y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        if (x < -kStickDeadZone) keys[kLeft] = 0x80;
        if (x > kStickDeadZone) keys[kRight] = 0x80;
        if (y < -kStickDeadZone) keys[kUp] = 0x80;
        if (y > kStickDeadZone) keys[kDown] = 0x80;
    }
}

void Host_ClosePads() {
    HostStateBlock& st = HostState();
    for (void* p : st.pads) SDL_GameControllerClose(Pad(p));
    for (void* j : st.virtual_pads) {
        if (j) SDL_JoystickClose(static_cast<SDL_Joystick*>(j));
    }
    st.pads.clear();
    st.virtual_pads.clear();
    st.pads_started = st.pads_tried = false;
    st.pads_changed = true;
    st.pad_devices = -1;
}
