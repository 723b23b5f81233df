// Game controllers attached to the desktop, counted and named for DirectInput's enumeration.
#include <SDL.h>

#include <algorithm>

#include "platform/host/host.h"
#include "platform/host/host_state.h"
#include "platform/host/input.h"

namespace {

void CloseHandles() {
    for (void* handle : HostState().joystick_handles) {
        if (handle) SDL_JoystickClose(static_cast<SDL_Joystick*>(handle));
    }
    HostState().joystick_handles.clear();
}

void Refresh() {
    HostStateBlock& st = HostState();
    st.joystick_names.clear();
    // Indexes change with the enumeration: handles are opened again.
    CloseHandles();
    // Headless runs must not depend on what is plugged into the machine.
    if (Host_Settings().headless) return;
    if (!st.joysticks_started) {
        if (!Host_StartSdl()) return;
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) return;
        st.joysticks_started = true;
    }
    SDL_JoystickUpdate();
    int count = SDL_NumJoysticks();
    for (int i = 0; i < count; ++i) {
        const char* name = SDL_JoystickNameForIndex(i);
        st.joystick_names.emplace_back(name ? name : "Game controller");
    }
}

}  // namespace

int32_t Host_JoystickCount() {
    Refresh();
    return static_cast<int32_t>(HostState().joystick_names.size());
}

const char* Host_JoystickName(int32_t index) {
    const auto& names = HostState().joystick_names;
    if (index < 0 || static_cast<size_t>(index) >= names.size()) return nullptr;
    return names[static_cast<size_t>(index)].c_str();
}

bool Host_JoystickRead(int32_t index, HostJoystickState* state) {
    HostStateBlock& st = HostState();
    if (!state || index < 0 || static_cast<size_t>(index) >= st.joystick_names.size()) {
        return false;
    }
    if (st.joystick_handles.size() < st.joystick_names.size()) {
        st.joystick_handles.resize(st.joystick_names.size(), nullptr);
    }
    auto*& handle = reinterpret_cast<SDL_Joystick*&>(st.joystick_handles[index]);
    if (!handle) handle = SDL_JoystickOpen(index);
    if (!handle || !SDL_JoystickGetAttached(handle)) return false;
    SDL_JoystickUpdate();
    *state = HostJoystickState{};
    state->axis_count = std::min(SDL_JoystickNumAxes(handle), 8);
    state->button_count = std::min(SDL_JoystickNumButtons(handle), 32);
    state->hat_count = std::min(SDL_JoystickNumHats(handle), 4);
    for (int i = 0; i < state->axis_count; ++i) state->axes[i] = SDL_JoystickGetAxis(handle, i);
    for (int i = 0; i < state->button_count; ++i) {
        state->buttons[i] = SDL_JoystickGetButton(handle, i) ? 0x80 : 0;
    }
    for (int i = 0; i < state->hat_count; ++i) {
        static const int32_t kAngles[16] = {-1,    0,     9000, 4500, 18000, -1, 13500, -1,
                                            27000, 31500, -1,   -1,   22500, -1, -1,    -1};
        state->hats[i] = kAngles[SDL_JoystickGetHat(handle, i) & 15];
    }
    return true;
}
