// Date values: the local time now, making a value from its components, and reading them back.
#include "runtime/core/date.h"

#include "platform/win32/local_time.h"
#include "platform/win32/time.h"
#include "runtime/core/date_parts.h"

namespace {

bool IsLeapYear(int32_t year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

}  // namespace

int32_t Date_Now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return Date_Make(now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond);
}

int32_t Date_Make(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                  int32_t second) {
    // Moments that are not on the calendar.
    if (year <= 0 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59) {
        return -1;
    }
    if (day == 31 && (month == 4 || month == 6 || month == 9 || month == 11)) return -1;
    if (month == 2 && (day > 29 || (day == 29 && (!IsLeapYear(year) || year == 3600)))) {
        return -1;
    }
    // The first day needs no conversion.
    if (year == 1970 && month == 1 && day == 1) return hour * 3600 + minute * 60 + second;
    // The wall-clock components counted as seconds on a clock without time zone, so that
    // the components read back are the ones given, in every zone and season.
    CalendarTime time{second, minute, hour, day, month - 1, year - 1900, 0, 0, 0};
    int64_t seconds = _mkgmtime64(&time);
    if (seconds < INT32_MIN || seconds > INT32_MAX) return -1;
    return static_cast<int32_t>(seconds);
}

bool Date_Parts(int32_t date, DateParts* parts) {
    *parts = DateParts{};
    if (date == -1) return false;
    int64_t seconds = date;
    CalendarTime time;
    if (_gmtime64_s(&time, &seconds) != 0) return false;
    *parts = DateParts{time.tm_year + 1900, time.tm_mon + 1, time.tm_mday,
                       time.tm_hour,        time.tm_min,     time.tm_sec};
    return true;
}

int32_t Date_Year(int32_t date) {
    DateParts parts;
    Date_Parts(date, &parts);
    return parts.year;
}

int32_t Date_Month(int32_t date) {
    DateParts parts;
    Date_Parts(date, &parts);
    return parts.month;
}

int32_t Date_Day(int32_t date) {
    DateParts parts;
    Date_Parts(date, &parts);
    return parts.day;
}

int32_t Date_Hour(int32_t date) {
    DateParts parts;
    Date_Parts(date, &parts);
    return parts.hour;
}

int32_t Date_Minute(int32_t date) {
    DateParts parts;
    Date_Parts(date, &parts);
    return parts.minute;
}

int32_t Date_Second(int32_t date) {
    DateParts parts;
    Date_Parts(date, &parts);
    return parts.second;
}
