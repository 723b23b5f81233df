// The hidden window of class "MultimediaBase Class", shared by the screen backends and the sound
// library: created once by whichever needs it first, it becomes the full-screen window and the
// cooperative window of keyboard and sound.
#pragma once
#include "platform/win32/types.h"

// The window, created on first need; null when it cannot be created.
HWND SharedWindow_Create();
// The window if it exists, else null.
HWND SharedWindow_Handle();
// The screen backend that renders into the window hears of its activation (true) and
// deactivation (false) through this; null stops it.
using SharedWindowActivateHandler = void (*)(bool activated);
void SharedWindow_SetActivateHandler(SharedWindowActivateHandler handler);
// The window procedure, for tests.
LRESULT SharedWindow_Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
