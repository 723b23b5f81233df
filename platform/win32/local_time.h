// Calendar conversions of the C runtime (msvcrt's _mkgmtime64 and _gmtime64_s): broken-down
// calendar times to and from 64-bit seconds since 1970-01-01 00:00:00 on a clock without time
// zone. The local clock itself comes from GetLocalTime (time.h), which follows the TZ rules.
#pragma once
#include <cstdint>

struct CalendarTime {
    int32_t tm_sec;    // 0..59 (60 for a leap second)
    int32_t tm_min;    // 0..59
    int32_t tm_hour;   // 0..23
    int32_t tm_mday;   // 1..31
    int32_t tm_mon;    // 0..11
    int32_t tm_year;   // years since 1900
    int32_t tm_wday;   // 0..6, Sunday first
    int32_t tm_yday;   // 0..365
    int32_t tm_isdst;  // always 0 on this clock
};

// Seconds of the given calendar time (fields out of range carry over, as mktime does; the
// fields are normalised in place). -1 when the result is not representable.
int64_t _mkgmtime64(CalendarTime* time);
// The calendar time of `*seconds`. Returns 0, or 22 (EINVAL) for a null argument or a value
// beyond the calendar the host can express.
int32_t _gmtime64_s(CalendarTime* out, const int64_t* seconds);
