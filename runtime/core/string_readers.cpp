// Readers: texts to numbers.
#include <cmath>

#include "runtime/core/strings.h"

int64_t String_Val(const char* text) {
    if (!text) return 0;
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    // Leading blanks, then an optional sign.
    while (*s == ' ' || *s == '\t') ++s;
    bool negative = false;
    if (*s == '-') {
        negative = true;
        ++s;
    } else if (*s == '+') {
        ++s;
    }
    // Wrapping 64-bit accumulation.
    uint64_t value = 0;
    if (*s == '$') {
        for (++s;; ++s) {
            unsigned d;
            if (*s >= '0' && *s <= '9')
                d = *s - '0';
            else if (*s >= 'A' && *s <= 'F')
                d = *s - 'A' + 10;
            else if (*s >= 'a' && *s <= 'f')
                d = *s - 'a' + 10;
            else
                break;
            value = value * 16 + d;
        }
    } else if (*s == '%') {
        for (++s; *s == '0' || *s == '1'; ++s) value = value * 2 + (*s - '0');
    } else {
        for (; *s >= '0' && *s <= '9'; ++s) value = value * 10 + (*s - '0');
    }
    if (negative) value = 0 - value;
    return static_cast<int64_t>(value);
}

int32_t Number_Truncate(double value) {
    // Outside the 32-bit range the result is clamped rather than left undefined.
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return INT32_MAX;
    if (value <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(value);
}
