// Font faces: what a LOGFONTA asks of the system font, rounded to what the bitmap font can draw.
#include "platform/gdi/font_face.h"

#include <cstdlib>

namespace {

constexpr int32_t kMaxScale = 64;

}  // namespace

FontFace FontFace_Of(HFONT font) {
    const LOGFONTA& lf = Gdi_FontOf(font);
    // A positive height is the cell, a negative one the character above the baseline.
    int64_t cell = lf.lfHeight;
    if (cell < 0) cell = -cell * kSystemFontCellHeight / kSystemFontAscent;
    if (cell == 0) cell = kSystemFontCellHeight;
    int64_t scale = (cell + kSystemFontCellHeight / 2) / kSystemFontCellHeight;
    if (scale < 1) scale = 1;
    if (scale > kMaxScale) scale = kMaxScale;

    FontFace f{};
    f.scale = static_cast<int32_t>(scale);
    f.bold = lf.lfWeight >= 600;
    f.italic = lf.lfItalic != 0;
    f.underline = lf.lfUnderline != 0;
    f.strikeout = lf.lfStrikeOut != 0;
    f.escapement = lf.lfEscapement % 3600;
    if (f.escapement < 0) f.escapement += 3600;
    f.advance = kSystemFontCellWidth * f.scale;
    f.height = kSystemFontCellHeight * f.scale;
    f.ascent = kSystemFontAscent * f.scale;
    f.overhang = f.italic ? 3 * f.scale : 0;
    return f;
}
