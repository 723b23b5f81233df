// The window procedure of runtime windows: the move-and-size mode check, the message hooks, and
// the conversion of window messages into runtime events.
#include <vector>

#include "platform/win32/messages.h"
#include "runtime/core/event.h"
#include "runtime/core/window.h"

namespace {

// Event codes.
constexpr int32_t kEventMove = 3;
constexpr int32_t kEventSize = 5;
constexpr int32_t kEventRepaint = 15;
constexpr int32_t kEventClose = 16;
constexpr int32_t kEventGadget = 13100;
constexpr int32_t kEventMenu = 13101;
constexpr int32_t kEventTray = 13102;
constexpr int32_t kEventActivate = 13104;
constexpr int32_t kEventDropWindow = 13105;
constexpr int32_t kEventDropGadget = 13106;
constexpr int32_t kEventMinimize = 13107;
constexpr int32_t kEventMaximize = 13108;
constexpr int32_t kEventRestore = 13109;
constexpr int32_t kEventTimer = 13110;

// The library's own notifications: the tray icon's callback and the two drop messages.
constexpr UINT kTrayMessage = WM_USER + 0x1F0;
constexpr UINT kDropOnWindow = WM_USER + 0x1F1;
constexpr UINT kDropOnGadget = WM_USER + 0x1F2;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr int32_t kControlIdFromCommand = -10000;

struct FocusWalk {
    std::vector<HWND> controls;
};

BOOL CollectControl(HWND window, LPARAM param) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
        reinterpret_cast<FocusWalk*>(param)->controls.push_back(window);
    }
    return TRUE;
}

// Tab and Shift+Tab: the focus to the next or previous control of the window, round the end.
void MoveFocus(HWND window, bool forward) {
    FocusWalk walk;
    EnumChildWindows(window, &CollectControl, reinterpret_cast<LPARAM>(&walk));
    if (walk.controls.empty()) return;
    HWND focus = GetFocus();
    size_t count = walk.controls.size();
    size_t at = count;
    for (size_t i = 0; i < count; ++i) {
        if (walk.controls[i] == focus) at = i;
    }
    size_t next = at == count ? (forward ? 0 : count - 1)
                              : (forward ? (at + 1) % count : (at + count - 1) % count);
    SetFocus(walk.controls[next]);
}

int32_t TrayType(LPARAM mouse_message) {
    switch (static_cast<UINT>(mouse_message)) {
        case WM_LBUTTONDOWN:
            return 0;
        case WM_RBUTTONDOWN:
            return 1;
        case WM_LBUTTONDBLCLK:
            return 2;
        case WM_RBUTTONDBLCLK:
            return 3;
        default:
            return -1;
    }
}

}  // namespace

LRESULT Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    // The library's own move-and-size mode takes over SC_MOVE and SC_SIZE only while the
    // system shows window contents during dragging; this platform's desktop moves and sizes
    // the windows itself and reports that setting off (SPI_GETDRAGFULLWINDOWS), so those
    // commands go on like any other message.
    WindowRecord* record = Window_RecordOf(window, true);
    // A hook sees the message first and may handle it.
    WindowHook hook = record && record->window_hook ? record->window_hook : nullptr;
    if (!hook && Event_State()) hook = Event_State()->global_hook;
    if (hook) {
        LRESULT r = hook(window, message, wparam, lparam);
        if (r != kWindowHookUnhandled) return r;
    }
    if (message == WM_NCDESTROY) RemovePropA(window, "ZQ_Focus");
    if (!record) return DefWindowProcA(window, message, wparam, lparam);
    int32_t number = Window_NumberOf(window);
    bool itself = record->window == window;
    switch (message) {
        case WM_CLOSE:
            // The window stays: the program decides.
            Event_Post(kEventClose, number, number, -1);
            return 0;
        case WM_MOVE:
            Event_Post(kEventMove, number, number, -1);
            return 0;
        case WM_SIZE:
            if (!itself) break;
            if (wparam == SIZE_MINIMIZED) {
                Event_Post(kEventMinimize, 0, number, -1);
                record->minimized_or_maximized = 1;
            } else if (wparam == SIZE_MAXIMIZED) {
                Event_Post(kEventMaximize, 0, number, -1);
                Event_Post(kEventSize, 0, number, -1);
                record->minimized_or_maximized = 1;
            } else if (record->minimized_or_maximized) {
                Event_Post(kEventRestore, 0, number, -1);
                Event_Post(kEventSize, 0, number, -1);
                record->minimized_or_maximized = 0;
            } else {
                Event_Post(kEventSize, 0, number, -1);
            }
            return 0;
        case WM_ERASEBKGND:
            Event_Post(kEventRepaint, 0, number, -1);
            // Windows have no pixels of their own here: a brush "fills" by answering handled.
            if (record->background_brush) return 1;
            if (record->paint_hook &&
                record->paint_hook(window, reinterpret_cast<HDC>(wparam)) != 0) {
                return 1;
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wparam) != WA_INACTIVE) {
                Event_Post(kEventActivate, 0, number, -1);
                HWND focus = static_cast<HWND>(GetPropA(window, "ZQ_Focus"));
                if (focus && IsWindow(focus)) SetFocus(focus);
            } else {
                HWND focus = GetFocus();
                if (focus && (focus == window || IsChild(window, focus))) {
                    SetPropA(window, "ZQ_Focus", focus);
                }
            }
            return 0;
        case WM_GETMINMAXINFO: {
            auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
            if (!info) break;
            if (record->minimum_width) info->ptMinTrackSize.x = record->minimum_width;
            if (record->minimum_height) info->ptMinTrackSize.y = record->minimum_height;
            if (record->maximum_width) info->ptMaxTrackSize.x = record->maximum_width;
            if (record->maximum_height) info->ptMaxTrackSize.y = record->maximum_height;
            return 0;
        }
        case WM_COMMAND:
            if (lparam) {
                HWND control = reinterpret_cast<HWND>(lparam);
                auto id = static_cast<int32_t>(GetWindowLongPtrA(control, GWLP_ID));
                if (id == kControlIdFromCommand) id = LOWORD(wparam);
                Event_SetDirect(kEventGadget, id, number, HIWORD(wparam), wparam, lparam);
            } else if (LOWORD(wparam) == kCommandNextControl ||
                       LOWORD(wparam) == kCommandPreviousControl) {
                MoveFocus(record->window, LOWORD(wparam) == kCommandNextControl);
            } else {
                Event_SetDirect(kEventMenu, LOWORD(wparam), number, -1, wparam, lparam);
            }
            return 0;
        case WM_TIMER:
            Event_SetDirect(kEventTimer, static_cast<int32_t>(wparam), number, -1, wparam, lparam);
            return 0;
        default:
            if (message == kTrayMessage) {
                int32_t type = TrayType(lparam);
                if (type >= 0) Event_Post(kEventTray, static_cast<int32_t>(wparam), number, type);
                return 0;
            }
            if (message == kDropOnWindow || message == kDropOnGadget) {
                bool on_gadget = message == kDropOnGadget;
                Event_SetDirect(on_gadget ? kEventDropGadget : kEventDropWindow,
                                on_gadget ? static_cast<int32_t>(wparam) : number, number, -1,
                                wparam, lparam);
                // The dropped data (a runtime-heap block) is the state's until the next fetch.
                if (EventState* s = Event_State())
                    s->dropped_data = reinterpret_cast<void*>(lparam);
                return 0;
            }
            break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
