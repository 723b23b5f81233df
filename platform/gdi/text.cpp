// Text output in the system font: TextOutA with the context's alignment, colours and background
// mode (the current position with TA_UPDATECP), text extents and metrics, and the trace line of
// every text drawn on a screen.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/gdi/call_counts.h"
#include "platform/gdi/font_face.h"
#include "platform/host/host.h"

namespace {

struct Box {
    int64_t left, top, right, bottom;  // right and bottom exclusive
};

Box Clip(const GdiSurface& s, Box b) {
    if (b.left < 0) b.left = 0;
    if (b.top < 0) b.top = 0;
    if (b.right > s.width) b.right = s.width;
    if (b.bottom > s.height) b.bottom = s.height;
    return b;
}

// The sixteen ways four pixels of a glyph row can be ink or background, on an opaque
// background: a whole row of a 32-bit surface is then two copies of four pixels, picked by the
// row's two halves.
struct HalfRows {
    uint32_t pixels[16][4];
    HalfRows(uint32_t fg, uint32_t bg) {
        for (uint32_t half = 0; half < 16; ++half)
            for (uint32_t i = 0; i < 4; ++i) pixels[half][i] = (half & (8u >> i)) ? fg : bg;
    }
    void Row(uint32_t* p, uint32_t mask) const {
        std::memcpy(p, pixels[(mask >> 4) & 15], sizeof(pixels[0]));
        std::memcpy(p + 4, pixels[mask & 15], sizeof(pixels[0]));
    }
};

// One glyph row of a 32-bit surface, all eight pixels inside, on a transparent background.
inline void InkRow32(uint32_t* p, uint32_t mask, uint32_t fg) {
    for (int i = 0; i < kSystemFontCellWidth; ++i)
        if ((mask << i) & 0x80) p[i] = fg;
}

// The pixels of one cell inside `box`, row by row.
void DrawCell(const GdiSurface& s, const TextInk& ink, uint8_t code, int64_t cell_x, int64_t y,
              const Box& box, uint32_t fg, const uint32_t* bg) {
    const uint8_t* glyph = SystemFont_Glyph(code);
    const bool wide = Gdi_BytesPerPixel(s.format) == 4;
    const int64_t from = cell_x < box.left ? box.left : cell_x;
    const int64_t to =
        cell_x + kSystemFontCellWidth > box.right ? box.right : cell_x + kSystemFontCellWidth;
    const bool whole = wide && from == cell_x && to == cell_x + kSystemFontCellWidth;
    for (int64_t py = box.top; py < box.bottom; ++py) {
        const int32_t row = static_cast<int32_t>(py - y);
        const uint32_t mask = ink.Styled(glyph[row], row);
        uint32_t* row32 = reinterpret_cast<uint32_t*>(Gdi_Row(s, static_cast<int32_t>(py)));
        if (whole && !bg) {
            InkRow32(row32 + cell_x, mask, fg);
            continue;
        }
        for (int64_t px = from; px < to; ++px) {
            const bool on = (mask << (px - cell_x)) & 0x80;
            if (!on && !bg) continue;
            const uint32_t v = on ? fg : *bg;
            if (wide) {
                row32[px] = v;
            } else {
                Gdi_WritePixel(s, static_cast<int32_t>(px), static_cast<int32_t>(py), v);
            }
        }
    }
}

// Upright text at scale 1 without slant. The cells wholly inside a 32-bit surface, on an opaque
// background (every line the game draws), go row by row across the text, a glyph row at a time;
// the others glyph by glyph.
void DrawPlain(const GdiSurface& s, const TextInk& ink, const char* text, int32_t length, int64_t x,
               int64_t y, uint32_t fg, const uint32_t* bg) {
    const Box box =
        Clip(s, Box{x, y, x + int64_t{length} * kSystemFontCellWidth, y + kSystemFontCellHeight});
    if (box.left >= box.right || box.top >= box.bottom) return;
    const int64_t first_cell = (box.left - x) / kSystemFontCellWidth;
    const int64_t last_cell = (box.right - 1 - x) / kSystemFontCellWidth;
    int64_t whole_first = first_cell, whole_last = last_cell;
    if (x + first_cell * kSystemFontCellWidth < box.left) ++whole_first;
    if (x + (last_cell + 1) * kSystemFontCellWidth > box.right) --whole_last;
    if (Gdi_BytesPerPixel(s.format) != 4 || !bg) whole_last = whole_first - 1;
    for (int64_t cell = first_cell; cell < whole_first; ++cell)
        DrawCell(s, ink, static_cast<uint8_t>(text[cell]), x + cell * kSystemFontCellWidth, y, box,
                 fg, bg);
    if (whole_first <= whole_last) {
        const HalfRows halves(fg, *bg);
        constexpr int64_t kRun = 64;  // glyphs looked up at a time
        for (int64_t run = whole_first; run <= whole_last; run += kRun) {
            const int64_t n = whole_last - run + 1 < kRun ? whole_last - run + 1 : kRun;
            const uint8_t* glyphs[kRun];
            for (int64_t i = 0; i < n; ++i)
                glyphs[i] = SystemFont_Glyph(static_cast<uint8_t>(text[run + i]));
            for (int64_t py = box.top; py < box.bottom; ++py) {
                const int32_t row = static_cast<int32_t>(py - y);
                uint32_t* p = reinterpret_cast<uint32_t*>(Gdi_Row(s, static_cast<int32_t>(py))) +
                              x + run * kSystemFontCellWidth;
                for (int64_t i = 0; i < n; ++i, p += kSystemFontCellWidth)
                    halves.Row(p, ink.Styled(glyphs[i][row], row));
            }
        }
    }
    for (int64_t cell = std::max(whole_last + 1, whole_first); cell <= last_cell; ++cell)
        DrawCell(s, ink, static_cast<uint8_t>(text[cell]), x + cell * kSystemFontCellWidth, y, box,
                 fg, bg);
}

// Any face and angle: every pixel of the text's bounding box is mapped back into text space.
void DrawGeneral(const GdiSurface& s, const FontFace& face, const TextInk& ink, int64_t width,
                 double ox, double oy, double c, double sn, uint32_t fg, const uint32_t* bg) {
    const double w = static_cast<double>(width + face.overhang);
    const double h = face.height;
    const double us[4] = {0, w, 0, w}, vs[4] = {0, 0, h, h};
    double min_x = 1e300, max_x = -1e300, min_y = 1e300, max_y = -1e300;
    for (int i = 0; i < 4; ++i) {
        const double px = ox + us[i] * c + vs[i] * sn;
        const double py = oy - us[i] * sn + vs[i] * c;
        min_x = std::fmin(min_x, px);
        max_x = std::fmax(max_x, px);
        min_y = std::fmin(min_y, py);
        max_y = std::fmax(max_y, py);
    }
    // Text far outside the pixels draws nothing.
    if (max_x < 0 || max_y < 0 || min_x > s.width || min_y > s.height) return;
    const Box box = Clip(s, Box{static_cast<int64_t>(std::floor(min_x)) - 1,
                                static_cast<int64_t>(std::floor(min_y)) - 1,
                                static_cast<int64_t>(std::ceil(max_x)) + 1,
                                static_cast<int64_t>(std::ceil(max_y)) + 1});
    for (int64_t py = box.top; py < box.bottom; ++py) {
        for (int64_t px = box.left; px < box.right; ++px) {
            const double dx = static_cast<double>(px) + 0.5 - ox;
            const double dy = static_cast<double>(py) + 0.5 - oy;
            const double u = std::floor(dx * c - dy * sn);
            const double v = std::floor(dx * sn + dy * c);
            if (v < 0 || v >= h || u < -face.scale || u >= w) continue;
            const int64_t iu = static_cast<int64_t>(u), iv = static_cast<int64_t>(v);
            if (ink.At(iu, iv)) {
                Gdi_WritePixel(s, static_cast<int32_t>(px), static_cast<int32_t>(py), fg);
            } else if (bg && iu >= 0 && iu < width) {
                Gdi_WritePixel(s, static_cast<int32_t>(px), static_cast<int32_t>(py), *bg);
            }
        }
    }
}

// Exact directions for the right angles, so upright and quarter-turned text has no rounding.
void Direction(int32_t escapement, double* c, double* s) {
    switch (escapement) {
        case 0:
            *c = 1, *s = 0;
            return;
        case 900:
            *c = 0, *s = 1;
            return;
        case 1800:
            *c = -1, *s = 0;
            return;
        case 2700:
            *c = 0, *s = -1;
            return;
        default: {
            const double a = escapement * (3.14159265358979323846 / 1800.0);
            *c = std::cos(a);
            *s = std::sin(a);
        }
    }
}

void TraceText(int64_t x, int64_t y, const char* text, int32_t length) {
    if (!Host_TraceEnabled()) return;
    char head[64];
    const int n = std::snprintf(head, sizeof(head), "text %lld %lld ", static_cast<long long>(x),
                                static_cast<long long>(y));
    std::string line(head, static_cast<size_t>(n));
    line.append(text, static_cast<size_t>(length));
    Host_Trace(line.data(), line.size());
}

int64_t Round(double v) {
    return static_cast<int64_t>(std::llround(v));
}

}  // namespace

BOOL TextOutA(HDC dc, int x, int y, const char* text, int length) {
    DeviceContext* ctx = Gdi_Context(dc);
    if (!ctx || length < 0 || (length > 0 && !text)) return FALSE;
    if (length == 0) return TRUE;
    ++Gdi_CallCounts().texts_drawn;
    const FontFace face = FontFace_Of(ctx->font);
    const TextInk ink(face, text, length);
    const int64_t width = int64_t{length} * face.advance;
    double c, sn;
    Direction(face.escapement, &c, &sn);

    // The reference point, and the text's top-left in text space relative to it.
    const bool update = (ctx->text_align & TA_UPDATECP) != 0;
    const int64_t rx = update ? ctx->position.x : x;
    const int64_t ry = update ? ctx->position.y : y;
    int64_t du = 0, dv = 0;
    const UINT horizontal = ctx->text_align & TA_CENTER;
    if (horizontal == TA_RIGHT) du = -width;
    if (horizontal == TA_CENTER) du = -width / 2;
    const UINT vertical = ctx->text_align & TA_BASELINE;
    if (vertical == TA_BOTTOM) dv = -face.height;
    if (vertical == TA_BASELINE) dv = -face.ascent;
    const double ox = static_cast<double>(rx) + du * c + dv * sn;
    const double oy = static_cast<double>(ry) - du * sn + dv * c;

    const GdiSurface& s = ctx->pixels;
    const uint32_t fg = Gdi_PixelFromColour(s.format, ctx->text_colour);
    const uint32_t bg_pixel = Gdi_PixelFromColour(s.format, ctx->bk_colour);
    const uint32_t* bg = ctx->bk_mode == OPAQUE ? &bg_pixel : nullptr;
    if (face.scale == 1 && face.escapement == 0 && !face.italic) {
        DrawPlain(s, ink, text, length, Round(ox), Round(oy), fg, bg);
    } else {
        DrawGeneral(s, face, ink, width, ox, oy, c, sn, fg, bg);
    }
    if (s.is_screen) TraceText(Round(ox), Round(oy), text, length);

    if (update && horizontal != TA_CENTER) {
        const double along = horizontal == TA_RIGHT ? -static_cast<double>(width) : width;
        ctx->position.x = static_cast<LONG>(Round(static_cast<double>(rx) + along * c));
        ctx->position.y = static_cast<LONG>(Round(static_cast<double>(ry) - along * sn));
    }
    return TRUE;
}

BOOL GetTextExtentPoint32A(HDC dc, const char* text, int length, SIZE* size) {
    DeviceContext* ctx = Gdi_Context(dc);
    if (!ctx || !size || length < 0 || (length > 0 && !text)) return FALSE;
    const FontFace face = FontFace_Of(ctx->font);
    const int64_t width = int64_t{length} * face.advance;
    size->cx = width > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<LONG>(width);
    size->cy = face.height;
    return TRUE;
}

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) {
    DeviceContext* ctx = Gdi_Context(dc);
    if (!ctx || !metrics) return FALSE;
    const FontFace face = FontFace_Of(ctx->font);
    TEXTMETRICA m{};
    m.tmHeight = face.height;
    m.tmAscent = face.ascent;
    m.tmDescent = face.height - face.ascent;
    m.tmInternalLeading = 3 * face.scale;  // the accent rows above the capitals
    m.tmAveCharWidth = face.advance;
    m.tmMaxCharWidth = face.advance;
    m.tmWeight = face.bold ? FW_BOLD : FW_NORMAL;
    m.tmOverhang = face.overhang;
    m.tmDigitizedAspectX = 96;
    m.tmDigitizedAspectY = 96;
    m.tmFirstChar = 0x20;
    m.tmLastChar = 0xFF;
    m.tmDefaultChar = kSystemFontDefaultChar;
    m.tmBreakChar = 0x20;
    m.tmItalic = face.italic;
    m.tmUnderlined = face.underline;
    m.tmStruckOut = face.strikeout;
    m.tmPitchAndFamily = 0x30;  // modern, fixed pitch
    m.tmCharSet = 0;            // ANSI
    *metrics = m;
    return TRUE;
}
