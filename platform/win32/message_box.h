// MessageBoxA: shown by the host (a desktop box, or a line on standard error).
#pragma once
#include "platform/win32/types.h"

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT flags);
