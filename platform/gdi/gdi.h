// gdi32 and msimg32 stand-ins: graphic objects and device contexts.
#pragma once
#include "platform/win32/types.h"

struct GdiObject;
using HGDIOBJ = GdiObject*;
using HFONT = GdiObject*;
using HBRUSH = GdiObject*;
using HPEN = GdiObject*;
using HBITMAP = GdiObject*;
struct DeviceContext;
using HDC = DeviceContext*;
using COLORREF = DWORD;

constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;

// Stock objects live for the whole process; deleting one does nothing.
HGDIOBJ GetStockObject(int which);
BOOL DeleteObject(HGDIOBJ object);
// The kind of object (one of the stock numbers' families) or 0 for an unknown handle.
enum class GdiKind { kNone, kBrush, kPen, kFont, kBitmap };
GdiKind Gdi_KindOf(HGDIOBJ object);

// Pixel memory that a device context draws on: a back buffer, texture or surface of a
// stand-in, in one of the screen formats.
enum class GdiPixelFormat { kX8R8G8B8, kA8R8G8B8, kR5G6B5, kX1R5G5B5, kA1R5G5B5 };
struct GdiSurface {
    void* bits;
    int32_t pitch;  // bytes from one row to the next
    int32_t width;
    int32_t height;
    GdiPixelFormat format;
    bool is_screen;  // texts drawn here are screen texts (the KAVRO_TRACE "text" lines)
};
// A device context over surface memory (the stand-ins' GetDC); null for unusable memory.
HDC Gdi_CreateSurfaceDC(const GdiSurface& surface);
// Ends it (the stand-ins' ReleaseDC): deselects its objects and frees the context.
BOOL Gdi_DeleteSurfaceDC(HDC dc);

struct BLENDFUNCTION {
    BYTE BlendOp;
    BYTE BlendFlags;
    BYTE SourceConstantAlpha;
    BYTE AlphaFormat;
};
// msimg32's AlphaBlend between two device contexts.
BOOL AlphaBlend(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                BLENDFUNCTION blend);
