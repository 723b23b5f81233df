// The probe's clock, its part switching and its report: a text file of "name value" lines that
// the frame benchmark reads, and the frame records as raw BenchFrameRecord structures.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "bench/alloc_hooks.h"
#include "bench/probe_state.h"

namespace {

// VmHWM of /proc/self/status: the peak resident memory so far, in KiB (0 when unreadable).
long PeakResidentKib() {
    FILE* f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long kib = 0;
    while (std::fgets(line, sizeof(line), f)) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            kib = std::strtol(line + 6, nullptr, 10);
            break;
        }
    }
    std::fclose(f);
    return kib;
}

}  // namespace

ProbeState& Probe() {
    static ProbeState state;
    return state;
}

int64_t Probe_Now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t Probe_ThreadCpu() {
    timespec ts;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

int64_t Probe_ProcessCpu() {
    timespec ts;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

BenchPhase Probe_Enter(BenchPhase next) {
    ProbeState& p = Probe();
    int64_t now = Probe_Now();
    BenchPhase before = p.phase;
    if (p.phase_since_ns != 0) p.phase_ns[static_cast<int>(before)] += now - p.phase_since_ns;
    p.phase_since_ns = now;
    p.phase = next;
    return before;
}

void Probe_WriteReport() {
    ProbeState& p = Probe();
    if (const char* path = std::getenv(kBenchEnvReport)) {
        if (FILE* f = std::fopen(path, "w")) {
            std::fprintf(f, "frames %llu\n", static_cast<unsigned long long>(p.frames));
            std::fprintf(f, "presents %llu\n", static_cast<unsigned long long>(p.presents));
            std::fprintf(f, "frames_at_first_present %llu\n",
                         static_cast<unsigned long long>(p.frames_at_first_present));
            std::fprintf(f, "spawn_ns %lld\n", static_cast<long long>(p.spawn_ns));
            std::fprintf(f, "main_ns %lld\n", static_cast<long long>(p.main_ns));
            std::fprintf(f, "startup_begin_ns %lld\n", static_cast<long long>(p.startup_begin_ns));
            std::fprintf(f, "startup_end_ns %lld\n", static_cast<long long>(p.startup_end_ns));
            std::fprintf(f, "startup_cpu_ns %lld\n", static_cast<long long>(p.startup_cpu_ns));
            std::fprintf(f, "startup_process_cpu_ns %lld\n",
                         static_cast<long long>(p.startup_process_cpu_ns));
            std::fprintf(f, "first_present_ns %lld\n", static_cast<long long>(p.first_present_ns));
            std::fprintf(f, "last_frame_end_ns %lld\n",
                         static_cast<long long>(p.last_frame_end_ns));
            std::fprintf(f, "loop_cpu_ns %lld\n",
                         static_cast<long long>(p.last_frame_end_cpu_ns - p.first_present_cpu_ns));
            for (int i = 0; i < kBenchPhaseCount; ++i) {
                std::fprintf(f, "phase_%s_ns %lld\n", BenchPhaseName(static_cast<BenchPhase>(i)),
                             static_cast<long long>(p.phase_at_last_frame_ns[i] -
                                                    p.phase_at_first_present_ns[i]));
            }
            std::fprintf(f, "steady_heap_calls %llu\n",
                         static_cast<unsigned long long>(p.heap_at_end - p.heap_at_warmup));
            std::fprintf(f, "steady_allocations %llu\n",
                         static_cast<unsigned long long>(p.malloc_at_end - p.malloc_at_warmup));
            std::fprintf(f, "allocations_counted %d\n", BenchAllocationsCounted() ? 1 : 0);
            std::fprintf(f, "steady_from_frame %llu\n",
                         static_cast<unsigned long long>(p.steady_from_frame));
            std::fprintf(f, "allocating_frames %llu\n",
                         static_cast<unsigned long long>(p.allocating_frames));
            std::fprintf(f, "first_allocating_frame %llu\n",
                         static_cast<unsigned long long>(p.first_allocating_frame));
            std::fprintf(f, "allocating_gaps %llu\n",
                         static_cast<unsigned long long>(p.allocating_gaps));
            std::fprintf(f, "peak_resident_kib %ld\n", PeakResidentKib());
            std::fprintf(f, "log_full %d\n", p.log_full ? 1 : 0);
            std::fclose(f);
        }
    }
    if (const char* path = std::getenv(kBenchEnvLog)) {
        if (FILE* f = std::fopen(path, "wb")) {
            if (!p.log.empty())
                std::fwrite(p.log.data(), sizeof(BenchFrameRecord), p.log.size(), f);
            std::fclose(f);
        }
    }
}
