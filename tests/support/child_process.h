// Runs a program as a child process, as the tests and the benchmarks run the deliverables: in a
// folder of its own, with this process's environment less the platform layer's settings and the
// display plus the run's own settings, standard error kept in a file or passed through, a time
// limit after which it is killed, and optionally its memory sampled from /proc while it runs.
// The kernel's peak memory and processor time of the child come with every result.
#pragma once
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct MemorySample {
    double seconds;        // since the start
    int64_t anon_kib;      // RssAnon: heap and other anonymous memory
    int64_t resident_kib;  // VmRSS
    int64_t peak_kib;      // VmHWM: the largest resident set so far, of this program alone
};

struct ChildOptions {
    std::string program;
    std::vector<std::string> arguments;  // after the program's own name
    std::string folder;                  // current directory of the child; empty: ours
    // NAME, VALUE pairs added to the environment; a setting replaces ours of the same name and
    // an earlier setting of the same name.
    std::vector<std::pair<std::string, std::string>> settings;
    // Standard error goes into this file (emptied first) and is read back into the result;
    // empty: it is passed through.
    std::string error_file;
    bool quiet = false;               // standard input and output on /dev/null
    double time_limit_seconds = 0;    // then the child is killed; 0: no limit
    double sample_every_seconds = 0;  // memory samples; 0: none
    // The setting that hands the child the moment it was started (CLOCK_MONOTONIC nanoseconds,
    // the result's spawn_ns); empty: none.
    std::string spawn_time_setting;
    // Called once the child runs, before the waiting begins; the time limit starts after it.
    std::function<void(pid_t)> while_running;
};

struct ChildResult {
    bool started = false;
    bool timed_out = false;
    int exit_code = -1;        // -1 when it did not exit normally
    int signal = 0;            // the signal that ended it, if any
    int64_t spawn_ns = 0;      // CLOCK_MONOTONIC just before the start
    int64_t wall_ns = 0;       // from then until it was reaped
    int64_t peak_kib = 0;      // its largest resident set (the kernel's maxrss)
    double cpu_seconds = 0;    // user and system time
    std::string error_output;  // standard error, when kept in a file
    std::vector<MemorySample> memory;

    double Seconds() const { return static_cast<double>(wall_ns) / 1e9; }
};

// CLOCK_MONOTONIC in nanoseconds, the clock of spawn_ns.
int64_t MonotonicNanoseconds();

// Starts the child and waits for its end or its time limit.
ChildResult RunChild(const ChildOptions& options);

// Starts the child and leaves it running, for a server a test needs meanwhile (the time limit,
// memory samples and while_running do not apply); its id, or -1 when it could not start.
// EndChild ends it with SIGTERM and waits for it.
pid_t StartChild(const ChildOptions& options);
void EndChild(pid_t pid);

// A one-line description for failure messages: how it ended and the start of standard error.
std::string Describe(const ChildResult& result);
