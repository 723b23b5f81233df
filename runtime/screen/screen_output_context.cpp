// The screen output's drawing context: its storage, its fields, its end.
#include "runtime/screen/screen_output_context.h"

#include "platform/win32/heap.h"
#include "runtime/core/program.h"

DrawingContext* ScreenOutput_MakeContext(DrawingContext** storage, HDC dc,
                                         const ScreenOutputRoutines& routines,
                                         int32_t pixelFormatCode, int32_t width, int32_t height,
                                         int32_t depth) {
    if (!*storage) {
        *storage = static_cast<DrawingContext*>(
            HeapAlloc(Runtime_Heap(), HEAP_ZERO_MEMORY, sizeof(DrawingContext)));
    }
    DrawingContext* c = Drawing_CreateContextIn(*storage);
    if (!c) return nullptr;
    c->outputKind = kDrawingOutputScreen;
    c->dc = dc;
    c->bufferBits = nullptr;
    c->pixelFormatCode = pixelFormatCode;
    c->acquireDC = routines.acquireDC;
    c->lockBuffer = routines.lockBuffer;
    c->releaseOutput = routines.releaseOutput;
    c->outputWidth = width;
    c->outputHeight = height;
    c->outputDepth = depth;
    return c;
}

void ScreenOutput_FreeContext(DrawingContext** storage) {
    if (!*storage) return;
    if (Drawing_Current() == *storage) Drawing_Stop();
    HeapFree(Runtime_Heap(), 0, *storage);
    *storage = nullptr;
}
