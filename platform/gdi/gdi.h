// gdi32 and msimg32 stand-ins: graphic objects, device contexts over the stand-ins' pixel
// memory, text in the system font, shapes, pixels, flood fill and blits.
//
// Pixels written by GDI carry the colour only: the unused bits of the X formats are written 0
// and the alpha of the A formats is written opaque. Raster operations act on the colour bits.
#pragma once
#include "platform/win32/messages.h"
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

constexpr COLORREF CLR_INVALID = 0xFFFFFFFFu;
constexpr UINT GDI_ERROR = 0xFFFFFFFFu;
constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int OEM_FIXED_FONT = 10;
constexpr int ANSI_FIXED_FONT = 11;
constexpr int ANSI_VAR_FONT = 12;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int SYSTEM_FIXED_FONT = 16;
constexpr int DEFAULT_GUI_FONT = 17;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Text alignment.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;

// Binary raster operations of pens and brushes (R2_BLACK .. R2_WHITE).
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;

// Pen styles: solid and null (other styles draw solid).
constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;

// Ternary raster operations of the blits.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCPAINT = 0x00EE0086;
constexpr DWORD SRCAND = 0x008800C6;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD NOTSRCCOPY = 0x00330008;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// ExtFloodFill types.
constexpr UINT FLOODFILLBORDER = 0;
constexpr UINT FLOODFILLSURFACE = 1;

// Font weights.
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;

struct LOGFONTA {
    LONG lfHeight;       // cell height (negative: character height); 0 = the system size
    LONG lfWidth;        // ignored: the width follows from the height
    LONG lfEscapement;   // angle of the text line, tenths of a degree counter-clockwise
    LONG lfOrientation;  // ignored: characters stand along the text line
    LONG lfWeight;       // FW_BOLD and above draw bold
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    char lfFaceName[32];
};

struct TEXTMETRICA {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    BYTE tmFirstChar;
    BYTE tmLastChar;
    BYTE tmDefaultChar;
    BYTE tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};

// Objects. Stock objects live for the whole process; deleting one does nothing. Deleting an
// object that is still selected into a device context frees it when it is deselected.
HGDIOBJ GetStockObject(int which);
BOOL DeleteObject(HGDIOBJ object);
HBRUSH CreateSolidBrush(COLORREF colour);
HPEN CreatePen(int style, int width, COLORREF colour);
HFONT CreateFontIndirectA(const LOGFONTA* font);
// A bitmap in the pixel format of `dc` (32-bit when `dc` is null or has no pixels).
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// A bitmap of 16 (X1R5G5B5) or 32 (X8R8G8B8) bits per pixel; `bits`, when given, holds its rows
// top first, each padded to an even number of bytes, as the real call takes them.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel, const void* bits);
// Fills a LOGFONTA (font) or BITMAP (bitmap); returns the bytes written, 0 on failure.
int GetObjectA(HGDIOBJ object, int size, void* buffer);
// The kind of object, or kNone for a null handle.
enum class GdiKind { kNone, kBrush, kPen, kFont, kBitmap };
GdiKind Gdi_KindOf(HGDIOBJ object);

// Device contexts.
HDC CreateCompatibleDC(HDC dc);  // a memory context; select a bitmap into it to draw
BOOL DeleteDC(HDC dc);           // memory contexts only
// Returns the object it replaces (null on failure). A bitmap goes into a memory context only.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
COLORREF SetTextColor(HDC dc, COLORREF colour);  // previous value, CLR_INVALID on failure
COLORREF SetBkColor(HDC dc, COLORREF colour);
int SetBkMode(HDC dc, int mode);        // previous mode, 0 on failure
UINT SetTextAlign(HDC dc, UINT align);  // previous value, GDI_ERROR on failure
int SetROP2(HDC dc, int rop);           // previous value, 0 on failure
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL GetCurrentPositionEx(HDC dc, POINT* position);

// Lines and shapes: outline with the pen, inside with the brush, both through the raster
// operation. A shape's box is left/top inclusive, right/bottom exclusive.
BOOL LineTo(HDC dc, int x, int y);  // from the current position; the end point is not drawn
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int corner_width,
               int corner_height);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
// Pixels (no raster operation). GetPixel gives CLR_INVALID outside the pixels.
BOOL SetPixelV(HDC dc, int x, int y, COLORREF colour);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
COLORREF GetPixel(HDC dc, int x, int y);
// Fills with the brush the area around (x, y) bounded by `colour` (FLOODFILLBORDER) or made of
// `colour` (FLOODFILLSURFACE).
BOOL ExtFloodFill(HDC dc, int x, int y, COLORREF colour, UINT type);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);

// Text in the selected font, Windows-1252 bytes.
BOOL TextOutA(HDC dc, int x, int y, const char* text, int length);
BOOL GetTextExtentPoint32A(HDC dc, const char* text, int length, SIZE* size);
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);

// Blits between contexts (the same one allowed), clipped to both; StretchBlt samples the
// nearest source pixel and mirrors for negative sizes.
BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, DWORD rop);
BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                DWORD rop);

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

constexpr BYTE AC_SRC_OVER = 0x00;
constexpr BYTE AC_SRC_ALPHA = 0x01;
struct BLENDFUNCTION {
    BYTE BlendOp;
    BYTE BlendFlags;
    BYTE SourceConstantAlpha;
    BYTE AlphaFormat;
};
// msimg32's AlphaBlend between two device contexts: the source scaled to the destination
// rectangle and laid over it with the constant alpha, and with AC_SRC_ALPHA its own
// premultiplied alpha (formats without alpha count as opaque).
BOOL AlphaBlend(HDC dest, int x, int y, int w, int h, HDC src, int sx, int sy, int sw, int sh,
                BLENDFUNCTION blend);
