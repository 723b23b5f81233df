// GetCurrentDirectoryA: the host's current directory in Windows-1252.
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/win32/file.h"
#include "platform/win32/file_error.h"
#include "platform/win32/path_text.h"

namespace {

// Bytes of the UTF-8 sequence that starts with `lead`; a stray byte counts alone.
size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Each character the code page cannot write, and each byte that is not UTF-8, becomes '?'.
std::string Cp1252OrQuestionMarks(const std::string& utf8) {
    std::string out, one;
    for (size_t i = 0; i < utf8.size();) {
        size_t n = SequenceLength(static_cast<unsigned char>(utf8[i]));
        if (i + n > utf8.size()) n = 1;
        if (HostPath_Cp1252FromUtf8(std::string_view(utf8).substr(i, n), &one) && one.size() == 1) {
            out += one;
            i += n;
        } else {
            out += '?';
            i += n;
        }
    }
    return out;
}

}  // namespace

DWORD GetCurrentDirectoryA(DWORD size, char* buffer) {
    char* host = getcwd(nullptr, 0);
    if (!host) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    const std::string text = Cp1252OrQuestionMarks(host);
    std::free(host);
    const auto length = static_cast<DWORD>(text.size());
    if (!buffer || size <= length) return length + 1;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return length;
}
