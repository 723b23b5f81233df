#include "platform/win32/message_box.h"

#include "platform/host/host.h"

int MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT flags) {
    return Host_MessageBox(flags, caption, text);
}
