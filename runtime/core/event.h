// Runtime events: the queue that window messages are turned into, and the fetch that returns
// one event at a time (a queued event, or the next window message dispatched).
#pragma once
#include <cstdint>

#include "platform/win32/types.h"

struct BlockPool;

// A window's own message hook, or the global one: any result other than this marker is the
// message's result.
constexpr LRESULT kWindowHookUnhandled = static_cast<LRESULT>(INTPTR_MIN + 0x5A17);
using WindowHook = LRESULT (*)(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

struct EventState {
    int32_t gadget;  // gadget (or window) number of the current event
    int32_t window;  // window number of the current event, or -1
    int32_t type;    // sub-type, -1 when none
    int32_t event;   // the current event code
    WPARAM wparam;   // of the message that made the event, 0 for queued events
    LPARAM lparam;
    int32_t previous_gadget;
    int32_t previous_window;
    int32_t previous_type;
    int32_t previous_event;
    WPARAM previous_wparam;
    LPARAM previous_lparam;
    WindowHook global_hook;  // for windows without a hook of their own
    void* dropped_data;      // of the last drop event, freed at the next fetch
    // Beyond the published fields: an event written directly by the dispatch of this fetch.
    int32_t direct;
};

struct EventQueueEntry {
    EventQueueEntry* newer;
    int32_t event;
    int32_t gadget;
    int32_t window;
    int32_t type;
};

struct EventQueue {
    BlockPool* pool;  // EventQueueEntry blocks, 16 to 256 per chunk
    EventQueueEntry* oldest;
    EventQueueEntry* newest;
    int32_t suspended;  // while set, nothing is queued
};

// Start-up: the queue and its pool.
void Event_Init();
// Appends an event, unless the queue is suspended or the newest entry is the same event.
void Event_Post(int32_t event, int32_t gadget, int32_t window, int32_t type);
// The next event: 0 = return at once, -1 = wait without limit, other = wait at most that many
// milliseconds. 0 when nothing arrived.
int32_t Event_Wait(int32_t timeout);
// Writes an event into the state for the fetch that is dispatching (events of commands, timers
// and drops).
void Event_SetDirect(int32_t event, int32_t gadget, int32_t window, int32_t type, WPARAM wparam,
                     LPARAM lparam);

EventQueue* Event_Queue();
// The event state (made by Window_Init); null before.
EventState* Event_State();
void Event_SetStateBlock(EventState* state);
