// The calendar components of a date value, shared by the component operations and
// Date_Format. Internal to the date library.
#pragma once
#include <cstdint>

struct DateParts {
    int32_t year, month, day, hour, minute, second;
};

// False (and all zeros) when the value cannot be converted.
bool Date_Parts(int32_t date, DateParts* parts);
