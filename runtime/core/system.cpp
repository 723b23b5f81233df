#include "runtime/core/system.h"

#include "platform/win32/shell.h"

void System_Init() {
    InitCommonControls();
    CoInitialize(nullptr);
}
