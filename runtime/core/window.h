// The window library: ordinary top-level windows opened by number, their window procedure that
// turns messages into runtime events, and closing.
#pragma once
#include <cstdint>

#include "platform/win32/window.h"
#include "runtime/core/event.h"

struct ObjectTable;

// Called on background erase when the window has no brush; non-zero when it drew.
using WindowPaintHook = int32_t (*)(HWND window, HDC dc);

struct WindowRecord {
    HWND window;                 // non-zero while the window exists
    ACCEL* accelerator_entries;  // two entries on the runtime heap
    HACCEL accelerator_table;
    WindowHook window_hook;      // null at open
    int32_t accelerator_count;   // 2
    int32_t unused_word;         // -1 at open; not used by this program
    HANDLE background_brush;     // null at open, deleted at close
    HWND mdi_client;             // null for top-level windows
    WindowPaintHook paint_hook;  // null at open
    int16_t minimum_width;       // tracking limits; 0 = not set
    int16_t minimum_height;
    int16_t maximum_width;
    int16_t maximum_height;
    int32_t minimized_or_maximized;
};

// Flags of Window_Open beyond the window styles.
constexpr uint32_t kWindowCentreScreen = 0x1;
constexpr uint32_t kWindowCentreParent = 0x2;
constexpr uint32_t kWindowToolWindow = 0x4;
constexpr uint32_t kWindowNoGadgets = 0x8;
constexpr uint32_t kWindowHidden = 0x10000000;
constexpr uint32_t kWindowShowMaximized = 0x01000000;
constexpr uint32_t kWindowShowMinimized = 0x20000000;
// An x or y of this value, with neither centring flag, places the window where the system
// chooses.
constexpr int32_t kWindowDefaultPosition = -65535;

// Commands of the two accelerators every window gets: Tab and Shift+Tab.
constexpr WORD kCommandNextControl = 64001;
constexpr WORD kCommandPreviousControl = 64002;

// `number` or -1; the inner (client) size; a null title is the empty text. Returns the window
// handle for a numbered window, the number for a dynamic one, 0 on failure.
intptr_t Window_Open(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                     const char* title, uint32_t flags);
intptr_t Window_OpenEx(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height,
                       const char* title, uint32_t flags, HWND parent);
void Window_Close(int32_t number);
// Event_Wait(0).
int32_t Window_Event();
void Window_Init();
void Window_End();

ObjectTable* Window_Table();
// The runtime window of `window`: the first window up its parents that carries "ZQ_WindowID"
// (only `window` itself unless `walk_up`). Null for windows of others.
WindowRecord* Window_RecordOf(HWND window, bool walk_up);
// Its number, or -1.
int32_t Window_NumberOf(HWND window);
// The class's window procedure.
LRESULT Window_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
