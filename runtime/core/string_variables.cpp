// String variables: null or a block of length + 5 bytes on the string heap.
#include <cstddef>
#include <cstring>

#include "platform/win32/heap.h"
#include "runtime/core/fatal.h"
#include "runtime/core/strings.h"

int32_t String_Assign(StringVariable* variable, const char* text) {
    if (!text) {
        if (*variable) HeapFree(String_Globals().heap, 0, *variable);
        *variable = nullptr;
        return 1;
    }
    size_t n = std::strlen(text);
    // A text taken from the variable itself must survive the resize.
    ptrdiff_t inside = -1;
    if (*variable && text >= *variable && text <= *variable + std::strlen(*variable)) {
        inside = text - *variable;
    }
    String_SizeBlock(variable, n + 5);
    if (inside >= 0) text = *variable + inside;
    std::memmove(*variable, text, n + 1);
    return static_cast<int32_t>(n) + 1;
}

char* String_SizeBlock(StringVariable* variable, size_t size) {
    HHEAP heap = String_Globals().heap;
    if (*variable) {
        const SIZE_T have = HeapSize(heap, 0, *variable);
        if (have >= size && have - size <= kStringBlockSlack) return *variable;
    }
    const size_t rounded = (size + kStringBlockGranule - 1) & ~(kStringBlockGranule - 1);
    void* block =
        *variable ? HeapReAlloc(heap, 0, *variable, rounded) : HeapAlloc(heap, 0, rounded);
    if (!block) Runtime_OutOfMemory();
    *variable = static_cast<char*>(block);
    return *variable;
}

void String_InitCopy(StringVariable* variable, const char* text) {
    if (!text) return;
    size_t n = std::strlen(text);
    auto* block = static_cast<char*>(HeapAlloc(String_Globals().heap, 0, n + 5));
    if (!block) Runtime_OutOfMemory();
    std::memcpy(block, text, n + 1);
    *variable = block;
}

void String_Free(char* block) {
    if (block) HeapFree(String_Globals().heap, 0, block);
}

int32_t String_Equal(const char* a, const char* b) {
    if (!a) a = "";
    if (!b) b = "";
    return std::strcmp(a, b) == 0 ? 1 : 0;
}

int32_t String_Len(const char* text) {
    return text ? static_cast<int32_t>(std::strlen(text)) : 0;
}
