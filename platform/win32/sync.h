// Critical sections (kernel32): a recursive lock owned by one thread at a time.
#pragma once
#include "platform/win32/types.h"

struct CRITICAL_SECTION {
    void* lock;  // the host's mutex, made by InitializeCriticalSection
};

void InitializeCriticalSection(CRITICAL_SECTION* section);
void EnterCriticalSection(CRITICAL_SECTION* section);
void LeaveCriticalSection(CRITICAL_SECTION* section);
void DeleteCriticalSection(CRITICAL_SECTION* section);
