// Common controls (comctl32), COM start-up (ole32) and the theme test (uxtheme). Nothing here
// draws: the runtime only starts these and asks about themes.
#pragma once
#include "platform/win32/types.h"

struct INITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
};
constexpr DWORD ICC_TAB_CLASSES = 0x0008;
constexpr DWORD ICC_HOTKEY_CLASS = 0x0040;
constexpr DWORD ICC_DATE_CLASSES = 0x0100;
constexpr DWORD ICC_USEREX_CLASSES = 0x0200;
constexpr DWORD ICC_INTERNET_CLASSES = 0x0800;

struct DLLVERSIONINFO {
    DWORD cbSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformID;
};

void InitCommonControls();
// Fails for a wrong structure size; otherwise records the classes asked for.
BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init);
// The control classes registered so far (for tests).
DWORD CommonControls_Registered();
// Exported by "comctl32.dll": version 6.0.
HRESULT DllGetVersion(DLLVERSIONINFO* info);

// COM on this thread: S_OK the first time, S_FALSE when already started.
HRESULT CoInitialize(LPVOID reserved);
void CoUninitialize();

// Exported by "uxtheme.dll": the host has no visual styles, so no application is themed.
BOOL IsAppThemed();
