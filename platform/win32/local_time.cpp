// Calendar conversions of the C runtime, over the host's timegm and gmtime_r.
#include "platform/win32/local_time.h"

#include <time.h>

namespace {

constexpr int32_t kEinval = 22;

void FromHost(const tm& in, CalendarTime* out) {
    *out = CalendarTime{in.tm_sec,  in.tm_min,  in.tm_hour, in.tm_mday, in.tm_mon,
                        in.tm_year, in.tm_wday, in.tm_yday, 0};
}

}  // namespace

int64_t _mkgmtime64(CalendarTime* time) {
    if (!time) return -1;
    tm host{};
    host.tm_sec = time->tm_sec;
    host.tm_min = time->tm_min;
    host.tm_hour = time->tm_hour;
    host.tm_mday = time->tm_mday;
    host.tm_mon = time->tm_mon;
    host.tm_year = time->tm_year;
    host.tm_wday = -1;  // stays -1 only when the conversion failed
    time_t seconds = timegm(&host);
    if (seconds == static_cast<time_t>(-1) && host.tm_wday == -1) return -1;
    FromHost(host, time);
    return static_cast<int64_t>(seconds);
}

int32_t _gmtime64_s(CalendarTime* out, const int64_t* seconds) {
    if (!out || !seconds) return kEinval;
    time_t value = static_cast<time_t>(*seconds);
    tm host;
    if (!gmtime_r(&value, &host)) return kEinval;
    FromHost(host, out);
    return 0;
}
