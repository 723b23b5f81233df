// Device contexts: over a stand-in's surface memory (GetDC/ReleaseDC of the screen and sprite
// stand-ins) or over a bitmap (memory contexts), with their drawing attributes and selected
// objects.

#include "platform/gdi/call_counts.h"
#include "platform/gdi/gdi_internal.h"

namespace {

bool SurfaceUsable(const GdiSurface& s) {
    if (!s.bits || s.width <= 0 || s.height <= 0) return false;
    const int64_t bpp = Gdi_BytesPerPixel(s.format);
    const int64_t pitch = s.pitch < 0 ? -static_cast<int64_t>(s.pitch) : s.pitch;
    if (pitch < s.width * bpp) return false;
    // Pixels are read whole, so rows must start on pixel boundaries.
    if (reinterpret_cast<uintptr_t>(s.bits) % bpp != 0 || pitch % bpp != 0) return false;
    switch (s.format) {
        case GdiPixelFormat::kX8R8G8B8:
        case GdiPixelFormat::kA8R8G8B8:
        case GdiPixelFormat::kR5G6B5:
        case GdiPixelFormat::kX1R5G5B5:
        case GdiPixelFormat::kA1R5G5B5:
            return true;
    }
    return false;
}

DeviceContext* NewContext(const GdiSurface& pixels, bool memory) {
    DeviceContext* c = Gdi_NewContextRecord();
    if (!c) return nullptr;
    c->magic = kDeviceContextMagic;
    c->memory = memory;
    c->pixels = pixels;
    // The defaults of a fresh context.
    c->brush = GetStockObject(WHITE_BRUSH);
    c->pen = GetStockObject(BLACK_PEN);
    c->font = GetStockObject(SYSTEM_FONT);
    c->text_colour = 0x000000;
    c->bk_colour = 0xFFFFFF;
    c->bk_mode = OPAQUE;
    c->text_align = TA_NOUPDATECP | TA_LEFT | TA_TOP;
    c->rop2 = R2_COPYPEN;
    return c;
}

void FreeContext(DeviceContext* c) {
    Gdi_Drop(c->brush);
    Gdi_Drop(c->pen);
    Gdi_Drop(c->font);
    Gdi_Drop(c->bitmap);
    c->magic = 0;
    Gdi_FreeContextRecord(c);
}

}  // namespace

DeviceContext* Gdi_Context(HDC dc) {
    return (Gdi_IsLive(dc) && dc->magic == kDeviceContextMagic) ? dc : nullptr;
}

HDC Gdi_CreateSurfaceDC(const GdiSurface& surface) {
    if (!SurfaceUsable(surface)) return nullptr;
    return NewContext(surface, false);
}

BOOL Gdi_DeleteSurfaceDC(HDC dc) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c || c->memory) return FALSE;
    FreeContext(c);
    return TRUE;
}

HDC CreateCompatibleDC(HDC dc) {
    if (dc && !Gdi_Context(dc)) return nullptr;
    HBITMAP start = Gdi_DefaultBitmap();
    DeviceContext* c = NewContext(start->pixels, true);
    if (c) c->bitmap = start;
    return c;
}

BOOL DeleteDC(HDC dc) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c || !c->memory) return FALSE;
    FreeContext(c);
    return TRUE;
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    ++Gdi_CallCounts().objects_selected;
    DeviceContext* c = Gdi_Context(dc);
    object = Gdi_Object(object);
    if (!c || !object || object->delete_pending) return nullptr;
    HGDIOBJ* slot = nullptr;
    switch (object->kind) {
        case GdiKind::kBrush:
            slot = &c->brush;
            break;
        case GdiKind::kPen:
            slot = &c->pen;
            break;
        case GdiKind::kFont:
            slot = &c->font;
            break;
        case GdiKind::kBitmap:
            if (!c->memory) return nullptr;
            if (object == c->bitmap) return object;
            // A bitmap is drawn on through one memory context at a time.
            if (!object->stock && object->selections > 0) return nullptr;
            slot = &c->bitmap;
            c->pixels = object->pixels;
            break;
        case GdiKind::kNone:
            return nullptr;
    }
    HGDIOBJ previous = *slot;
    if (previous == object) return previous;
    Gdi_Retain(object);
    *slot = object;
    // The previous object may be freed here, so the caller gets a handle it must not use when
    // it had already deleted it.
    Gdi_Drop(previous);
    return previous;
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
    ++Gdi_CallCounts().text_colours_set;
    DeviceContext* c = Gdi_Context(dc);
    if (!c || colour == CLR_INVALID) return CLR_INVALID;
    const COLORREF previous = c->text_colour;
    c->text_colour = colour & 0xFFFFFF;
    return previous;
}

COLORREF SetBkColor(HDC dc, COLORREF colour) {
    ++Gdi_CallCounts().back_colours_set;
    DeviceContext* c = Gdi_Context(dc);
    if (!c || colour == CLR_INVALID) return CLR_INVALID;
    const COLORREF previous = c->bk_colour;
    c->bk_colour = colour & 0xFFFFFF;
    return previous;
}

int SetBkMode(HDC dc, int mode) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int previous = c->bk_mode;
    c->bk_mode = mode;
    return previous;
}

UINT SetTextAlign(HDC dc, UINT align) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c) return GDI_ERROR;
    const UINT previous = c->text_align;
    c->text_align = align & (TA_UPDATECP | TA_CENTER | TA_BASELINE);
    return previous;
}

int SetROP2(HDC dc, int rop) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c || rop < R2_BLACK || rop > R2_WHITE) return 0;
    const int previous = c->rop2;
    c->rop2 = rop;
    return previous;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c) return FALSE;
    if (previous) *previous = c->position;
    c->position = POINT{x, y};
    return TRUE;
}

BOOL GetCurrentPositionEx(HDC dc, POINT* position) {
    DeviceContext* c = Gdi_Context(dc);
    if (!c || !position) return FALSE;
    *position = c->position;
    return TRUE;
}
