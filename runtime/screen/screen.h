// The screen and its buffer flip: starting the screen and sprite library, opening a
// full-screen or windowed screen, the flip with its message pump, closing. Each screen backend
// implements these operations under these names.
#pragma once
#include <cstdint>

#include "platform/win32/types.h"

// 1 when the screen library can be used; 0 otherwise, also when already initialised.
int32_t Sprite_Init();
// Closes the screen and releases the backend's objects (cleanup chain).
void Sprite_End();
// Full screen in the shared window. Non-zero flags: present at the vertical blank.
int32_t Screen_Open(int32_t width, int32_t height, int32_t depth, const char* title, int32_t flags);
// A screen in a child window of `parent`.
int32_t Screen_OpenWindowed(HWND parent, int32_t x, int32_t y, int32_t width, int32_t height,
                            int32_t autoStretch, int32_t rightOffset, int32_t bottomOffset);
void Screen_Close();
// Pumps messages, recovers lost surfaces, presents.
int32_t Screen_Flip();
// Sprite number, or -1 for the back buffer. 1 when the target is in force.
int32_t Screen_SetRenderTarget(int32_t number);
