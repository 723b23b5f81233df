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

struct BLENDFUNCTION {
    BYTE BlendOp;
    BYTE BlendFlags;
    BYTE SourceConstantAlpha;
    BYTE AlphaFormat;
};
// msimg32's AlphaBlend between two device contexts.
BOOL AlphaBlend(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                BLENDFUNCTION blend);
