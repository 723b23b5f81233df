// Path_CurrentDirectory: where a bare file name is looked for.
#include "platform/win32/file.h"
#include "runtime/core/strings.h"
#include "runtime/file/file.h"

char* Path_CurrentDirectory(int32_t p) {
    const DWORD needed = GetCurrentDirectoryA(0, nullptr);
    const int32_t length = needed > 1 && needed < INT32_MAX ? static_cast<int32_t>(needed - 1) : 0;
    char* destination = String_Reserve(length, p);
    // The reservation leaves room for the terminator the call writes.
    if (length == 0 || GetCurrentDirectoryA(needed, destination) != static_cast<DWORD>(length)) {
        String_Reserve(0, p);
        *destination = 0;
    }
    return destination;
}
