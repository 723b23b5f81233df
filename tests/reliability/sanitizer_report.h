// Whether a child's standard error holds a sanitizer's report.
#pragma once
#include <string>

// True when standard error holds a report of AddressSanitizer, LeakSanitizer or
// UndefinedBehaviorSanitizer.
bool HasSanitizerReport(const std::string& error_output);
