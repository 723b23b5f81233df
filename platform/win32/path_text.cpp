// Windows-1252 names against UTF-8 host names; case-insensitive comparison and wildcards.
#include "platform/win32/path_text.h"

#include <cstdint>

namespace {

// 0x80..0x9F differ from Latin-1; unassigned bytes keep their own (C1) code point.
constexpr uint16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

int ByteOfCodePoint(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == cp) return 0x80 + i;
    }
    return -1;
}

}  // namespace

std::string HostPath_Utf8FromCp1252(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char c : text) {
        uint32_t cp = c < 0x80 || c >= 0xA0 ? c : kHigh[c - 0x80];
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

bool HostPath_Cp1252FromUtf8(std::string_view utf8, std::string* out) {
    out->clear();
    size_t i = 0;
    while (i < utf8.size()) {
        auto c = static_cast<unsigned char>(utf8[i]);
        uint32_t cp;
        size_t extra;
        if (c < 0x80) {
            cp = c;
            extra = 0;
        } else if ((c & 0xE0) == 0xC0) {
            cp = c & 0x1F;
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            cp = c & 0x0F;
            extra = 2;
        } else {
            return false;  // four-byte sequences lie outside the code page anyway
        }
        if (i + extra >= utf8.size()) return false;  // cut off in the middle
        for (size_t k = 1; k <= extra; ++k) {
            auto t = static_cast<unsigned char>(utf8[i + k]);
            if ((t & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (t & 0x3F);
        }
        // Overlong forms would give one byte two spellings.
        if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800)) return false;
        int b = ByteOfCodePoint(cp);
        if (b < 0) return false;
        *out += static_cast<char>(b);
        i += extra + 1;
    }
    return true;
}

unsigned char HostPath_FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    switch (c) {
        case 0x8A:
            return 0x9A;  // Š
        case 0x8C:
            return 0x9C;  // Œ
        case 0x8E:
            return 0x9E;  // Ž
        case 0x9F:
            return 0xFF;  // Ÿ
        default:
            return c;
    }
}

bool HostPath_EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (HostPath_FoldCase(static_cast<unsigned char>(a[i])) !=
            HostPath_FoldCase(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

bool HostPath_WildcardMatch(std::string_view pattern, std::string_view name) {
    // Greedy with one back-track point: linear in practice, never exponential.
    size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            mark = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' ||
                    HostPath_FoldCase(static_cast<unsigned char>(pattern[p])) ==
                        HostPath_FoldCase(static_cast<unsigned char>(name[n])))) {
            ++p;
            ++n;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            n = ++mark;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}
