// Writes a picture of the system font for a person to judge: every code in a 16 × 16 table at
// 1× (controls and codes without a glyph show the box), sample lines, and the same at 2×.
// Usage: gdi_font_sample OUT.png [ZOOM.png]  (ZOOM: the table at 3×, the lines at 2×)
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "platform/gdi/gdi.h"
#include "platform/host/png_writer.h"

namespace {

void Line(HDC dc, int x, int y, const char* text) {
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

void Sheet(HDC dc, int x0, int y0) {
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkColor(dc, RGB(0, 0, 0));
    for (int row = 0; row < 16; ++row) {
        for (int col = 0; col < 16; ++col) {
            const char c = static_cast<char>(row * 16 + col);
            TextOutA(dc, x0 + col * 12, y0 + row * 18, &c, 1);
        }
    }
    const char* lines[] = {
        "DX 9 - FPS: 1234",
        "SCORE 1700",
        "1 Bonus  0",
        "2 drunter1",
        "2 Kopf   0",
        "--> -1",
        "--> 37",
        "Xolm - DX 9 Jump\xB4n Run",
        "The quick brown fox jumps over the lazy dog.",
        "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG!",
        "0123456789 ()[]{}<> +-*/=%&@#$^~_|\\'\"`,.;:?",
        "\xC0\xC1\xC2\xC3\xC4\xC5\xC6\xC7\xC8\xC9\xCA\xCB\xCC\xCD\xCE\xCF"
        "\xD0\xD1\xD2\xD3\xD4\xD5\xD6\xD7\xD8\xD9\xDA\xDB\xDC\xDD\xDE\xDF",
        "\xE0\xE1\xE2\xE3\xE4\xE5\xE6\xE7\xE8\xE9\xEA\xEB\xEC\xED\xEE\xEF"
        "\xF0\xF1\xF2\xF3\xF4\xF5\xF6\xF7\xF8\xF9\xFA\xFB\xFC\xFD\xFE\xFF",
        "\xA1\xA2\xA3\xA4\xA5\xA6\xA7\xA8\xA9\xAA\xAB\xAC\xAD\xAE\xAF"
        "\xB0\xB1\xB2\xB3\xB4\xB5\xB6\xB7\xB8\xB9\xBA\xBB\xBC\xBD\xBE\xBF",
        "\x80\x82\x83\x84\x85\x86\x87\x88\x89\x8A\x8B\x8C\x8E\x91\x92\x93\x94\x95\x96\x97\x98"
        "\x99\x9A\x9B\x9C\x9E\x9F",
        "Gr\xFC\xDF"
        "e aus K\xF6ln: \xC4rger \xFC"
        "ber \xD6l, Fa\xE7"
        "ade, ni\xF1o, \xE9t\xE9",
    };
    int y = y0 + 16 * 18 + 8;
    for (const char* l : lines) {
        Line(dc, x0, y, l);
        y += 20;
    }
}

// The synthesized styles, a larger size and turned text.
void Styles(HDC dc, int x, int y) {
    struct Style {
        LONG height, weight, escapement;
        BYTE italic, underline, strikeout;
        const char* text;
    } styles[] = {
        {16, FW_BOLD, 0, 0, 0, 0, "Bold: SCORE 1700"},
        {16, FW_NORMAL, 0, 1, 0, 0, "Italic: Jump\xB4n Run"},
        {16, FW_NORMAL, 0, 0, 1, 1, "Underline and strike-out"},
        {32, FW_NORMAL, 0, 0, 0, 0, "Twice: 2 drunter1"},
    };
    for (const Style& st : styles) {
        LOGFONTA lf{};
        lf.lfHeight = st.height;
        lf.lfWeight = st.weight;
        lf.lfEscapement = st.escapement;
        lf.lfItalic = st.italic;
        lf.lfUnderline = st.underline;
        lf.lfStrikeOut = st.strikeout;
        HFONT f = CreateFontIndirectA(&lf);
        HGDIOBJ old = SelectObject(dc, f);
        Line(dc, x, y, st.text);
        SelectObject(dc, old);
        DeleteObject(f);
        y += st.height + 8;
    }
    for (LONG angle : {900, 300, 1800, 2700}) {
        LOGFONTA lf{};
        lf.lfEscapement = angle;
        HFONT f = CreateFontIndirectA(&lf);
        HGDIOBJ old = SelectObject(dc, f);
        Line(dc, 300 + angle / 10, 860, "Turned text");
        SelectObject(dc, old);
        DeleteObject(f);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s OUT.png [ZOOM.png]\n", argv[0]);
        return 2;
    }
    const int w = 1200, h = 900;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h, 0xFF303030u);
    GdiSurface s{pixels.data(), w * 4, w, h, GdiPixelFormat::kX8R8G8B8, false};
    HDC dc = Gdi_CreateSurfaceDC(s);
    Sheet(dc, 8, 8);
    // The same at twice the size, through a stretch of the 1× picture.
    StretchBlt(dc, 400, 8, 380 * 2, 300 * 2, dc, 8, 8, 380, 300, SRCCOPY);
    Styles(dc, 8, 650);
    std::string error;
    HostFrame frame{pixels.data(), w, h, w * 4, HostPixelFormat::kX8R8G8B8};
    bool ok = Host_WritePng(argv[1], frame, &error);
    // The zoom: the table at 3×, then the lines below it at 2×, stacked.
    if (ok && argc == 3) {
        const int zw = 800, zh = 900 + 640;
        std::vector<uint32_t> zoom(static_cast<size_t>(zw) * zh, 0);
        GdiSurface zs{zoom.data(), zw * 4, zw, zh, GdiPixelFormat::kX8R8G8B8, false};
        HDC zdc = Gdi_CreateSurfaceDC(zs);
        StretchBlt(zdc, 0, 0, 600, 900, dc, 0, 0, 200, 300, SRCCOPY);
        StretchBlt(zdc, 0, 900, 800, 640, dc, 0, 296, 400, 320, SRCCOPY);
        Gdi_DeleteSurfaceDC(zdc);
        ok = Host_WritePng(
            argv[2], HostFrame{zoom.data(), zw, zh, zw * 4, HostPixelFormat::kX8R8G8B8}, &error);
    }
    Gdi_DeleteSurfaceDC(dc);
    if (!ok) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    return 0;
}
