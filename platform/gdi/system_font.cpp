// The system font's glyph table, built once from the art: each code's 16 rows as bit masks.
#include <cstring>

#include "platform/gdi/system_font.h"
#include "platform/gdi/system_font_art.h"

namespace {

struct GlyphTable {
    uint8_t rows[256][kSystemFontCellHeight];
    bool present[256];
};

// Lays the art over the rows (ink is added, paper leaves what is there).
void Paint(uint8_t* rows, int top_row, const char* art) {
    const char* p = art;
    if (*p == '\n') ++p;
    int row = top_row;
    int column = 0;
    for (; *p; ++p) {
        if (*p == '\n') {
            ++row;
            column = 0;
            continue;
        }
        if (*p == '#') rows[row] |= static_cast<uint8_t>(0x80u >> column);
        ++column;
    }
}

void AddArt(GlyphTable& t, FontArt art) {
    for (int i = 0; i < art.count; ++i) {
        const GlyphArt& g = art.glyphs[i];
        Paint(t.rows[g.code], g.top_row, g.rows);
        t.present[g.code] = true;
    }
}

GlyphTable Build() {
    GlyphTable t{};
    AddArt(t, SystemFont_AsciiArt());
    AddArt(t, SystemFont_ExtraArt());
    int count = 0;
    const ComposedGlyph* composed = SystemFont_Composed(&count);
    const GlyphArt* accents = SystemFont_AccentArt();
    for (int i = 0; i < count; ++i) {
        const ComposedGlyph& c = composed[i];
        std::memcpy(t.rows[c.code], t.rows[c.base], kSystemFontCellHeight);
        Paint(t.rows[c.code], c.accent_row, accents[static_cast<int>(c.accent)].rows);
        t.present[c.code] = true;
    }
    // Codes the font draws with the box are not its own glyphs, and neither is the helper
    // letter below the space.
    t.present[kSystemFontDefaultChar] = false;
    t.present[kDotlessI] = false;
    return t;
}

const GlyphTable& Table() {
    static const GlyphTable table = Build();
    return table;
}

}  // namespace

bool SystemFont_HasGlyph(uint8_t code) {
    return Table().present[code];
}

const uint8_t* SystemFont_Glyph(uint8_t code) {
    const GlyphTable& t = Table();
    return t.present[code] ? t.rows[code] : t.rows[kSystemFontDefaultChar];
}
