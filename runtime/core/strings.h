// String values: zero-terminated 8-bit texts. Expressions are built in one growable temporary
// buffer addressed by offsets; finished texts go into string variables or straight to the
// operation that reads them. Null reads as the empty text everywhere.
#pragma once
#include <cstdint>

#include "platform/win32/types.h"

// The temporary buffer's three globals, plus the string heap.
struct StringGlobals {
    HHEAP heap;
    char* base;        // first byte of the buffer; moves when the buffer grows
    int32_t position;  // where the next temporary text is written
    int32_t capacity;  // texts stay below capacity - 4
};
StringGlobals& String_Globals();

// A string variable: null (the empty text) or a block on the string heap.
using StringVariable = char*;

void String_Init();

// Temporary-buffer primitives.
char* String_Reserve(int32_t n, int32_t p);
void String_GiveBack(int32_t n);
void String_SetPosition(int32_t p);
int32_t String_BufferOffset(const char* q);  // offset + 1, or 0 outside the buffer's texts
char* String_BufferPointer(int32_t offset_plus_one);
void String_CopyBytes(char* destination, const char* source, int32_t n);
void String_Append(const char* text);
void String_Store(StringVariable* variable, int32_t saved_position);

// String variables.
int32_t String_Assign(StringVariable* variable, const char* text);
void String_InitCopy(StringVariable* variable, const char* text);
void String_Free(char* block);
// The variable's block made to hold `size` bytes: kept as it is when it has that size or at
// most kStringBlockSlack bytes more, else resized or allocated to `size` rounded up to a
// multiple of kStringBlockGranule. So a text stored again each frame costs no heap call, even
// one whose length changes now and then, like a frame rate shrinking to "" between its counts
// or gaining a digit. Its bytes are kept up to the smaller size; ends the program when the
// memory is not to be had.
constexpr size_t kStringBlockSlack = 32;
constexpr size_t kStringBlockGranule = 16;
char* String_SizeBlock(StringVariable* variable, size_t size);
int32_t String_Equal(const char* a, const char* b);
int32_t String_Len(const char* text);

// Producers: each writes at p and leaves the position on its result's terminator.
void String_FromLong(int32_t value, int32_t p);
void String_FromQuad(int64_t value, int32_t p);
void String_Chr(int32_t code, int32_t p);
void String_Left(const char* text, int32_t n, int32_t p);
void String_Right(const char* text, int32_t n, int32_t p);
void String_Mid(const char* text, int32_t start, int32_t length, int32_t p);

// Readers.
int64_t String_Val(const char* text);
int32_t Number_Truncate(double value);
