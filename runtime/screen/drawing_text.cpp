// Text on a drawing context: the font, text at the current position (TA_UPDATECP), text turned
// by an angle, and text sizes.
#include <cmath>

#include "runtime/core/strings.h"
#include "runtime/screen/drawing_private.h"

void DrawingOp_Font(DrawingContext* c, intptr_t handle) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc) return;
    HFONT font = handle == kDrawingSystemFont ? GetStockObject(SYSTEM_FONT)
                                              : reinterpret_cast<HFONT>(handle);
    if (Gdi_KindOf(font) != GdiKind::kFont || !SelectObject(dc, font)) return;
    c->font = font;
    TEXTMETRICA metrics{};
    c->italicOverhang = GetTextMetricsA(dc, &metrics) ? metrics.tmOverhang : 0;
    if (c->rotatedFont) DeleteObject(c->rotatedFont);
    c->rotatedFont = nullptr;
}

int32_t DrawingOp_Text(DrawingContext* c, int32_t x, int32_t y, const char* text) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc) return x;
    MoveToEx(dc, x, y, nullptr);
    const int32_t length = String_Len(text);
    if (length > 0) TextOutA(dc, 0, 0, text, length);
    POINT after{x, y};
    MoveToEx(dc, 0, 0, &after);
    return after.x;
}

int32_t DrawingOp_RotatedText(DrawingContext* c, int32_t x, int32_t y, const char* text,
                              float angle) {
    HDC dc = Drawing_TakeDC(c);
    if (!dc) return x;
    float turned = std::fmod(angle, 360.0f);
    if (turned < 0) turned += 360.0f;
    if (!std::isfinite(turned)) turned = 0;
    if (!c->rotatedFont || c->rotationAngle != turned) {
        LOGFONTA description{};
        if (!GetObjectA(c->font ? c->font : GetStockObject(SYSTEM_FONT), sizeof(description),
                        &description)) {
            return x;
        }
        const LONG tenths = static_cast<LONG>(std::lrint(turned * 10.0f)) % 3600;
        description.lfEscapement = tenths;
        description.lfOrientation = tenths;
        HFONT font = CreateFontIndirectA(&description);
        if (!font) return x;
        if (c->rotatedFont) DeleteObject(c->rotatedFont);
        c->rotatedFont = font;
        c->rotationAngle = turned;
    }
    HGDIOBJ previous_font = SelectObject(dc, c->rotatedFont);
    const int previous_mode = SetBkMode(dc, TRANSPARENT);
    MoveToEx(dc, x, y, nullptr);
    const int32_t length = String_Len(text);
    if (length > 0) TextOutA(dc, 0, 0, text, length);
    POINT after{x, y};
    MoveToEx(dc, 0, 0, &after);
    if (previous_mode) SetBkMode(dc, previous_mode);
    if (previous_font) SelectObject(dc, previous_font);
    return after.x;
}

int32_t DrawingOp_TextHeight(DrawingContext* c, const char* text) {
    const int32_t length = String_Len(text);
    HDC dc = Drawing_TakeDC(c);
    if (!dc || length == 0) return 0;
    SIZE size{};
    return GetTextExtentPoint32A(dc, text, length, &size) ? size.cy : 0;
}

int32_t DrawingOp_TextWidth(DrawingContext* c, const char* text) {
    const int32_t length = String_Len(text);
    HDC dc = Drawing_TakeDC(c);
    if (!dc || length == 0) return 0;
    SIZE size{};
    return GetTextExtentPoint32A(dc, text, length, &size) ? size.cx + c->italicOverhang : 0;
}
