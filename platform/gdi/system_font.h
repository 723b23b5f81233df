// The system font: the stand-in's own 8 × 16 bitmap font for the Windows-1252 codes, the face of
// every stock font and of fonts made with CreateFontIndirect.
#pragma once
#include <cstdint>

constexpr int kSystemFontCellWidth = 8;
constexpr int kSystemFontCellHeight = 16;
constexpr int kSystemFontAscent = 13;  // rows 0..12 stand on the baseline
constexpr int kSystemFontDescent = kSystemFontCellHeight - kSystemFontAscent;
constexpr uint8_t kSystemFontDefaultChar = 0x7F;  // drawn for codes without a glyph

// The 16 rows of a code's glyph, top row first, bit 7 the leftmost column. Codes without a glyph
// of their own give the default glyph (a hollow box).
const uint8_t* SystemFont_Glyph(uint8_t code);
// Whether the code has a glyph of its own.
bool SystemFont_HasGlyph(uint8_t code);
