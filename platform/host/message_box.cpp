// Message boxes: an SDL box on a desktop, a line on standard error without one.
#include <SDL.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "platform/host/host.h"

std::string Host_Utf8FromCp1252(const char* text) {
    // 0x80..0x9F differ from Latin-1; the rest of the upper half maps to U+00A0..U+00FF.
    static const uint16_t kHigh[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};
    std::string out;
    if (!text) return out;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        uint32_t cp = *p;
        if (cp >= 0x80 && cp < 0xA0) cp = kHigh[cp - 0x80];
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return out;
}

int Host_MessageBox(uint32_t flags, const char* caption, const char* text) {
    if (!caption) caption = "";
    if (!text) text = "";
    if (Host_TraceEnabled()) {
        std::string line = "message " + std::to_string(flags) + " " + caption + "\t" + text;
        Host_Trace(line.data(), line.size());
    }
    if (Host_HasDesktop()) {
        Uint32 kind = SDL_MESSAGEBOX_INFORMATION;
        if (flags & 0x10)
            kind = SDL_MESSAGEBOX_ERROR;
        else if (flags & 0x30)
            kind = SDL_MESSAGEBOX_WARNING;
        std::string c = Host_Utf8FromCp1252(caption);
        std::string t = Host_Utf8FromCp1252(text);
        if (SDL_ShowSimpleMessageBox(kind, c.c_str(), t.c_str(), nullptr) == 0) return 1;
    }
    std::string c = Host_Utf8FromCp1252(caption);
    std::string t = Host_Utf8FromCp1252(text);
    std::fprintf(stderr, "%s: %s\n", c.c_str(), t.c_str());
    return 1;
}
