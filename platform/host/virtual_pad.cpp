// Virtual game controllers for tests: SDL's virtual joystick with the standard controller layout
// and a mapping for it, so it is read like any controller SDL knows.
#include <SDL.h>

#include <string>

#include "platform/host/host.h"
#include "platform/host/host_state.h"
#include "platform/host/test_hooks.h"

namespace {

SDL_Joystick* Joystick(int32_t pad) {
    auto& pads = HostState().virtual_pads;
    if (pad < 0 || static_cast<size_t>(pad) >= pads.size()) return nullptr;
    return static_cast<SDL_Joystick*>(pads[static_cast<size_t>(pad)]);
}

}  // namespace

int32_t Host_AttachVirtualPad() {
    if (!Host_StartPads()) return -1;
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
    desc.vendor_id = 0x4B56;  // made up: no real controller shares its mapping
    desc.product_id = 0x0001;
    desc.name = "Kavro virtual pad";
    int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) return -1;
    // Buttons and axes numbered as SDL's controller buttons and axes.
    char guid[64];
    SDL_JoystickGetGUIDString(SDL_JoystickGetDeviceGUID(index), guid, sizeof(guid));
    std::string mapping = std::string(guid) +
                          ",Kavro virtual pad,a:b0,b:b1,x:b2,y:b3,back:b4,guide:b5,start:b6,"
                          "leftstick:b7,rightstick:b8,leftshoulder:b9,rightshoulder:b10,"
                          "dpup:b11,dpdown:b12,dpleft:b13,dpright:b14,leftx:a0,lefty:a1,"
                          "rightx:a2,righty:a3,lefttrigger:a4,righttrigger:a5,";
    SDL_GameControllerAddMapping(mapping.c_str());
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    if (!joystick) return -1;
    HostState().virtual_pads.push_back(joystick);
    HostState().pads_changed = true;
    return static_cast<int32_t>(HostState().virtual_pads.size() - 1);
}

void Host_SetVirtualPadButton(int32_t pad, int32_t button, bool down) {
    if (SDL_Joystick* j = Joystick(pad)) SDL_JoystickSetVirtualButton(j, button, down ? 1 : 0);
}

void Host_SetVirtualPadAxis(int32_t pad, int32_t axis, int16_t value) {
    if (SDL_Joystick* j = Joystick(pad)) SDL_JoystickSetVirtualAxis(j, axis, value);
}

void Host_DetachVirtualPad(int32_t pad) {
    SDL_Joystick* j = Joystick(pad);
    if (!j) return;
    SDL_JoystickID id = SDL_JoystickInstanceID(j);
    SDL_JoystickClose(j);
    HostState().virtual_pads[static_cast<size_t>(pad)] = nullptr;
    for (int i = 0; i < SDL_NumJoysticks(); ++i) {
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    }
    HostState().pads_changed = true;
}
