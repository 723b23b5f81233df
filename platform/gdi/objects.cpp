// Graphic objects: the stock objects and the brushes, pens, fonts and bitmaps programs create,
// with their lifetime while they are selected into device contexts.
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "platform/gdi/call_counts.h"
#include "platform/gdi/gdi_internal.h"

namespace {

// Bitmaps are limited so that every offset into them fits comfortably in 32 bits.
constexpr int64_t kMaxBitmapBytes = int64_t{1} << 30;

GdiObject StockBrush(COLORREF colour, bool null = false) {
    GdiObject o{};
    o.kind = GdiKind::kBrush;
    o.stock = true;
    o.colour = colour;
    o.null = null;
    return o;
}

GdiObject StockPen(COLORREF colour, bool null = false) {
    GdiObject o = StockBrush(colour, null);
    o.kind = GdiKind::kPen;
    o.pen_width = 1;
    return o;
}

// Every stock font is the system font at its own size.
GdiObject StockFont() {
    GdiObject o{};
    o.kind = GdiKind::kFont;
    o.stock = true;
    o.font.lfHeight = 16;
    o.font.lfWeight = FW_NORMAL;
    o.font.lfCharSet = 0;
    std::strcpy(o.font.lfFaceName, "System");
    return o;
}

GdiObject StockNone() {
    return GdiObject{};
}

GdiObject g_stock[18] = {
    StockBrush(0xFFFFFF), StockBrush(0xC0C0C0), StockBrush(0x808080), StockBrush(0x404040),
    StockBrush(0x000000), StockBrush(0, true),  StockPen(0xFFFFFF),   StockPen(0x000000),
    StockPen(0, true),    StockNone(),          StockFont(),          StockFont(),
    StockFont(),          StockFont(),          StockFont(),          StockNone(),
    StockFont(),          StockFont(),
};

GdiObject MakeDefaultBitmap() {
    static uint32_t pixel = 0;
    GdiObject o{};
    o.kind = GdiKind::kBitmap;
    o.stock = true;
    o.pixels = GdiSurface{&pixel, 4, 1, 1, GdiPixelFormat::kX8R8G8B8, false};
    return o;
}

GdiObject* NewObject(GdiKind kind) {
    GdiObject* o = Gdi_NewObjectRecord();
    if (!o) return nullptr;
    o->kind = kind;
    return o;
}

void FreeObject(GdiObject* o) {
    if (o->kind == GdiKind::kBitmap) std::free(o->pixels.bits);
    Gdi_FreeObjectRecord(o);
}

HBITMAP NewBitmap(int width, int height, GdiPixelFormat format) {
    if (width <= 0 || height <= 0) return nullptr;
    const int64_t pitch = ((static_cast<int64_t>(width) * Gdi_BytesPerPixel(format)) + 3) & ~3;
    if (pitch * height > kMaxBitmapBytes) return nullptr;
    void* bits = std::calloc(static_cast<size_t>(pitch * height), 1);
    if (!bits) return nullptr;
    GdiObject* o = NewObject(GdiKind::kBitmap);
    if (!o) {
        std::free(bits);
        return nullptr;
    }
    o->pixels = GdiSurface{bits, static_cast<int32_t>(pitch), width, height, format, false};
    return o;
}

}  // namespace

HGDIOBJ GetStockObject(int which) {
    if (which < 0 || which >= static_cast<int>(std::size(g_stock))) return nullptr;
    if (g_stock[which].kind == GdiKind::kNone) return nullptr;
    return &g_stock[which];
}

HBITMAP Gdi_DefaultBitmap() {
    static GdiObject bitmap = MakeDefaultBitmap();
    return &bitmap;
}

GdiObject* Gdi_Object(HGDIOBJ object) {
    if (!object) return nullptr;
    for (GdiObject& stock : g_stock) {
        if (object == &stock) return stock.kind == GdiKind::kNone ? nullptr : object;
    }
    if (object == Gdi_DefaultBitmap()) return object;
    return Gdi_IsLive(object) ? object : nullptr;
}

BOOL DeleteObject(HGDIOBJ object) {
    object = Gdi_Object(object);
    if (!object) return FALSE;
    if (object->stock) return TRUE;
    if (object->delete_pending) return FALSE;
    if (object->selections > 0) {
        object->delete_pending = true;
        return TRUE;
    }
    FreeObject(object);
    return TRUE;
}

void Gdi_Retain(HGDIOBJ object) {
    if (object && !object->stock) ++object->selections;
}

void Gdi_Drop(HGDIOBJ object) {
    if (!object || object->stock) return;
    if (--object->selections == 0 && object->delete_pending) FreeObject(object);
}

GdiKind Gdi_KindOf(HGDIOBJ object) {
    object = Gdi_Object(object);
    return object ? object->kind : GdiKind::kNone;
}

HBRUSH CreateSolidBrush(COLORREF colour) {
    ++Gdi_CallCounts().brushes_created;
    GdiObject* o = NewObject(GdiKind::kBrush);
    if (o) o->colour = colour & 0xFFFFFF;
    return o;
}

HPEN CreatePen(int style, int width, COLORREF colour) {
    ++Gdi_CallCounts().pens_created;
    if (style < 0 || style > 6) return nullptr;
    GdiObject* o = NewObject(GdiKind::kPen);
    if (!o) return nullptr;
    o->colour = colour & 0xFFFFFF;
    o->null = style == PS_NULL;
    // Width 0 is the thinnest pen; very wide pens are capped to what a screen can show.
    o->pen_width = width < 1 ? 1 : (width > 4096 ? 4096 : width);
    return o;
}

HFONT CreateFontIndirectA(const LOGFONTA* font) {
    ++Gdi_CallCounts().fonts_created;
    if (!font) return nullptr;
    GdiObject* o = NewObject(GdiKind::kFont);
    if (!o) return nullptr;
    o->font = *font;
    o->font.lfFaceName[sizeof(o->font.lfFaceName) - 1] = '\0';
    return o;
}

const LOGFONTA& Gdi_FontOf(HFONT font) {
    font = Gdi_Object(font);
    if (font && font->kind == GdiKind::kFont) return font->font;
    return g_stock[SYSTEM_FONT].font;
}

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height) {
    DeviceContext* c = Gdi_Context(dc);
    GdiPixelFormat format = GdiPixelFormat::kX8R8G8B8;
    if (c && !(c->memory && c->bitmap == Gdi_DefaultBitmap())) {
        format = c->pixels.format;
        // Bitmaps have no alpha of their own; the X form of the context's format serves.
        if (format == GdiPixelFormat::kA8R8G8B8) format = GdiPixelFormat::kX8R8G8B8;
        if (format == GdiPixelFormat::kA1R5G5B5) format = GdiPixelFormat::kX1R5G5B5;
    }
    return NewBitmap(width, height, format);
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bits_per_pixel, const void* bits) {
    if (planes != 1 || (bits_per_pixel != 16 && bits_per_pixel != 32)) return nullptr;
    const GdiPixelFormat format =
        bits_per_pixel == 32 ? GdiPixelFormat::kX8R8G8B8 : GdiPixelFormat::kX1R5G5B5;
    HBITMAP b = NewBitmap(width, height, format);
    if (!b || !bits) return b;
    // Rows of the caller's bits are padded to 2 bytes.
    const size_t row_bytes = static_cast<size_t>(width) * (bits_per_pixel / 8);
    const size_t source_pitch = (row_bytes + 1) & ~size_t{1};
    for (int y = 0; y < height; ++y) {
        std::memcpy(Gdi_Row(b->pixels, y), static_cast<const uint8_t*>(bits) + y * source_pitch,
                    row_bytes);
    }
    return b;
}

int GetObjectA(HGDIOBJ object, int size, void* buffer) {
    object = Gdi_Object(object);
    if (!object || !buffer) return 0;
    if (object->kind == GdiKind::kFont && size >= static_cast<int>(sizeof(LOGFONTA))) {
        std::memcpy(buffer, &object->font, sizeof(LOGFONTA));
        return sizeof(LOGFONTA);
    }
    if (object->kind == GdiKind::kBitmap && size >= static_cast<int>(sizeof(BITMAP))) {
        BITMAP b{};
        b.bmWidth = object->pixels.width;
        b.bmHeight = object->pixels.height;
        b.bmWidthBytes = object->pixels.pitch;
        b.bmPlanes = 1;
        b.bmBitsPixel = static_cast<WORD>(8 * Gdi_BytesPerPixel(object->pixels.format));
        std::memcpy(buffer, &b, sizeof(b));
        return sizeof(BITMAP);
    }
    return 0;
}
