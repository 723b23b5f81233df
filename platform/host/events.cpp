// Desktop events for the message queue: SDL's window and key events turned into HostEvents,
// Alt+Enter and Alt+F4 handled here, the keyboard and controllers' state kept up to date, the
// close of the program's screen made a quit request, and the events the test hooks make.
#include "platform/host/events.h"

#include <SDL.h>

#include "platform/host/faults.h"
#include "platform/host/host.h"
#include "platform/host/host_state.h"
#include "platform/host/input.h"
#include "platform/host/quit.h"
#include "platform/host/test_hooks.h"

namespace {

constexpr uint8_t kReturn = 0x1C;
constexpr uint8_t kKeypadEnter = 0x9C;
constexpr uint8_t kF4 = 0x3E;

HostWindow* FindByOwner(void* owner) {
    for (HostWindow& w : HostState().windows) {
        if (w.owner == owner) return &w;
    }
    return nullptr;
}

HostWindow* FindBySdlId(Uint32 id) {
    for (HostWindow& w : HostState().windows) {
        if (w.window && SDL_GetWindowID(w.window) == id) return &w;
    }
    return nullptr;
}

void ToggleFullscreen(HostWindow& w) {
    w.fullscreen = !w.fullscreen;
    SDL_SetWindowFullscreen(w.window, w.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
    if (!w.fullscreen) {
        SDL_SetWindowSize(w.window, w.width, w.height);
        SDL_SetWindowPosition(w.window, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
}

// One SDL event as a HostEvent; false for events the program does not see.
bool Translate(const SDL_Event& e, HostEvent* out) {
    if (e.type == SDL_WINDOWEVENT) {
        HostWindow* w = FindBySdlId(e.window.windowID);
        if (!w) return false;
        *out = HostEvent{HostEventKind::kClose, w->owner, 0, false, false};
        switch (e.window.event) {
            case SDL_WINDOWEVENT_FOCUS_GAINED:
                out->kind = HostEventKind::kFocusGained;
                return true;
            case SDL_WINDOWEVENT_FOCUS_LOST:
                out->kind = HostEventKind::kFocusLost;
                return true;
            case SDL_WINDOWEVENT_CLOSE:
                out->kind = HostEventKind::kClose;
                return true;
            default:
                return false;
        }
    }
    if (e.type == SDL_KEYDOWN || e.type == SDL_KEYUP) {
        HostWindow* w = FindBySdlId(e.key.windowID);
        if (!w) return false;
        uint8_t scan = Host_ScanFromSdl(e.key.keysym.scancode);
        bool alt = (e.key.keysym.mod & KMOD_ALT) != 0;
        if (e.type == SDL_KEYDOWN && alt && (scan == kReturn || scan == kKeypadEnter)) {
            // Alt+Enter switches between full screen and a window at any time.
            if (!e.key.repeat && w->window) ToggleFullscreen(*w);
            return false;
        }
        if (e.type == SDL_KEYDOWN && alt && scan == kF4) {
            // Alt+F4 closes the window, as the desktop's own shortcut does where it has one.
            if (e.key.repeat) return false;
            *out = HostEvent{HostEventKind::kClose, w->owner, 0, false, false};
            return true;
        }
        if (scan == 0) return false;
        *out = HostEvent{e.type == SDL_KEYDOWN ? HostEventKind::kKeyDown : HostEventKind::kKeyUp,
                         w->owner, scan, e.key.repeat != 0, alt};
        return true;
    }
    if (e.type == SDL_CONTROLLERDEVICEADDED || e.type == SDL_CONTROLLERDEVICEREMOVED ||
        e.type == SDL_JOYDEVICEADDED || e.type == SDL_JOYDEVICEREMOVED) {
        HostState().pads_changed = true;
    }
    return false;
}

// What an event does to the host's own state before the program sees it. True when it is
// taken here: the close of the program's screen, whose window procedure ignores closing, is a
// request to end the program.
bool Take(const HostEvent& e) {
    switch (e.kind) {
        case HostEventKind::kKeyDown:
            if (!e.repeat) Host_NoteKey(e.scan, true);
            return false;
        case HostEventKind::kKeyUp:
            Host_NoteKey(e.scan, false);
            return false;
        case HostEventKind::kFocusLost:
            Host_ReleaseKeys();
            return false;
        case HostEventKind::kClose: {
            HostWindow* w = FindByOwner(e.owner);
            if (!w || !w->screen) return false;
            Host_RequestQuit(HostQuitReason::kClose);
            return true;
        }
        case HostEventKind::kFocusGained:
            return false;
    }
    return false;
}

}  // namespace

bool Host_PollEvent(HostEvent* event) {
    HostStateBlock& st = HostState();
    while (!st.simulated.empty()) {
        *event = st.simulated.front();
        st.simulated.pop_front();
        if (!Take(*event)) return true;
    }
    if (st.video_started || st.pads_started) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (Translate(e, event) && !Take(*event)) return true;
        }
    }
    // The queue is drained: one pass of the program's message pump, the clock of KAVRO_FAULTS.
    Host_FaultsPumpPass();
    return false;
}

bool Host_HasEventSource() {
    return HostState().video_started && Host_HasDesktop();
}

bool Host_WaitEvent(uint32_t milliseconds) {
    HostStateBlock& st = HostState();
    if (!st.simulated.empty()) return true;
    if (!Host_HasEventSource()) return false;
    int timeout = milliseconds > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int>(milliseconds);
    return SDL_WaitEventTimeout(nullptr, timeout) == 1;
}

void Host_SimulateFocus(void* owner, bool gained) {
    HostState().simulated.push_back(HostEvent{
        gained ? HostEventKind::kFocusGained : HostEventKind::kFocusLost, owner, 0, false, false});
}

void Host_SimulateClose(void* owner) {
    HostState().simulated.push_back(HostEvent{HostEventKind::kClose, owner, 0, false, false});
}

void Host_SimulateKey(void* owner, uint8_t scan, bool down) {
    HostState().simulated.push_back(HostEvent{
        down ? HostEventKind::kKeyDown : HostEventKind::kKeyUp, owner, scan, false, false});
}
