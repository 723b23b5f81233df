#include "platform/win32/process.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/host/host.h"

#include "platform/win32/module_record.h"

namespace {
ModuleRecord g_program_module{"program", nullptr, 1};
}

HMODULE GetModuleHandleA(LPCSTR name) {
    if (!name) return &g_program_module;
    return nullptr;
}

DWORD GetCurrentThreadId() {
    return static_cast<DWORD>(syscall(SYS_gettid));
}

DWORD GetCurrentProcessId() {
    return static_cast<DWORD>(getpid());
}

void ExitProcess(UINT code) {
    std::fflush(nullptr);
    Host_Shutdown();
    std::exit(static_cast<int>(code));
}

BOOL GetVersionExA(OSVERSIONINFOA* info) {
    if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOA)) return FALSE;
    info->dwMajorVersion = 6;
    info->dwMinorVersion = 1;
    info->dwBuildNumber = 7601;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof(info->szCSDVersion));
    return TRUE;
}
