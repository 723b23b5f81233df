// The system font's coverage and design rules: every printable Windows-1252 code has a glyph of
// its own, glyphs are told apart, accents sit above their letters, and the ink stays in the cell.
#include <map>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gdi/system_font.h"

namespace {

std::string Rows(uint8_t code) {
    const uint8_t* r = SystemFont_Glyph(code);
    return std::string(reinterpret_cast<const char*>(r), kSystemFontCellHeight);
}

int Ink(uint8_t code) {
    int n = 0;
    for (char row : Rows(code)) n += __builtin_popcount(static_cast<uint8_t>(row));
    return n;
}

TEST(SystemFontTest, EveryPrintableCodeHasAGlyphOfItsOwn) {
    for (int c = 0x20; c <= 0x7E; ++c) EXPECT_TRUE(SystemFont_HasGlyph(c)) << std::hex << c;
    for (int c = 0xA0; c <= 0xFF; ++c) EXPECT_TRUE(SystemFont_HasGlyph(c)) << std::hex << c;
    EXPECT_TRUE(SystemFont_HasGlyph(0xB4));
    EXPECT_TRUE(SystemFont_HasGlyph(0x80));  // the euro sign
    for (int c = 0x00; c < 0x20; ++c) EXPECT_FALSE(SystemFont_HasGlyph(c)) << std::hex << c;
    for (int c : {0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D}) EXPECT_FALSE(SystemFont_HasGlyph(c));
}

TEST(SystemFontTest, CodesWithoutAGlyphDrawTheBox) {
    EXPECT_EQ(Rows(0x01), Rows(kSystemFontDefaultChar));
    EXPECT_EQ(Rows(0x90), Rows(kSystemFontDefaultChar));
    EXPECT_GT(Ink(kSystemFontDefaultChar), 20);
}

TEST(SystemFontTest, OnlyTheSpacesAreBlankAndEveryOtherGlyphHasInk) {
    for (int c = 0x21; c <= 0xFF; ++c) {
        if (!SystemFont_HasGlyph(c) || c == 0xA0) continue;
        EXPECT_GT(Ink(c), 0) << std::hex << c;
    }
    EXPECT_EQ(Ink(' '), 0);
    EXPECT_EQ(Ink(0xA0), 0);
}

TEST(SystemFontTest, GlyphsAreToldApartExceptKnownTwins) {
    // Codes that mean the same sign look the same.
    const std::set<std::pair<int, int>> twins = {
        {0x20, 0xA0},  // space, no-break space
        {0x2C, 0x82},  // comma, low quotation mark
        {0x2D, 0xAD},  // hyphen, soft hyphen
        {0x5E, 0x88},  // circumflex, modifier circumflex
        {0x27, 0x92},  // apostrophe, right single quotation mark
    };
    std::map<std::string, int> seen;
    for (int c = 0x20; c <= 0xFF; ++c) {
        if (!SystemFont_HasGlyph(c)) continue;
        auto [it, fresh] = seen.emplace(Rows(c), c);
        if (!fresh) {
            EXPECT_TRUE(twins.count({it->second, c})) << std::hex << it->second << " and " << c;
        }
    }
}

TEST(SystemFontTest, CapitalsAndDigitsStandOnTheBaselineAndSmallLettersDescend) {
    auto rows_with_ink = [](uint8_t c) {
        std::vector<int> rows;
        const std::string r = Rows(c);
        for (int i = 0; i < kSystemFontCellHeight; ++i) {
            if (r[i]) rows.push_back(i);
        }
        return rows;
    };
    for (int c = 'A'; c <= 'Z'; ++c) {
        const std::vector<int> r = rows_with_ink(c);
        EXPECT_EQ(r.front(), 3) << static_cast<char>(c);
        EXPECT_EQ(r.back(), c == 'Q' ? 13 : 12) << static_cast<char>(c);
    }
    for (int c = '0'; c <= '9'; ++c) EXPECT_EQ(rows_with_ink(c).back(), 12);
    for (char c : std::string("gjpqy")) EXPECT_GT(rows_with_ink(c).back(), 12) << c;
    for (char c : std::string("acemnorsuvwxz")) {
        EXPECT_EQ(rows_with_ink(c).front(), 6) << c;
        EXPECT_EQ(rows_with_ink(c).back(), 12) << c;
    }
    // Row 15 is only for descenders, so stacked lines 16 pixels apart stay apart.
    for (int c = 0x20; c <= 0xFF; ++c) {
        if (Rows(c)[15] == 0) continue;
        EXPECT_TRUE(std::string("gjpqy\xFE\xFD\xFF").find(static_cast<char>(c)) !=
                    std::string::npos)
            << std::hex << c;
    }
}

TEST(SystemFontTest, AccentedLettersAreTheirBaseLetterWithAnAccentAbove) {
    struct Case {
        uint8_t accented, base;
        int accent_bottom;  // last row the accent may use
    } cases[] = {{0xC4, 'A', 2}, {0xC9, 'E', 2}, {0xD1, 'N', 2}, {0xD6, 'O', 2}, {0xDC, 'U', 2},
                 {0xE4, 'a', 5}, {0xE9, 'e', 5}, {0xF1, 'n', 5}, {0xF6, 'o', 5}, {0xFC, 'u', 5},
                 {0xE5, 'a', 5}, {0xC5, 'A', 2}, {0x8A, 'S', 2}, {0x9E, 'z', 5}};
    for (const Case& c : cases) {
        const std::string a = Rows(c.accented), b = Rows(c.base);
        EXPECT_EQ(a.substr(c.accent_bottom + 1), b.substr(c.accent_bottom + 1))
            << std::hex << int{c.accented};
        EXPECT_NE(a.substr(0, c.accent_bottom + 1), b.substr(0, c.accent_bottom + 1));
    }
    // The cedilla hangs below.
    EXPECT_EQ(Rows(0xC7).substr(0, 13), Rows('C').substr(0, 13));
    EXPECT_NE(Rows(0xC7).substr(13), Rows('C').substr(13));
    // The accented small i has no dot under its accent.
    EXPECT_NE(Rows(0xED).substr(3, 2), Rows('i').substr(3, 2));
}

}  // namespace
