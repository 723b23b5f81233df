// Inside the gdi32 stand-in: the records behind the handles and the pixel helpers that every
// drawing file shares. Not for use outside platform/gdi/.
#pragma once
#include <cstdint>
#include <cstring>

#include "platform/gdi/gdi.h"

struct GdiObject {
    GdiKind kind;
    bool stock;
    bool delete_pending;  // DeleteObject came while it was selected
    int32_t selections;   // device contexts it is selected into
    // Brushes and pens.
    COLORREF colour;
    bool null;          // NULL_BRUSH, NULL_PEN, PS_NULL
    int32_t pen_width;  // 1 for the thin pens
    // Fonts.
    LOGFONTA font;
    // Bitmaps: owned pixels (`pixels.bits`), selected into at most one memory context.
    GdiSurface pixels;
};

constexpr uint32_t kDeviceContextMagic = 0x4B44434Bu;

struct DeviceContext {
    uint32_t magic;
    bool memory;        // made by CreateCompatibleDC
    GdiSurface pixels;  // where drawing goes (a memory context's: its bitmap's)
    HBRUSH brush;
    HPEN pen;
    HFONT font;
    HBITMAP bitmap;  // memory contexts
    COLORREF text_colour;
    COLORREF bk_colour;
    int32_t bk_mode;
    UINT text_align;
    int32_t rop2;
    POINT position;
};

// Records behind the handles: zeroed and registered as live when made (null when there is no
// memory), recycled when freed. A handle is live from its record's making to its freeing.
GdiObject* Gdi_NewObjectRecord();
void Gdi_FreeObjectRecord(GdiObject* object);
DeviceContext* Gdi_NewContextRecord();
void Gdi_FreeContextRecord(DeviceContext* context);
bool Gdi_IsLive(const void* handle);
// A handle checked for use: null unless it is a live device context.
DeviceContext* Gdi_Context(HDC dc);
// Null unless it is a stock object or a live created one.
GdiObject* Gdi_Object(HGDIOBJ object);
// Selects or deselects an object's reference; the last deselection of a deleted object frees it.
void Gdi_Retain(HGDIOBJ object);
void Gdi_Drop(HGDIOBJ object);
// The private 1 × 1 bitmap a memory context starts with.
HBITMAP Gdi_DefaultBitmap();
// Fills in a stock or created font's description.
const LOGFONTA& Gdi_FontOf(HFONT font);

// --- Pixels -----------------------------------------------------------------------------------

inline int Gdi_BytesPerPixel(GdiPixelFormat f) {
    return (f == GdiPixelFormat::kX8R8G8B8 || f == GdiPixelFormat::kA8R8G8B8) ? 4 : 2;
}

// The bits of a pixel that hold its colour.
inline uint32_t Gdi_ColourMask(GdiPixelFormat f) {
    switch (f) {
        case GdiPixelFormat::kX8R8G8B8:
        case GdiPixelFormat::kA8R8G8B8:
            return 0x00FFFFFFu;
        case GdiPixelFormat::kR5G6B5:
            return 0xFFFFu;
        default:
            return 0x7FFFu;
    }
}

// The bits GDI sets besides the colour: opaque alpha in the A formats.
inline uint32_t Gdi_FillBits(GdiPixelFormat f) {
    if (f == GdiPixelFormat::kA8R8G8B8) return 0xFF000000u;
    if (f == GdiPixelFormat::kA1R5G5B5) return 0x8000u;
    return 0;
}

// A colour value (0x00BBGGRR) as a pixel of the format, fill bits included.
inline uint32_t Gdi_PixelFromColour(GdiPixelFormat f, COLORREF c) {
    const uint32_t r = c & 0xFF, g = (c >> 8) & 0xFF, b = (c >> 16) & 0xFF;
    switch (f) {
        case GdiPixelFormat::kX8R8G8B8:
        case GdiPixelFormat::kA8R8G8B8:
            return (r << 16) | (g << 8) | b | Gdi_FillBits(f);
        case GdiPixelFormat::kR5G6B5:
            return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
        default:
            return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3) | Gdi_FillBits(f);
    }
}

// A pixel's colour; 16-bit channels come back with their low bits zero, as the device reads
// them.
inline COLORREF Gdi_ColourFromPixel(GdiPixelFormat f, uint32_t p) {
    uint32_t r, g, b;
    switch (f) {
        case GdiPixelFormat::kX8R8G8B8:
        case GdiPixelFormat::kA8R8G8B8:
            r = (p >> 16) & 0xFF;
            g = (p >> 8) & 0xFF;
            b = p & 0xFF;
            break;
        case GdiPixelFormat::kR5G6B5:
            r = ((p >> 11) & 0x1F) << 3;
            g = ((p >> 5) & 0x3F) << 2;
            b = (p & 0x1F) << 3;
            break;
        default:
            r = ((p >> 10) & 0x1F) << 3;
            g = ((p >> 5) & 0x1F) << 3;
            b = (p & 0x1F) << 3;
            break;
    }
    return r | (g << 8) | (b << 16);
}

inline uint8_t* Gdi_Row(const GdiSurface& s, int32_t y) {
    return static_cast<uint8_t*>(s.bits) + static_cast<intptr_t>(y) * s.pitch;
}

inline uint32_t Gdi_ReadPixel(const GdiSurface& s, int32_t x, int32_t y) {
    const uint8_t* row = Gdi_Row(s, y);
    if (Gdi_BytesPerPixel(s.format) == 4) {
        uint32_t v;
        std::memcpy(&v, row + 4 * x, 4);
        return v;
    }
    uint16_t v;
    std::memcpy(&v, row + 2 * x, 2);
    return v;
}

inline void Gdi_WritePixel(const GdiSurface& s, int32_t x, int32_t y, uint32_t p) {
    uint8_t* row = Gdi_Row(s, y);
    if (Gdi_BytesPerPixel(s.format) == 4) {
        std::memcpy(row + 4 * x, &p, 4);
    } else {
        const uint16_t v = static_cast<uint16_t>(p);
        std::memcpy(row + 2 * x, &v, 2);
    }
}

inline bool Gdi_Inside(const GdiSurface& s, int64_t x, int64_t y) {
    return x >= 0 && y >= 0 && x < s.width && y < s.height;
}

// Binary raster operation `rop` (R2_*) of pen pixel p over destination d, colour bits only.
inline uint32_t Gdi_Rop2(int rop, uint32_t p, uint32_t d) {
    const uint32_t t = static_cast<uint32_t>(rop - 1);
    uint32_t out = 0;
    if (t & 1) out |= ~p & ~d;
    if (t & 2) out |= ~p & d;
    if (t & 4) out |= p & ~d;
    if (t & 8) out |= p & d;
    return out;
}

// Writes horizontal runs of one pixel value through a binary raster operation, clipped to the
// surface.
class GdiSpanWriter {
  public:
    GdiSpanWriter(const GdiSurface& s, uint32_t pixel, int rop)
        : s_(s),
          pixel_(pixel),
          rop_(rop),
          mask_(Gdi_ColourMask(s.format)),
          fill_(Gdi_FillBits(s.format)) {}

    // Pixels x0..x1 (both inclusive) of row y.
    void Span(int64_t y, int64_t x0, int64_t x1) const {
        if (y < 0 || y >= s_.height) return;
        if (x0 < 0) x0 = 0;
        if (x1 >= s_.width) x1 = s_.width - 1;
        if (x0 > x1 || rop_ == R2_NOP) return;
        const int32_t yy = static_cast<int32_t>(y);
        if (rop_ == R2_COPYPEN && Gdi_BytesPerPixel(s_.format) == 4) {
            uint32_t* row = reinterpret_cast<uint32_t*>(Gdi_Row(s_, yy));
            for (int64_t x = x0; x <= x1; ++x) row[x] = pixel_;
            return;
        }
        for (int64_t x = x0; x <= x1; ++x) {
            const int32_t xx = static_cast<int32_t>(x);
            uint32_t v = pixel_;
            if (rop_ != R2_COPYPEN) {
                v = (Gdi_Rop2(rop_, pixel_, Gdi_ReadPixel(s_, xx, yy)) & mask_) | fill_;
            }
            Gdi_WritePixel(s_, xx, yy, v);
        }
    }
    void Pixel(int64_t x, int64_t y) const { Span(y, x, x); }

  private:
    const GdiSurface& s_;
    uint32_t pixel_;
    int rop_;
    uint32_t mask_;
    uint32_t fill_;
};
