#include "tests/reliability/sanitizer_report.h"

bool HasSanitizerReport(const std::string& error_output) {
    return error_output.find("AddressSanitizer") != std::string::npos ||
           error_output.find("LeakSanitizer") != std::string::npos ||
           error_output.find("runtime error:") != std::string::npos ||
           error_output.find("UndefinedBehaviorSanitizer") != std::string::npos;
}
