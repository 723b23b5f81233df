// Producers: numbers and parts of texts written into the temporary buffer.
#include <cstring>

#include "runtime/core/strings.h"

namespace {

// Digits of a magnitude, most significant first; returns the count.
int32_t WriteDigits(char* out, uint64_t magnitude) {
    char tmp[24];
    int32_t n = 0;
    do {
        tmp[n++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude);
    for (int32_t i = 0; i < n; ++i) out[i] = tmp[n - 1 - i];
    return n;
}

}  // namespace

void String_FromLong(int32_t value, int32_t p) {
    char* out = String_Reserve(32, p);
    int32_t length = 0;
    if (value == 0) {
        out[length++] = '0';
    } else if (value == INT32_MIN) {
        std::memcpy(out, "-2147483648", 11);
        length = 11;
    } else {
        if (value < 0) out[length++] = '-';
        // Repeated signed division by 10, most significant digit first.
        int32_t v = value < 0 ? -value : value;
        length += WriteDigits(out + length, static_cast<uint64_t>(v));
    }
    String_GiveBack(32 - length);
    out[length] = 0;
}

void String_FromQuad(int64_t value, int32_t p) {
    if (value >= INT32_MIN && value <= INT32_MAX) {
        String_FromLong(static_cast<int32_t>(value), p);
        return;
    }
    char* out = String_Reserve(64, p);
    int32_t length = 0;
    uint64_t magnitude = static_cast<uint64_t>(value);
    if (value < 0) {
        out[length++] = '-';
        magnitude = 0 - magnitude;  // -2^63 stays 2^63 as an unsigned number
    }
    length += WriteDigits(out + length, magnitude);
    String_GiveBack(64 - length);
    out[length] = 0;
}

void String_Chr(int32_t code, int32_t p) {
    char* out = String_Reserve(1, p);
    out[0] = static_cast<char>(code);
    out[1] = 0;
}

void String_Left(const char* text, int32_t n, int32_t p) {
    int32_t length = String_Len(text);
    if (n < 0) n = 0;
    if (n > length) n = length;
    int32_t source = String_BufferOffset(text);
    char* out = String_Reserve(n, p);
    if (source) text = String_BufferPointer(source);
    String_CopyBytes(out, text, n);
}

void String_Right(const char* text, int32_t n, int32_t p) {
    int32_t length = String_Len(text);
    if (n < 0) n = 0;
    if (n > length) n = length;
    int32_t source = String_BufferOffset(text);
    char* out = String_Reserve(n, p);
    if (source) text = String_BufferPointer(source);
    String_CopyBytes(out, text ? text + (length - n) : "", n);
}

void String_Mid(const char* text, int32_t start, int32_t length, int32_t p) {
    int32_t total = String_Len(text);
    int32_t skip = start <= 1 ? 0 : start - 1;
    if (skip > total) skip = total;
    if (length < 0) length = 0;
    // Reserving more than the text can give would only be given back.
    if (length > total - skip) length = total - skip;
    int32_t source = String_BufferOffset(text);
    char* out = String_Reserve(length, p);
    if (source) text = String_BufferPointer(source);
    String_CopyBytes(out, text ? text + skip : "", length);
}
