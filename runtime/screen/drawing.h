// Drawing onto an output with GDI: the drawing context with its operation table, current per
// thread between `Drawing_Start` and `Drawing_Stop`. An output (the screen's back buffer, made
// by the backend's `Screen_Output`) creates the context and fills in its own routines.
#pragma once
#include <cstdint>

#include "platform/gdi/gdi.h"

struct DrawingContext;

// `font` takes a font handle, or this for the stock system font.
constexpr intptr_t kDrawingSystemFont = -1;
// `fill` with this border fills the area of the colour found at the point.
constexpr int32_t kDrawingFillArea = -1;
// `outputKind` of the screen's back buffer.
constexpr int32_t kDrawingOutputScreen = 7;
// `drawingMode` flags.
constexpr int32_t kDrawingTransparent = 1;
constexpr int32_t kDrawingInvert = 2;
constexpr int32_t kDrawingOutline = 4;

// The drawing operations, in their slot order (0..25).
struct DrawingOperations {
    void (*backColor)(DrawingContext* c, int32_t color);
    void (*box)(DrawingContext* c, int32_t x, int32_t y, int32_t w, int32_t h);
    void (*roundedBox)(DrawingContext* c, int32_t x, int32_t y, int32_t w, int32_t h, int32_t rx,
                       int32_t ry);
    void (*circle)(DrawingContext* c, int32_t x, int32_t y, int32_t r);
    void (*font)(DrawingContext* c, intptr_t handle);
    void* (*directBuffer)(DrawingContext* c);
    int32_t (*bufferPitch)(DrawingContext* c);
    int32_t (*bufferPixelFormat)(DrawingContext* c);
    void (*drawingMode)(DrawingContext* c, int32_t flags);
    int32_t (*drawImage)(DrawingContext* c, HBITMAP image, int32_t x, int32_t y);
    int32_t (*drawImageSized)(DrawingContext* c, HBITMAP image, int32_t x, int32_t y, int32_t w,
                              int32_t h);
    int32_t (*drawImageThroughMemory)(DrawingContext* c, HBITMAP image, int32_t x, int32_t y);
    int32_t (*text)(DrawingContext* c, int32_t x, int32_t y, const char* text);
    int32_t (*rotatedText)(DrawingContext* c, int32_t x, int32_t y, const char* text, float angle);
    void (*ellipse)(DrawingContext* c, int32_t x, int32_t y, int32_t rx, int32_t ry);
    void (*fill)(DrawingContext* c, int32_t x, int32_t y, int32_t border);
    void (*frontColor)(DrawingContext* c, int32_t color);
    HBITMAP (*grabImage)(DrawingContext* c, int32_t x, int32_t y, int32_t w, int32_t h);
    void (*line)(DrawingContext* c, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
    void (*plot)(DrawingContext* c, int32_t x, int32_t y);
    void (*plotColor)(DrawingContext* c, int32_t x, int32_t y, int32_t color);
    int32_t (*point)(DrawingContext* c, int32_t x, int32_t y);
    HDC (*start)(DrawingContext* c);
    void (*stop)(DrawingContext* c);
    int32_t (*textHeight)(DrawingContext* c, const char* text);
    int32_t (*textWidth)(DrawingContext* c, const char* text);
};
static_assert(sizeof(DrawingOperations) == 26 * sizeof(void*));

struct DrawingContext {
    DrawingOperations operations;
    // Output-specific release: 1 from `Drawing_Stop`, 0 from a failed `Drawing_Start`.
    void (*releaseOutput)(DrawingContext* c, int32_t stopping);
    int32_t outputWidth;
    int32_t outputHeight;
    int32_t outputDepth;
    int32_t frontColor;  // colours asked for
    int32_t backColor;
    int32_t appliedFront;  // colours last sent to the device context, -1 for none yet
    int32_t appliedBack;
    int32_t outputKind;
    void* bufferBits;  // the output's pixels while locked for direct access
    int32_t bufferPitch;
    int32_t pixelFormatCode;
    HDC (*acquireDC)(DrawingContext* c);     // get the device context again
    void* (*lockBuffer)(DrawingContext* c);  // release it and lock the pixels
    HDC dc;
    int32_t drawingMode;
    int32_t dcState;  // 1 while `dc` is valid, -1 while the pixels are locked
    HBRUSH frontBrush;
    HPEN frontPen;
    HFONT font;
    HBRUSH initialBrush;
    HPEN initialPen;
    HGDIOBJ savedBrush;
    HGDIOBJ savedPen;
    int32_t italicOverhang;
    HFONT rotatedFont;
    float rotationAngle;
};

// Start-up routine: the thread-local slot of the current context.
void Drawing_Init();

// For outputs: a new zeroed context on the runtime heap with the default operations and colours,
// made current. Null when there is no memory for it.
DrawingContext* Drawing_CreateContext();
// The same in storage that the output keeps and reuses (the screen's, every frame): the context
// ends with Drawing_Stop as any other, but its storage is left to the output to free.
DrawingContext* Drawing_CreateContextIn(DrawingContext* storage);
// The thread's current context, or null.
DrawingContext* Drawing_Current();

// The screen's back buffer as a drawing output (each screen backend has its own): a new current
// context holding the back buffer's device context, or null when there is none to be had.
DrawingContext* Screen_Output();

// Starts drawing on an output's context: its device context, or 0 (then the context is gone).
HDC Drawing_Start(DrawingContext* output);
// Draws text with its cell's top-left at (x, y) on the current context; the x just after it.
int32_t Drawing_Text(int32_t x, int32_t y, const char* text);
// Ends the current context: its objects are deleted, the output released, the context freed.
void Drawing_Stop();
