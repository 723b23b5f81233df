// How a font draws the system font's glyphs: its size as a whole multiple of the 8 × 16 cell,
// the synthesized styles (bold, italic, underline, strike-out) and the angle of its text line,
// and the ink of a text at any point of its own text space.
#pragma once
#include <cstdint>

#include "platform/gdi/gdi_internal.h"
#include "platform/gdi/system_font.h"

struct FontFace {
    int32_t scale;  // pixels per glyph pixel
    bool bold;
    bool italic;
    bool underline;
    bool strikeout;
    int32_t escapement;  // tenths of a degree counter-clockwise, 0..3599
    int32_t advance;     // pixels per character
    int32_t height;      // pixels per cell
    int32_t ascent;
    int32_t overhang;  // italic ink beyond the advance
};

FontFace FontFace_Of(HFONT font);

// Ink of a text at text-space pixel (u, v): u along the line from the start of the first cell,
// v down from the top of the cells.
class TextInk {
  public:
    TextInk(const FontFace& face, const char* text, int32_t length)
        : face_(face), text_(text), length_(length) {}

    bool At(int64_t u, int64_t v) const {
        if (v < 0 || v >= face_.height) return false;
        const int32_t row = static_cast<int32_t>(v / face_.scale);
        u -= static_cast<int64_t>(Slant(row)) * face_.scale;
        if (u < 0) return false;
        const int64_t cell = u / face_.advance;
        if (cell >= length_) return false;
        const int32_t column = static_cast<int32_t>((u % face_.advance) / face_.scale);
        return (RowMask(static_cast<uint8_t>(text_[cell]), row) << column) & 0x80;
    }

    // The glyph row as drawn, styles included; bit 7 is the leftmost column.
    uint32_t RowMask(uint8_t code, int32_t row) const {
        return Styled(SystemFont_Glyph(code)[row], row);
    }

    // A row of a glyph (SystemFont_Glyph) with the styles applied.
    uint32_t Styled(uint32_t mask, int32_t row) const {
        if (face_.bold) mask |= mask >> 1;
        if (face_.underline && row == kSystemFontAscent + 1) mask = 0xFF;
        if (face_.strikeout && row == kSystemFontAscent / 2 + 2) mask = 0xFF;
        return mask;
    }

    // Italic rows lean right above the baseline and left below it.
    int32_t Slant(int32_t row) const {
        if (!face_.italic) return 0;
        const int32_t above = kSystemFontAscent - 1 - row;
        return above >= 0 ? above / 4 : -((3 - above) / 4);
    }

  private:
    const FontFace& face_;
    const char* text_;
    int32_t length_;
};
