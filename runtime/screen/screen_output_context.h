// The drawing context of the screen output, as both screen backends keep it: made in storage
// that lives from frame to frame (no heap call per frame), filled with the back buffer's device
// context, size and format and the backend's routines, and freed when the screen closes.
#pragma once
#include <cstdint>

#include "runtime/screen/drawing.h"

// How a backend's screen output moves between the back buffer's device context and its lock,
// and gives both up.
struct ScreenOutputRoutines {
    HDC (*acquireDC)(DrawingContext* c);
    void* (*lockBuffer)(DrawingContext* c);
    void (*releaseOutput)(DrawingContext* c, int32_t stopping);
};

// The screen output's context, current, in `*storage` (made on first need) and holding `dc`;
// null when it cannot be made, and `dc` is then still the caller's.
DrawingContext* ScreenOutput_MakeContext(DrawingContext** storage, HDC dc,
                                         const ScreenOutputRoutines& routines,
                                         int32_t pixelFormatCode, int32_t width, int32_t height,
                                         int32_t depth);
// Drawing on the screen ends with it: stops the context when it is current (which gives the
// back buffer back) and frees the storage.
void ScreenOutput_FreeContext(DrawingContext** storage);
