// A windowed screen's "STATIC" child window, the same on both backends: making it, fitting it to
// the parent's client area less the offsets, and the hooks that refit and redraw it (the
// parent's WM_SIZE, the child's WM_PAINT). The hooks are templates over the backend's screen
// state and flip, so each backend gets window procedures of its own with nothing to look up.
#pragma once
#include <cstdint>

#include "platform/win32/window.h"

// The visible child of `parent` at (x, y), width x height; null when refused.
HWND WindowedChild_Create(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height);
// Sizes the child at (x, y) to reach the parent's client area less the two offsets.
void WindowedChild_Fit(HWND parent, HWND child, int32_t x, int32_t y, int32_t rightOffset,
                       int32_t bottomOffset);
// Puts `hook` over the parent's procedure unless `property` marks the parent as hooked already
// (a second screen on the same parent keeps the first hook and its old procedure).
void WindowedChild_HookParent(HWND parent, const char* property, WNDPROC hook, WNDPROC* oldProc);
// Puts `hook` over the child's procedure; returns the procedure under it.
WNDPROC WindowedChild_HookChild(HWND child, WNDPROC hook);

// Records where the child goes and that the screen is windowed in `parent`.
template <typename State>
void WindowedChild_Place(State& s, HWND parent, int32_t x, int32_t y, int32_t width, int32_t height,
                         int32_t autoStretch, int32_t rightOffset, int32_t bottomOffset) {
    s.childX = x;
    s.childY = y;
    s.rightOffset = rightOffset;
    s.bottomOffset = bottomOffset;
    s.autoStretch = autoStretch;
    s.windowed = 1;
    s.window = parent;
    s.width = s.screenWidth = width;
    s.height = s.screenHeight = height;
}

// Fits the child when the screen was opened with auto-stretch.
template <typename State>
void WindowedChild_Refit(const State& s) {
    if (!s.autoStretch) return;
    WindowedChild_Fit(s.window, s.childWindow, s.childX, s.childY, s.rightOffset, s.bottomOffset);
}

// The parent's hook: a resize refits the child and redraws the screen.
template <auto GetState, auto Flip>
LRESULT WindowedChild_ParentHook(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto& s = GetState();
    if (message == WM_SIZE && s.screenOpen && s.windowed) {
        WindowedChild_Refit(s);
        if (s.screenWidth) Flip();
    }
    return CallWindowProcA(s.oldParentProc, window, message, wparam, lparam);
}

// The child's hook: the screen is drawn again after the child paints.
template <auto GetState, auto Flip>
LRESULT WindowedChild_ChildHook(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto& s = GetState();
    if (message == WM_PAINT && s.screenOpen) {
        LRESULT result = CallWindowProcA(s.oldChildProc, window, message, wparam, lparam);
        if (s.screenWidth) Flip();
        return result;
    }
    return CallWindowProcA(s.oldChildProc, window, message, wparam, lparam);
}
