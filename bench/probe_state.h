// The timing probe linked into the instrumented deliverables (kavro-bench-dx9, -dx7): the
// game's own main and frame, with the runtime calls that begin and end each part of a frame
// wrapped at link time (ld --wrap) so that the time between them is booked to that part.
// Nothing in the game or the runtime knows about it.
#pragma once
#include <cstdint>
#include <vector>

#include "bench/frame_record.h"

struct ProbeState {
    int64_t spawn_ns = 0;  // the benchmark's clock when it started the process (0: unknown)
    int64_t main_ns = 0;   // Program_Start called
    int64_t startup_begin_ns = 0, startup_end_ns = 0;  // Game_StartUp
    int64_t startup_cpu_ns = 0;                        // its processor time
    int64_t first_present_ns = 0;                      // the first Screen_Flip returned
    int64_t last_frame_end_ns = 0;
    // The main thread's processor time at the same two moments: unlike the clock, it does not
    // run on while other processes have the processor.
    int64_t first_present_cpu_ns = 0;
    int64_t last_frame_end_cpu_ns = 0;
    int64_t startup_process_cpu_ns = 0;  // the whole process's, from its start to the first present

    BenchPhase phase = BenchPhase::kOther;
    int64_t phase_since_ns = 0;
    int64_t phase_ns[kBenchPhaseCount] = {};
    int64_t phase_at_first_present_ns[kBenchPhaseCount] = {};
    int64_t phase_at_last_frame_ns[kBenchPhaseCount] = {};

    uint64_t frames = 0;    // Game_Frame calls
    uint64_t presents = 0;  // Screen_Flip calls
    uint64_t frames_at_first_present = 0;

    // Heap calls (HeapAlloc + HeapReAlloc) and C/C++ allocations, at the start of the steady
    // state and now; frames of the steady state that allocated anything.
    uint64_t heap_at_warmup = 0, malloc_at_warmup = 0;
    uint64_t heap_before_frame = 0, malloc_before_frame = 0;
    uint64_t allocating_frames = 0;
    uint64_t first_allocating_frame = 0;
    // Gaps between two frames of the steady state in which something allocated: the game's loop
    // does nothing there, so another thread did.
    uint64_t allocating_gaps = 0;
    uint64_t steady_from_frame = 0;  // 0 until the steady state began
    bool warm = false;
    uint64_t heap_at_end = 0, malloc_at_end = 0;  // after the last frame
    // The frame-rate line as last drawn, and how often it changed since the first frame.
    char rate_line[64] = {};
    bool rate_line_seen = false;
    int rate_line_changes = 0;

    BenchFrameRecord pending{};
    std::vector<BenchFrameRecord> log;  // room made before the first frame; never grown later
    bool log_full = false;
};

ProbeState& Probe();
int64_t Probe_Now();
// Processor time of the calling thread, and of the whole process since it started.
int64_t Probe_ThreadCpu();
int64_t Probe_ProcessCpu();
// Books the time since the last switch to the current part and makes `next` current; returns
// the part that was current.
BenchPhase Probe_Enter(BenchPhase next);
// Writes the report and the frame records to the files the benchmark named.
void Probe_WriteReport();
