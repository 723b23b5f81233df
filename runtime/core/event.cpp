// The event queue on its block pool, and Event_Wait: queued events first, then one window
// message fetched (with a real timeout), translated and dispatched.
#include "runtime/core/event.h"

#include "platform/win32/heap.h"
#include "platform/win32/messages.h"
#include "runtime/core/block_pool.h"
#include "runtime/core/library_state.h"
#include "runtime/core/program.h"
#include "runtime/core/window.h"

namespace {

struct EventLibrary {
    EventQueue* queue;
    EventState* state;
};
EventLibrary g_events;

void FreeDropped(EventState* s) {
    if (s->dropped_data) HeapFree(Runtime_Heap(), 0, s->dropped_data);
    s->dropped_data = nullptr;
}

// The active runtime window's accelerators, unless the focused control wants Tab itself.
bool TranslateWithAccelerators(const MSG& msg) {
    HWND active = GetActiveWindow();
    if (!active) return false;
    WindowRecord* record = Window_RecordOf(active, false);
    if (!record || record->window != active || !record->accelerator_table) return false;
    HWND focus = GetFocus();
    if (focus && GetPropA(focus, "ZQ_Hotkey")) return false;
    bool tab_alone = (GetKeyState(VK_TAB) & 0x8000) && !(GetKeyState(VK_SHIFT) & 0x8000) &&
                     !(GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_MENU) & 0x8000);
    if (focus && tab_alone) {
        char name[8] = {};
        GetClassNameA(focus, name, sizeof(name));
        constexpr UINT kEmGetOptions = WM_USER + 78;
        bool rich = name[0] == 'R' && name[1] == 'i' && name[2] == 'c' && name[3] == 'h';
        if (rich && !(SendMessageA(focus, kEmGetOptions, 0, 0) & 0x800)) return false;
    }
    return TranslateAcceleratorA(active, record->accelerator_table, &msg) != 0;
}

}  // namespace

void Event_Init() {
    auto* queue =
        static_cast<EventQueue*>(LibraryState_Create(sizeof(EventQueue), nullptr, nullptr));
    if (queue) queue->pool = BlockPool_Create(sizeof(EventQueueEntry), 16, 256);
    g_events.queue = queue;
}

void Event_Post(int32_t event, int32_t gadget, int32_t window, int32_t type) {
    EventQueue* q = static_cast<EventQueue*>(LibraryState_Get(g_events.queue));
    if (!q || !q->pool || q->suspended) return;
    EventQueueEntry* n = q->newest;
    if (n && n->event == event && n->gadget == gadget && n->window == window && n->type == type) {
        return;
    }
    auto* entry = static_cast<EventQueueEntry*>(BlockPool_Allocate(q->pool));
    if (!entry) return;
    *entry = EventQueueEntry{nullptr, event, gadget, window, type};
    if (q->newest)
        q->newest->newer = entry;
    else
        q->oldest = entry;
    q->newest = entry;
}

void Event_SetDirect(int32_t event, int32_t gadget, int32_t window, int32_t type, WPARAM wparam,
                     LPARAM lparam) {
    EventState* s = Event_State();
    if (!s) return;
    s->event = event;
    s->gadget = gadget;
    s->window = window;
    s->type = type;
    s->wparam = wparam;
    s->lparam = lparam;
    s->direct = 1;
}

int32_t Event_Wait(int32_t timeout) {
    EventState* s = Event_State();
    EventQueue* q = static_cast<EventQueue*>(LibraryState_Get(g_events.queue));
    if (!s) return 0;
    // The previous event's dropped files go; the event starts as none.
    FreeDropped(s);
    s->type = -1;
    s->event = 0;
    s->direct = 0;
    // A queued event comes before the window messages.
    if (q && q->oldest) {
        EventQueueEntry* e = q->oldest;
        q->oldest = e->newer;
        if (!q->oldest) q->newest = nullptr;
        s->event = e->event;
        s->gadget = e->gadget;
        s->window = e->window;
        s->type = e->type;
        s->wparam = 0;
        s->lparam = 0;
        BlockPool_Release(q->pool, e);
    } else {
        // Otherwise the next window message, waited for as long as the timeout allows.
        MSG msg{};
        if (timeout == -1) {
            GetMessageA(&msg, nullptr, 0, 0);
        } else if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) {
            if (timeout == 0) return 0;
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(timeout),
                                          QS_ALLINPUT) == WAIT_TIMEOUT) {
                return 0;
            }
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) return 0;
        }
        // The runtime's accelerators first, then the usual translation.
        if (!TranslateWithAccelerators(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        // A message delivered straight to the event state (s->direct) is already recorded.
        if (s->direct) {
            s->direct = 0;
        } else {
            s->event = static_cast<int32_t>(msg.message);
            s->gadget = 0;
            s->window = msg.hwnd ? Window_NumberOf(msg.hwnd) : -1;
            s->wparam = msg.wParam;
            s->lparam = msg.lParam;
        }
    }
    s->previous_gadget = s->gadget;
    s->previous_window = s->window;
    s->previous_type = s->type;
    s->previous_event = s->event;
    s->previous_wparam = s->wparam;
    s->previous_lparam = s->lparam;
    return s->event;
}

EventQueue* Event_Queue() {
    return g_events.queue;
}
EventState* Event_State() {
    return static_cast<EventState*>(LibraryState_Get(g_events.state));
}
void Event_SetStateBlock(EventState* state) {
    g_events.state = state;
}
