// The calling thread's last error.
#include "platform/win32/file_error.h"

namespace {
thread_local DWORD t_last_error = NO_ERROR;
}

DWORD GetLastError() {
    return t_last_error;
}

void SetLastError(DWORD code) {
    t_last_error = code;
}
