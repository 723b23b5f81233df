// Runs a program as a child process the way the reliability tests need it: in a given folder,
// with a clean KAVRO_* environment plus the settings of the test, a time limit, its standard
// error kept, and optionally its memory sampled from /proc while it runs.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct MemorySample {
    double seconds;        // since the start
    int64_t anon_kib;      // RssAnon: heap and other anonymous memory
    int64_t resident_kib;  // VmRSS
};

struct RunOptions {
    std::string program;
    std::string folder;  // current directory of the child
    std::vector<std::pair<std::string, std::string>> settings;
    int timeout_seconds = 120;
    double sample_every_seconds = 0;  // 0: no memory samples
};

struct RunResult {
    bool started = false;
    bool timed_out = false;
    int exit_code = -1;  // -1 when it did not exit normally
    int signal = 0;      // the signal that ended it, if any
    double seconds = 0;
    std::string error_output;  // standard error (standard output is dropped)
    std::vector<MemorySample> memory;
};

RunResult RunProgram(const RunOptions& options);

// True when standard error holds a report of AddressSanitizer, LeakSanitizer or
// UndefinedBehaviorSanitizer.
bool HasSanitizerReport(const std::string& error_output);

// A one-line description for failure messages: how it ended and the start of standard error.
std::string Describe(const RunResult& result);
