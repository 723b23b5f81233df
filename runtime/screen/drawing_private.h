// Inside the drawing library: the operations of the default table, each in the file of its
// group, and what they share.
#pragma once
#include <cstdint>

#include "runtime/screen/drawing.h"

// The table every new context starts with.
const DrawingOperations& Drawing_DefaultOperations();

// First step of every GDI operation: after direct buffer access, gets the device context back
// and restores its colours, mode, objects and font. The device context, or null without one.
HDC Drawing_TakeDC(DrawingContext* c);
// The colour the front-colour objects are made in: the one last applied, else the one asked for.
COLORREF Drawing_FrontColour(const DrawingContext* c);

// Colours and mode (drawing_colors.cpp).
void DrawingOp_BackColor(DrawingContext* c, int32_t color);
void DrawingOp_FrontColor(DrawingContext* c, int32_t color);
void DrawingOp_DrawingMode(DrawingContext* c, int32_t flags);
// Shapes and pixels (drawing_shapes.cpp).
void DrawingOp_Box(DrawingContext* c, int32_t x, int32_t y, int32_t w, int32_t h);
void DrawingOp_RoundedBox(DrawingContext* c, int32_t x, int32_t y, int32_t w, int32_t h, int32_t rx,
                          int32_t ry);
void DrawingOp_Circle(DrawingContext* c, int32_t x, int32_t y, int32_t r);
void DrawingOp_Ellipse(DrawingContext* c, int32_t x, int32_t y, int32_t rx, int32_t ry);
void DrawingOp_Fill(DrawingContext* c, int32_t x, int32_t y, int32_t border);
void DrawingOp_Line(DrawingContext* c, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void DrawingOp_Plot(DrawingContext* c, int32_t x, int32_t y);
int32_t DrawingOp_Point(DrawingContext* c, int32_t x, int32_t y);
// Text (drawing_text.cpp).
void DrawingOp_Font(DrawingContext* c, intptr_t handle);
int32_t DrawingOp_Text(DrawingContext* c, int32_t x, int32_t y, const char* text);
int32_t DrawingOp_RotatedText(DrawingContext* c, int32_t x, int32_t y, const char* text,
                              float angle);
int32_t DrawingOp_TextHeight(DrawingContext* c, const char* text);
int32_t DrawingOp_TextWidth(DrawingContext* c, const char* text);
// Direct access to the output's pixels (drawing_buffer.cpp).
void* DrawingOp_DirectBuffer(DrawingContext* c);
int32_t DrawingOp_BufferPitch(DrawingContext* c);
int32_t DrawingOp_BufferPixelFormat(DrawingContext* c);
void DrawingOp_PlotColor(DrawingContext* c, int32_t x, int32_t y, int32_t color);
// Images (drawing_images.cpp).
int32_t DrawingOp_DrawImage(DrawingContext* c, HBITMAP image, int32_t x, int32_t y);
int32_t DrawingOp_DrawImageSized(DrawingContext* c, HBITMAP image, int32_t x, int32_t y, int32_t w,
                                 int32_t h);
int32_t DrawingOp_DrawImageThroughMemory(DrawingContext* c, HBITMAP image, int32_t x, int32_t y);
HBITMAP DrawingOp_GrabImage(DrawingContext* c, int32_t x, int32_t y, int32_t w, int32_t h);
// Start and stop (drawing_start_stop.cpp).
HDC DrawingOp_Start(DrawingContext* c);
void DrawingOp_Stop(DrawingContext* c);

// Coordinates from the caller added without overflow: sums beyond the int range stop at its ends.
inline int32_t Drawing_Add(int64_t a, int64_t b) {
    const int64_t s = a + b;
    if (s > INT32_MAX) return INT32_MAX;
    if (s < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(s);
}
