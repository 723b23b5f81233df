// The process: module handle, thread and process ids, the exit, version information.
#pragma once
#include "platform/win32/types.h"

// A null name gives the program's own module (never null).
HMODULE GetModuleHandleA(LPCSTR name);
DWORD GetCurrentThreadId();
DWORD GetCurrentProcessId();
// Ends the process: flushes the host's files, closes SDL, then exits with `code`.
[[noreturn]] void ExitProcess(UINT code);

constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;
struct OSVERSIONINFOA {
    DWORD dwOSVersionInfoSize;
    DWORD dwMajorVersion;
    DWORD dwMinorVersion;
    DWORD dwBuildNumber;
    DWORD dwPlatformId;
    char szCSDVersion[128];
};
// Reports the NT platform, version 6.1: the runtime's version tests take their modern branch.
BOOL GetVersionExA(OSVERSIONINFOA* info);
