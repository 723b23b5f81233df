// File_Size: the size of a file by name, without opening it.
#include <cstring>

#include "platform/win32/file.h"
#include "runtime/file/file.h"

int64_t File_Size(const char* name) {
    if (!name || !*name) return -1;
    // A longer name cannot name anything; cut short it could name another file.
    size_t length = std::strlen(name);
    if (length > MAX_PATH) return -1;
    char copy[MAX_PATH + 2];
    std::memcpy(copy, name, length + 1);
    // A drive.
    if ((length == 2 || length == 3) && copy[1] == ':') {
        if (length == 2) {
            copy[2] = '\\';
            copy[3] = 0;
        }
        return GetDriveTypeA(copy) > DRIVE_NO_ROOT_DIR ? -2 : -1;
    }
    // Trailing separators are not part of the name.
    while (length > 0 && copy[length - 1] == '\\') copy[--length] = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(copy, &found);
    if (find != INVALID_HANDLE_VALUE) {
        FindClose(find);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -2;
        return static_cast<int64_t>((static_cast<uint64_t>(found.nFileSizeHigh) << 32) |
                                    found.nFileSizeLow);
    }
    // A network share is found by its attributes alone.
    if (copy[0] == '\\' && copy[1] == '\\') {
        DWORD attributes = GetFileAttributesA(copy);
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            return -2;
        }
    }
    return -1;
}
