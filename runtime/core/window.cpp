// Opening and closing runtime windows: the class of each window, its style, size and place,
// the "ZQ_WindowID" property, showing, and the Tab accelerators.
#include "runtime/core/window.h"

#include <cstdio>

#include "platform/gdi/gdi.h"
#include "platform/win32/heap.h"
#include "platform/win32/messages.h"
#include "runtime/core/library_state.h"
#include "runtime/core/object_table.h"
#include "runtime/core/program.h"

namespace {

struct WindowLibrary {
    ObjectTable* table;
    HICON icon;
    HCURSOR cursor;
    void* move_size_state;  // the library's own move-and-size mode (92 bytes)
};
WindowLibrary g_windows;

constexpr int32_t kMoveSizeStateSize = 92;

void ClassName(int32_t number, char (&name)[32]) {
    std::snprintf(name, sizeof(name), "WindowClass_%d", number);
}

void FreeWindow(int32_t number) {
    Window_Close(number);
}

// The window a window is centred on: the parent, else the active window; null for the screen.
HWND CentreOn(HWND parent) {
    if (parent) return parent;
    return GetActiveWindow();
}

}  // namespace

intptr_t Window_Open(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                     const char* title, uint32_t flags) {
    return Window_OpenEx(number, x, y, width, height, title, flags, nullptr);
}

intptr_t Window_OpenEx(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                       const char* title, uint32_t flags, HWND parent) {
    WindowLibrary& lib = g_windows;
    if (!lib.table) return 0;
    int32_t dynamic_number = 0;
    auto* record =
        static_cast<WindowRecord*>(ObjectTable_Allocate(lib.table, number, &dynamic_number));
    if (!record) return 0;
    const bool dynamic = number == -1;
    if (dynamic) number = dynamic_number;
    // A window class of its own per window number.
    char class_name[32];
    ClassName(number, class_name);
    if (!title) title = "";
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Window_Procedure;
    wc.hInstance = Program_Globals().module_handle;
    wc.hIcon = lib.icon;
    wc.hCursor = lib.cursor;
    wc.hbrBackground = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(15 + 1));  // COLOR_BTNFACE
    wc.lpszClassName = class_name;
    RegisterClassA(&wc);
    // A window without style flags gets a caption.
    uint32_t style = flags & ~kWindowNoGadgets;
    if ((style & ~(kWindowCentreScreen | kWindowCentreParent | kWindowHidden)) == 0) {
        style |= WS_CAPTION;
    }
    bool hidden = (style & kWindowHidden) != 0;
    style &= ~kWindowHidden;
    DWORD ex_style = 0;
    if (style & kWindowToolWindow) {
        style &= ~(WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_MINIMIZE | WS_MAXIMIZE);
        style |= WS_CAPTION;
        ex_style |= WS_EX_TOOLWINDOW;
    }
    bool maximized = (style & kWindowShowMaximized) != 0;
    bool minimized = (style & kWindowShowMinimized) != 0;
    DWORD window_style = style & ~7u;
    // The outer size that gives the requested client size.
    RECT outer{0, 0, width, height};
    AdjustWindowRectEx(&outer, window_style, FALSE, ex_style);
    int32_t outer_width = outer.right - outer.left;
    int32_t outer_height = outer.bottom - outer.top;
    // Where it goes: the system's choice, centred on the parent or centred on the screen.
    bool centre_screen = (style & kWindowCentreScreen) != 0;
    bool centre_parent = (style & kWindowCentreParent) != 0;
    if (!centre_screen && !centre_parent &&
        (x == kWindowDefaultPosition || y == kWindowDefaultPosition)) {
        x = y = CW_USEDEFAULT;
    }
    HWND around = centre_parent ? CentreOn(parent) : nullptr;
    if (centre_parent && around) {
        RECT r{};
        GetWindowRect(around, &r);
        x = r.left + (r.right - r.left - outer_width) / 2;
        y = r.top + (r.bottom - r.top - outer_height) / 2;
        if (x < 0) x = 0;
        if (y < 0) y = 0;
    } else if (centre_screen || centre_parent) {
        int32_t screen_width = GetSystemMetrics(SM_CXSCREEN);
        int32_t screen_height = GetSystemMetrics(SM_CYSCREEN);
        if (outer_width > screen_width) outer_width = screen_width;
        if (outer_height > screen_height) outer_height = screen_height;
        x = (screen_width - outer_width) / 2;
        y = (screen_height - outer_height) / 2;
    }
    // The record is still empty (its first word 0) while the window is made; a slot record
    // moves only if the table grows meanwhile.
    const uint8_t* slots_before = lib.table->slots;
    HWND window =
        CreateWindowExA(ex_style, class_name, title, window_style, x, y, outer_width, outer_height,
                        parent, nullptr, Program_Globals().module_handle, nullptr);
    if (!dynamic && lib.table->slots != slots_before) {
        record = reinterpret_cast<WindowRecord*>(lib.table->slots +
                                                 int64_t{number} * lib.table->record_size);
    }
    if (!window) {
        UnregisterClassA(class_name, Program_Globals().module_handle);
        ObjectTable_Release(lib.table, number);
        return 0;
    }
    record->window = window;
    record->unused_word = -1;
    // The window keeps its number as a property, plus 1 so that number 0 is not "none".
    SetPropA(window, "ZQ_WindowID", reinterpret_cast<HANDLE>(static_cast<intptr_t>(number) + 1));
    record->minimized_or_maximized = (maximized || minimized) ? 1 : 0;
    if (!hidden) {
        ShowWindow(window, maximized ? SW_MAXIMIZE : minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
        record = static_cast<WindowRecord*>(ObjectTable_Get(lib.table, number));
        if (!record) return 0;  // closed by its own messages
    }
    // Tab and Shift+Tab move between controls.
    auto* entries = static_cast<ACCEL*>(HeapAlloc(Runtime_Heap(), 0, 2 * sizeof(ACCEL)));
    if (entries) {
        entries[0] = ACCEL{FVIRTKEY, VK_TAB, kCommandNextControl};
        entries[1] = ACCEL{FVIRTKEY | FSHIFT, VK_TAB, kCommandPreviousControl};
        record->accelerator_table = CreateAcceleratorTableA(entries, 2);
    }
    record->accelerator_entries = entries;
    record->accelerator_count = 2;
    // Preparing a window for gadgets belongs to the gadget layer, which makes no controls in
    // this program; flag 0x8 (kWindowNoGadgets) only leaves the style.
    return dynamic ? number : reinterpret_cast<intptr_t>(window);
}

void Window_Close(int32_t number) {
    WindowLibrary& lib = g_windows;
    if (!lib.table) return;
    auto* record = static_cast<WindowRecord*>(ObjectTable_Get(lib.table, number));
    if (!record) return;
    HWND window = record->window;
    // Activate the owner first, so the focus does not leave the program.
    if (!(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD)) {
        HWND owner = GetParent(window);
        if (owner) SetActiveWindow(owner);
    }
    RemovePropA(window, "ZQ_WindowID");
    // No drop target is registered without the gadget layer; the mark goes with the window.
    RemovePropA(window, "ZQ_DropAccept");
    if (record->mdi_client) {
        constexpr UINT kMdiDestroy = 0x0221;
        SendMessageA(record->mdi_client, kMdiDestroy, reinterpret_cast<WPARAM>(window), 0);
    } else {
        DestroyWindow(window);
    }
    char class_name[32];
    ClassName(number, class_name);
    UnregisterClassA(class_name, Program_Globals().module_handle);
    // Destroying may have run code that grew the table.
    record = static_cast<WindowRecord*>(ObjectTable_Get(lib.table, number));
    if (!record) return;
    if (record->accelerator_entries) HeapFree(Runtime_Heap(), 0, record->accelerator_entries);
    if (record->accelerator_table) DestroyAcceleratorTable(record->accelerator_table);
    if (record->background_brush) {
        DeleteObject(static_cast<HGDIOBJ>(record->background_brush));
    }
    ObjectTable_Release(lib.table, number);
}

int32_t Window_Event() {
    return Event_Wait(0);
}

void Window_Init() {
    WindowLibrary& lib = g_windows;
    lib.table = ObjectTable_Create(sizeof(WindowRecord), 16, &FreeWindow);
    Event_SetStateBlock(
        static_cast<EventState*>(LibraryState_Create(sizeof(EventState), nullptr, nullptr)));
    if (EventState* s = Event_State()) {
        s->type = -1;
        s->window = -1;
    }
    lib.icon = LoadIconA(Program_Globals().module_handle, MAKEINTRESOURCEA(1));
    lib.cursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(IDC_ARROW_ID));
    lib.move_size_state = LibraryState_Create(kMoveSizeStateSize, nullptr, nullptr);
}

void Window_End() {
    WindowLibrary& lib = g_windows;
    if (lib.table) ObjectTable_FreeAll(lib.table);
    if (EventState* s = Event_State()) {
        if (s->dropped_data) HeapFree(Runtime_Heap(), 0, s->dropped_data);
        s->dropped_data = nullptr;
    }
}

ObjectTable* Window_Table() {
    return g_windows.table;
}

WindowRecord* Window_RecordOf(HWND window, bool walk_up) {
    if (!g_windows.table) return nullptr;
    for (HWND w = window; w; w = walk_up ? GetParent(w) : nullptr) {
        HANDLE id = GetPropA(w, "ZQ_WindowID");
        if (id) {
            auto number = static_cast<int32_t>(reinterpret_cast<intptr_t>(id) - 1);
            return static_cast<WindowRecord*>(ObjectTable_Find(g_windows.table, number));
        }
    }
    return nullptr;
}

int32_t Window_NumberOf(HWND window) {
    for (HWND w = window; w; w = GetParent(w)) {
        HANDLE id = GetPropA(w, "ZQ_WindowID");
        if (id) return static_cast<int32_t>(reinterpret_cast<intptr_t>(id) - 1);
    }
    return -1;
}
