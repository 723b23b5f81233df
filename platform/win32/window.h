// Windows of user32: classes, top-level windows, their state and properties. The host shows a
// window on the desktop only where a later stand-in asks it to; here a window is its record.
#pragma once
#include "platform/win32/types.h"

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HANDLE hIcon;
    HANDLE hCursor;
    HANDLE hbrBackground;
    LPCSTR lpszMenuName;
    LPCSTR lpszClassName;
};

constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr int SW_HIDE = 0;
constexpr int SW_SHOW = 5;

constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_CLOSE = 0x0010;

// Returns a non-zero atom, or 0 when the class name is taken or missing.
WORD RegisterClassA(const WNDCLASSA* wc);
BOOL UnregisterClassA(LPCSTR class_name, HINSTANCE instance);
HWND CreateWindowExA(DWORD ex_style, LPCSTR class_name, LPCSTR title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HANDLE menu, HINSTANCE instance,
                     LPVOID param);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL IsWindowVisible(HWND window);
BOOL IsWindowEnabled(HWND window);
// Returns whether the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND window);
DWORD GetWindowThreadProcessId(HWND window, DWORD* process_id);
// Visits the top-level windows, newest first, until the callback returns FALSE.
BOOL EnumWindows(WNDENUMPROC callback, LPARAM param);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
BOOL SetPropA(HWND window, LPCSTR name, HANDLE data);
HANDLE GetPropA(HWND window, LPCSTR name);
HANDLE RemovePropA(HWND window, LPCSTR name);
int GetWindowTextA(HWND window, char* buffer, int size);
