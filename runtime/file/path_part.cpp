// Path_FilePart: the last component of a path, without surrounding double quotes.
#include <cstring>

#include "runtime/core/strings.h"
#include "runtime/file/file.h"

char* Path_FilePart(const char* path, int32_t p) {
    if (!path) path = "";
    // One leading quote is skipped; the part starts after the last separator.
    if (*path == '"') ++path;
    const char* start = path;
    for (const char* s = path; *s; ++s) {
        if (*s == '/' || *s == '\\') start = s + 1;
    }
    // It ends at the first quote after its start.
    const char* end = std::strchr(start, '"');
    int32_t length = static_cast<int32_t>(end ? end - start : std::strlen(start));
    // The path may lie in the temporary buffer, which the reservation can move.
    int32_t source = String_BufferOffset(start);
    char* destination = String_Reserve(length, p);
    if (source) start = String_BufferPointer(source);
    String_CopyBytes(destination, start, length);
    return destination;
}
