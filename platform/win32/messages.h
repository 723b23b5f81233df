// The thread's message queue (user32): window messages posted by the program and made from the
// host's events (focus, close, keys), read with PeekMessage/GetMessage and dispatched to the
// window procedure; the key states those messages leave behind; accelerator translation.
#pragma once
#include "platform/win32/types.h"
#include "platform/win32/window.h"

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};

constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFF;
constexpr DWORD QS_ALLINPUT = 0x04FF;

// Pumps the host's events into the queue first: focus gained or lost sends WM_ACTIVATE to the
// window (and moves the foreground), a click on the close box posts WM_SYSCOMMAND SC_CLOSE, keys
// post WM_KEYDOWN/WM_KEYUP (WM_SYSKEY* with Alt). A window filter of null takes every message of
// the thread; WM_PAINT comes when nothing else is waiting and a window needs painting.
// Returns FALSE when no message matches.
BOOL PeekMessageA(MSG* msg, HWND window, UINT first, UINT last, UINT remove);
// Waits for a message; FALSE for WM_QUIT.
BOOL GetMessageA(MSG* msg, HWND window, UINT first, UINT last);
LRESULT DispatchMessageA(const MSG* msg);
// Posts WM_CHAR (WM_SYSCHAR) for a key message of a character key. TRUE for key messages.
BOOL TranslateMessage(const MSG* msg);
// Posts to the queue of the window's thread; a null window posts to the calling thread.
BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void PostQuitMessage(int code);
// Waits up to `milliseconds` for a message in the queue: WAIT_OBJECT_0 + count, or WAIT_TIMEOUT.
// There are no waitable objects: any handle makes it WAIT_FAILED.
DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL wait_all,
                                DWORD milliseconds, DWORD wake_mask);

// Virtual keys.
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_PAUSE = 0x13;
constexpr int VK_CAPITAL = 0x14;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_SNAPSHOT = 0x2C;
constexpr int VK_INSERT = 0x2D;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_LWIN = 0x5B;
constexpr int VK_RWIN = 0x5C;
constexpr int VK_APPS = 0x5D;
constexpr int VK_NUMPAD0 = 0x60;
constexpr int VK_MULTIPLY = 0x6A;
constexpr int VK_ADD = 0x6B;
constexpr int VK_SUBTRACT = 0x6D;
constexpr int VK_DECIMAL = 0x6E;
constexpr int VK_DIVIDE = 0x6F;
constexpr int VK_F1 = 0x70;
constexpr int VK_NUMLOCK = 0x90;
constexpr int VK_SCROLL = 0x91;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;

constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VSC_TO_VK_EX = 3;
// Scan codes are set-1 codes; with MAPVK_VSC_TO_VK_EX an E0-prefixed key is written 0xE0nn.
// Returns 0 for codes without a mapping.
UINT MapVirtualKeyA(UINT code, UINT map_type);
// Bit 15 while the key is down by the key messages read so far, bit 0 toggled at each press.
int16_t GetKeyState(int virtual_key);

// A WM_KEYDOWN/WM_SYSKEYDOWN that matches an entry sends WM_COMMAND (high word 1) to `window`
// and returns TRUE.
int TranslateAcceleratorA(HWND window, HACCEL table, const MSG* msg);
