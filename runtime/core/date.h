// Date and time: a date value is a signed 32-bit count of seconds since 1970-01-01 00:00:00
// of the local wall clock, with no time zone in it; -1 is an invalid date.
#pragma once
#include <cstdint>

// The date value of the local time now.
int32_t Date_Now();
// The date value of a wall-clock moment, or -1 when the moment is not a valid date (see
// date.cpp) or does not fit a signed 32-bit date value (before 1901-12-13 20:45:52 or after
// 2038-01-19 03:14:07).
int32_t Date_Make(int32_t year, int32_t month, int32_t day, int32_t hour, int32_t minute,
                  int32_t second);
// Components of a date value; 0 for the invalid date -1.
int32_t Date_Year(int32_t date);
int32_t Date_Month(int32_t date);   // 1..12
int32_t Date_Day(int32_t date);     // 1..31
int32_t Date_Hour(int32_t date);    // 0..23
int32_t Date_Minute(int32_t date);  // 0..59
int32_t Date_Second(int32_t date);  // 0..59
// Writes the mask at position p of the temporary buffer with its tokens replaced and leaves
// the position on the terminator; returns the text. Tokens (letters in any case): %yyyy the
// year, %yy its last two digits, %mm %dd %hh %ii %ss month, day, hour, minute and second as
// two digits. A "%" before anything else stays as it is. A null mask gives the empty text.
char* Date_Format(const char* mask, int32_t date, int32_t p);
