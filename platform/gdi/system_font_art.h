// How the system font's glyphs are written down: rows of '#' (ink) and '.' (paper), eight
// columns at most, from a given top row of the 16-row cell; accented letters are a base glyph
// with an accent laid over it. Checked when compiled.
#pragma once
#include <cstdint>

struct GlyphArt {
    uint8_t code;
    int8_t top_row;    // cell row of the first line of `rows`
    const char* rows;  // lines separated by '\n'; a leading '\n' is skipped
};

enum class Accent : uint8_t {
    kGrave,
    kAcute,
    kCircumflex,
    kTilde,
    kDiaeresis,
    kRing,
    kCaron,
    kCedilla,
    kCount
};

struct ComposedGlyph {
    uint8_t code;
    uint8_t base;  // a code with art of its own
    Accent accent;
    int8_t accent_row;  // cell row of the accent's first line
};

struct FontArt {
    const GlyphArt* glyphs;
    int count;
};

// The art of each part of the font.
FontArt SystemFont_AsciiArt();
FontArt SystemFont_ExtraArt();           // 0x80..0xFF, besides the composed letters
const GlyphArt* SystemFont_AccentArt();  // indexed by Accent; the codes are unused
const ComposedGlyph* SystemFont_Composed(int* count);
// The dotless i that carries the accents of ì í î ï.
constexpr uint8_t kDotlessI = 0x01;

// Number of lines of one piece of art, or -1 when a line is too long or holds another character.
constexpr int GlyphArt_Lines(const char* rows) {
    const char* p = rows;
    if (*p == '\n') ++p;
    int lines = 0, width = 0;
    bool open = false;
    for (; *p; ++p) {
        if (*p == '\n') {
            ++lines;
            width = 0;
            open = false;
            continue;
        }
        if (*p != '#' && *p != '.') return -1;
        if (++width > 8) return -1;
        open = true;
    }
    return lines + (open ? 1 : 0);
}

template <int N>
constexpr bool GlyphArt_Valid(const GlyphArt (&art)[N]) {
    for (const GlyphArt& g : art) {
        const int lines = GlyphArt_Lines(g.rows);
        if (lines < 0 || g.top_row < 0 || g.top_row + lines > 16) return false;
    }
    return true;
}
