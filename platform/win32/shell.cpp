#include "platform/win32/shell.h"

namespace {
struct ShellState {
    DWORD registered = 0;
    int com_starts = 0;
};
ShellState& State() {
    static ShellState state;
    return state;
}
}  // namespace

void InitCommonControls() {}

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) return FALSE;
    State().registered |= init->dwICC;
    return TRUE;
}

DWORD CommonControls_Registered() {
    return State().registered;
}

HRESULT DllGetVersion(DLLVERSIONINFO* info) {
    if (!info || info->cbSize < sizeof(DLLVERSIONINFO)) return E_FAIL;
    info->dwMajorVersion = 6;
    info->dwMinorVersion = 0;
    info->dwBuildNumber = 0;
    info->dwPlatformID = 2;
    return S_OK;
}

HRESULT CoInitialize(LPVOID reserved) {
    if (reserved) return E_FAIL;
    return State().com_starts++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (State().com_starts > 0) --State().com_starts;
}

BOOL IsAppThemed() {
    return FALSE;
}
