// Device creation shared by the full-screen and the windowed open. Private to the backend.
#pragma once
#include <cstdint>

#include "platform/d3d9/d3d9.h"

// The full-screen back-buffer format for a depth (16 prefers X1R5G5B5, then R5G6B5; 32 takes
// X8R8G8B8), or 0.
D3DFORMAT Screen_FullScreenFormat(int32_t depth);
// Fills the state's present parameters; false when a required format is not to be had.
bool Screen_FillPresentParameters(HWND window, int32_t width, int32_t height, int32_t windowed,
                                  int32_t depth, int32_t flags);
// Creates the device from the present parameters (`hardware_behaviour` when the caps offer
// transform and lighting, software vertex processing otherwise), derives the format code and
// depth, fetches the back buffer and clears it. False, with no device kept, on failure.
bool Screen_CreateDevice(HWND focus, DWORD hardware_behaviour);
