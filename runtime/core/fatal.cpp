#include "runtime/core/fatal.h"

#include "platform/win32/message_box.h"
#include "platform/win32/process.h"

void Runtime_OutOfMemory() {
    MessageBoxA(nullptr, "Not enough memory to go on.", "Out of memory", MB_ICONERROR);
    ExitProcess(0);
}
