// Images on a drawing context: bitmaps drawn at their own size or stretched, drawn through a
// memory device context, and a rectangle of the output grabbed into a new bitmap.
#include "runtime/screen/drawing_private.h"

namespace {

bool ImageSize(HBITMAP image, int32_t* w, int32_t* h) {
    BITMAP info{};
    if (Gdi_KindOf(image) != GdiKind::kBitmap || !GetObjectA(image, sizeof(info), &info)) {
        return false;
    }
    *w = info.bmWidth;
    *h = info.bmHeight;
    return true;
}

// Draws the bitmap through a memory device context selected with it.
int32_t Blit(HDC dc, HBITMAP image, int32_t x, int32_t y, int32_t w, int32_t h) {
    int32_t iw = 0, ih = 0;
    if (!ImageSize(image, &iw, &ih)) return 0;
    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return 0;
    HGDIOBJ previous = SelectObject(memory, image);
    BOOL ok = FALSE;
    if (previous) {
        ok = (w == iw && h == ih) ? BitBlt(dc, x, y, w, h, memory, 0, 0, SRCCOPY)
                                  : StretchBlt(dc, x, y, w, h, memory, 0, 0, iw, ih, SRCCOPY);
        SelectObject(memory, previous);
    }
    DeleteDC(memory);
    return ok ? 1 : 0;
}

}  // namespace

int32_t DrawingOp_DrawImage(DrawingContext* c, HBITMAP image, int32_t x, int32_t y) {
    int32_t w = 0, h = 0;
    if (!ImageSize(image, &w, &h)) return 0;
    return c->operations.drawImageSized(c, image, x, y, w, h);
}

int32_t DrawingOp_DrawImageSized(DrawingContext* c, HBITMAP image, int32_t x, int32_t y, int32_t w,
                                 int32_t h) {
    HDC dc = Drawing_TakeDC(c);
    return dc ? Blit(dc, image, x, y, w, h) : 0;
}

int32_t DrawingOp_DrawImageThroughMemory(DrawingContext* c, HBITMAP image, int32_t x, int32_t y) {
    HDC dc = Drawing_TakeDC(c);
    int32_t w = 0, h = 0;
    if (!dc || !ImageSize(image, &w, &h)) return 0;
    return Blit(dc, image, x, y, w, h);
}

HBITMAP DrawingOp_GrabImage(DrawingContext* c, int32_t x, int32_t y, int32_t w, int32_t h) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc || w <= 0 || h <= 0) return nullptr;
    HBITMAP image = CreateCompatibleBitmap(dc, w, h);
    if (!image) return nullptr;
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ previous = memory ? SelectObject(memory, image) : nullptr;
    if (!previous) {
        if (memory) DeleteDC(memory);
        DeleteObject(image);
        return nullptr;
    }
    BitBlt(memory, 0, 0, w, h, dc, x, y, SRCCOPY);
    SelectObject(memory, previous);
    DeleteDC(memory);
    return image;
}
