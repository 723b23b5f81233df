// What happens on the desktop, as the message queue needs it: focus, close requests and keys of
// the windows the host shows. No SDL type crosses this header.
#pragma once
#include <cstdint>

enum class HostEventKind { kFocusGained, kFocusLost, kClose, kKeyDown, kKeyUp };

struct HostEvent {
    HostEventKind kind;
    void* owner;    // the window the event belongs to (the owner given to Host_ShowWindow)
    uint8_t scan;   // keys: the DirectInput scan code (0x80 added for E0-prefixed keys)
    bool repeat;    // keys: auto-repeat of a key already down
    bool alt_down;  // keys: an Alt key is held
};

// Takes the next event, or returns false when none is waiting. Never blocks.
bool Host_PollEvent(HostEvent* event);
// True when desktop events can arrive while the program waits (a desktop with video started).
// Headless only the test hooks make events, and they do so on the waiting thread itself.
bool Host_HasEventSource();
// Waits up to `milliseconds` for something to arrive from the desktop; returns at once when
// something is waiting. Not every arrival becomes a HostEvent (mouse moves do not).
bool Host_WaitEvent(uint32_t milliseconds);
