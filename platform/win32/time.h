// Clocks and timers (kernel32 and winmm): tick count, performance counter, sleep, timer period,
// local time.
#pragma once
#include "platform/win32/types.h"

struct LARGE_INTEGER {
    int64_t QuadPart;
};

struct SYSTEMTIME {
    WORD wYear;
    WORD wMonth;
    WORD wDayOfWeek;
    WORD wDay;
    WORD wHour;
    WORD wMinute;
    WORD wSecond;
    WORD wMilliseconds;
};

// Milliseconds since an arbitrary start, wrapping at 2^32.
DWORD GetTickCount();
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);
void Sleep(DWORD milliseconds);

constexpr UINT TIMERR_NOERROR = 0;
constexpr UINT TIMERR_NOCANDO = 97;
// Timer resolution requests; the host's sleeps are already fine-grained, so they only count.
UINT timeBeginPeriod(UINT period);
UINT timeEndPeriod(UINT period);

// The local date and time from the system clock and the TZ rules.
void GetLocalTime(SYSTEMTIME* time);
