// Running a deliverable from the frame benchmark: a child process in the run directory with
// extra environment settings, timed on the monotonic clock from just before it starts.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

struct ChildResult {
    bool started = false;
    int exit_code = -1;    // -1 when it did not exit normally
    int64_t spawn_ns = 0;  // CLOCK_MONOTONIC just before the fork
    int64_t wall_ns = 0;   // from then until it was reaped
    int64_t peak_kib = 0;  // its largest resident set (the kernel's maxrss)
};

int64_t Bench_Now();
// Runs `program` in `directory` with the current environment plus `settings`, standard output
// and error passed through, and waits for it. The spawn time is also handed to the child in
// the setting named by `spawn_setting` when that is not empty.
ChildResult Bench_RunChild(const std::string& program, const std::string& directory,
                           const std::vector<std::pair<std::string, std::string>>& settings,
                           const std::string& spawn_setting);
