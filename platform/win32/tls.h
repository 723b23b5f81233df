// Thread-local slots (kernel32 Tls*): each thread sees its own value in each slot.
#pragma once
#include "platform/win32/types.h"

constexpr DWORD TLS_OUT_OF_INDEXES = 0xFFFFFFFFu;

DWORD TlsAlloc();
BOOL TlsFree(DWORD index);
void* TlsGetValue(DWORD index);
BOOL TlsSetValue(DWORD index, void* value);
