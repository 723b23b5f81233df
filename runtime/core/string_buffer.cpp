// The string heap and the temporary buffer.
#include <cstring>

#include "platform/win32/heap.h"
#include "runtime/core/fatal.h"
#include "runtime/core/strings.h"

namespace {
StringGlobals g_strings;
constexpr int32_t kHeadroom = 16384;
}  // namespace

StringGlobals& String_Globals() {
    return g_strings;
}

void String_Init() {
    g_strings.heap = HeapCreate(0, 4096, 0);
    g_strings.capacity = 16;
    g_strings.position = 0;
    g_strings.base = static_cast<char*>(HeapAlloc(g_strings.heap, HEAP_ZERO_MEMORY, 16));
    if (!g_strings.base) Runtime_OutOfMemory();
}

char* String_Reserve(int32_t n, int32_t p) {
    if (n < 0) n = 0;
    // Room is measured from the current position, not from p.
    int64_t need = int64_t{g_strings.position} + n;
    // Grow with headroom so that a frame's texts reuse the same memory.
    if (need >= g_strings.capacity - 4) {
        int64_t capacity = need + kHeadroom;
        if (capacity > INT32_MAX - 5) Runtime_OutOfMemory();
        void* grown =
            HeapReAlloc(g_strings.heap, 0, g_strings.base, static_cast<SIZE_T>(capacity) + 5);
        if (!grown) Runtime_OutOfMemory();
        g_strings.base = static_cast<char*>(grown);
        g_strings.capacity = static_cast<int32_t>(capacity);
    }
    g_strings.position = p + n;
    return g_strings.base + p;
}

void String_GiveBack(int32_t n) {
    g_strings.position -= n;
}

void String_SetPosition(int32_t p) {
    g_strings.position = p;
    g_strings.base[p] = 0;
}

int32_t String_BufferOffset(const char* q) {
    if (!q || q < g_strings.base || q > g_strings.base + g_strings.position) return 0;
    return static_cast<int32_t>(q - g_strings.base) + 1;
}

char* String_BufferPointer(int32_t offset_plus_one) {
    return g_strings.base + (offset_plus_one - 1);
}

void String_CopyBytes(char* destination, const char* source, int32_t n) {
    if (n > 0) std::memmove(destination, source, static_cast<size_t>(n));
    destination[n > 0 ? n : 0] = 0;
}

void String_Append(const char* text) {
    if (!text) {
        g_strings.base[g_strings.position] = 0;
        return;
    }
    int32_t n = static_cast<int32_t>(std::strlen(text));
    // The text may itself lie in the buffer, which the reservation can move.
    int32_t source = String_BufferOffset(text);
    char* destination = String_Reserve(n, g_strings.position);
    if (source) text = String_BufferPointer(source);
    String_CopyBytes(destination, text, n);
}

void String_Store(StringVariable* variable, int32_t saved_position) {
    int32_t n = g_strings.position - saved_position;
    if (n < 0) n = 0;
    String_SizeBlock(variable, static_cast<size_t>(n) + 5);
    std::memcpy(*variable, g_strings.base + saved_position, static_cast<size_t>(n));
    (*variable)[n] = 0;
    g_strings.position = saved_position;
}
