// The record behind an HWND (User32Window) and the user32 state, shared by the user32 files only
// (windows, geometry, painting, focus, accelerators, the message queue).
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/window.h"

struct User32Window {
    std::string class_name;
    std::string title;
    WNDPROC proc = nullptr;
    DWORD style = 0;
    DWORD ex_style = 0;
    DWORD thread = 0;
    HWND parent = nullptr;
    HINSTANCE instance = nullptr;
    HANDLE menu = nullptr;  // a child's control id
    LONG_PTR user_data = 0;
    bool alive = true;
    bool destroying = false;
    // The window rectangle: screen coordinates for top-level windows, the parent's client
    // coordinates for child windows.
    RECT rect{0, 0, 0, 0};
    RECT restore_rect{0, 0, 0, 0};  // the normal rectangle while minimized or maximized
    bool needs_paint = false;
    bool needs_erase = false;
    bool host_shown = false;  // the host shows it on the desktop
    std::vector<std::pair<std::string, HANDLE>> props;
};

struct ClassRecord {
    std::string name;
    WNDCLASSA wc;
};

struct User32State {
    std::vector<ClassRecord> classes;
    std::vector<std::unique_ptr<User32Window>> windows;  // oldest first
    HWND foreground = nullptr;
    HWND focus = nullptr;
    int cursor_count = 0;  // ShowCursor's display counter; the cursor shows while >= 0
    int cascade = 0;       // CW_USEDEFAULT placements so far
    // Key states left by the key messages read so far: bit 7 down, bit 0 toggled.
    uint8_t key_states[256] = {};
};

User32State& User32();
// A window that exists (not destroyed).
bool User32_Live(HWND window);
// Makes `window` (or nothing) the foreground window, telling the old and the new one with
// WM_ACTIVATE.
void User32_Activate(HWND window);
// Loses the foreground without another window taking it (the desktop focus went elsewhere).
void User32_Deactivate(HWND window);
// The border widths and caption height of a style (what AdjustWindowRectEx adds).
RECT User32_FrameOf(DWORD style, DWORD ex_style);
// Shows or hides the window on the desktop to match its state.
void User32_SyncHost(HWND window);
// Drops the queued messages of a destroyed window.
void User32_DiscardMessages(HWND window);
struct MSG;
// Updates the key states for a key message taken from the queue.
void User32_TrackKey(const MSG& msg);
// Clears the key states and the queue of every thread (tests, and the end of the process).
void User32_ResetMessages();
