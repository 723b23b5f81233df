// kavro_frame_bench: the frame-loop benchmark. Runs each deliverable headless over the route
// (a keyboard script through the shipped level), with the timing probe linked in, and the
// SDL2 software-renderer peer over the same frames; prints frames per second, the time per
// frame split into its parts, our speed over the peer's, start-up to the first presented
// frame, peak memory and the heap allocations of the steady state.
//
//   kavro_frame_bench [--runs N] [--laps N] [--route FILE] [--check]
//
// The route (bench/route.keys, copied beside this program, unless --route names another) is one
// lap, played --laps times (60 by default, about 92,300 frames: three seconds or more of the
// fastest deliverable, so that its steady state, which starts when the frame-rate line first
// shows a whole second's count, is long enough; a run that ends before it is reported as such).
// Each figure is the best of --runs runs (3 by default) except start-up, which is their median.
// --check makes the exit code 1 when a target is missed. The deliverables and their run directory
// are found where the build put them relative to this program.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "bench/bench_files.h"
#include "bench/peer_renderer.h"
#include "bench/self_path.h"
#include "tests/support/child_process.h"

namespace {

constexpr double kTargetSpeedup = 7.0;
// kavro-dx7's frames per second over kavro-dx9's in the same run.
constexpr double kTargetDx7OverDx9 = 0.9;
constexpr double kTargetStartupMs = 100.0;
constexpr double kTargetPeakMib = 64.0;
constexpr double kTargetStartupShare = 0.05;

struct Backend {
    const char* name;   // the deliverable's name
    std::string probe;  // the instrumented build, or empty when not built
    std::string plain;  // the deliverable itself
};

// The programs measured, where the build put them relative to this one.
std::vector<Backend> Backends() {
    return {
        {"kavro-dx9", Bench_BesideSelf(KAVRO_BENCH_DX9_PROBE),
         Bench_BesideSelf(KAVRO_BENCH_DX9_PLAIN)},
#ifdef KAVRO_BENCH_DX7_PROBE
        {"kavro-dx7", Bench_BesideSelf(KAVRO_BENCH_DX7_PROBE),
         Bench_BesideSelf(KAVRO_BENCH_DX7_PLAIN)},
#else
        {"kavro-dx7", "", Bench_BesideSelf(KAVRO_BENCH_DX7_PLAIN)},
#endif
    };
}

using Report = std::map<std::string, int64_t>;

struct BackendResult {
    const Backend* backend = nullptr;
    std::string skipped;  // why it was not measured
    Report best;          // the run with the shortest steady-state time
    double best_loop_ns = 0;
    std::vector<double> startup_ms;
    int64_t peak_kib = 0;
    int64_t steady_heap_calls = 0;
    int64_t steady_allocations = 0;
    int64_t allocating_frames = 0;
    int64_t first_allocating_frame = 0;
    int64_t allocating_gaps = 0;
    int runs_without_steady_state = 0;
    int64_t steady_frames = 0, steady_from_frame = 0;  // the longest steady state of the runs
    bool allocations_counted = true;
    double plain_wall_ns = 0;  // best whole run of the deliverable without the probe
    std::vector<BenchFrameRecord> frames;
};

int64_t Get(const Report& r, const std::string& name) {
    auto it = r.find(name);
    return it == r.end() ? 0 : it->second;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

const char* Verdict(bool met) {
    return met ? "met" : "NOT met";
}

std::string CpuModel() {
    std::ifstream in("/proc/cpuinfo");
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("model name", 0) == 0) {
            size_t colon = line.find(':');
            if (colon != std::string::npos) return line.substr(colon + 2);
        }
    }
    return "unknown processor";
}

// A headless run of `program` in the run directory with `settings`; its standard output and
// error pass through. The probe takes its start time from `spawn_time_setting`.
ChildResult RunHeadless(const std::string& program, const std::string& run_dir,
                        const std::vector<std::pair<std::string, std::string>>& settings,
                        const std::string& spawn_time_setting = "",
                        double sample_every_seconds = 0) {
    ChildOptions options;
    options.sample_every_seconds = sample_every_seconds;
    options.program = program;
    options.folder = run_dir;
    options.settings = {{"KAVRO_HEADLESS", "1"}};
    options.settings.insert(options.settings.end(), settings.begin(), settings.end());
    options.spawn_time_setting = spawn_time_setting;
    return RunChild(options);
}

// The kernel's peak memory of a child also counts this process's own resident set at the moment
// the child replaced its program (the child starts in this process's memory), and that grows
// with the frame records held here. So the child's own high-water mark is sampled while it runs;
// the game's memory is flat after start-up.
constexpr double kPeakSampleSeconds = 0.05;
int64_t PeakKib(const ChildResult& r) {
    int64_t peak = 0;
    for (const MemorySample& s : r.memory) peak = std::max(peak, s.peak_kib);
    return peak > 0 ? peak : r.peak_kib;
}

// Whether the deliverable plays: one frame with Escape down must reach its first present.
bool Plays(const Backend& b, const std::string& run_dir, const std::string& work) {
    std::string keys = work + "/escape.keys";
    std::string trace = work + "/escape-trace.txt";
    std::ofstream(keys) << "1 Escape\n";
    std::remove(trace.c_str());
    ChildResult r = RunHeadless(b.plain, run_dir, {{"KAVRO_KEYS", keys}, {"KAVRO_TRACE", trace}});
    return r.started && r.exit_code == 0 && Bench_TracePresented(trace);
}

void Measure(BackendResult& out, const std::string& run_dir, const std::string& work,
             const std::string& keys, int64_t script_frames, int runs) {
    const Backend& b = *out.backend;
    std::string report = work + "/report.txt";
    std::string log = work + "/frames.bin";
    for (int run = 0; run < runs; ++run) {
        std::remove(report.c_str());
        ChildResult r = RunHeadless(b.probe, run_dir,
                                    {{"KAVRO_KEYS", keys},
                                     {kBenchEnvReport, report},
                                     {kBenchEnvLog, log},
                                     {kBenchEnvFrames, std::to_string(script_frames + 1)}},
                                    kBenchEnvSpawnTime);
        Report rep;
        if (!r.started || r.exit_code != 0 || !Bench_ReadReport(report, &rep) ||
            Get(rep, "presents") < 2) {
            out.skipped = b.probe + " did not run to its end";
            return;
        }
        double loop =
            static_cast<double>(Get(rep, "last_frame_end_ns") - Get(rep, "first_present_ns"));
        if (out.best.empty() || loop < out.best_loop_ns) {
            out.best = rep;
            out.best_loop_ns = loop;
            out.frames.clear();
            if (!Bench_ReadFrameLog(log, &out.frames) || Get(rep, "log_full") != 0) {
                out.skipped = "the frame records of " + b.probe + " are unreadable";
                return;
            }
        }
        out.startup_ms.push_back(
            static_cast<double>(Get(rep, "first_present_ns") - Get(rep, "spawn_ns")) / 1e6);
        // A run that ended before its steady state began counts everything from start-up on:
        // it says nothing of the steady state, and is only counted as such.
        if (Get(rep, "steady_from_frame") > 0) {
            const int64_t steady_frames = Get(rep, "frames") - Get(rep, "steady_from_frame") + 1;
            if (steady_frames > out.steady_frames) {
                out.steady_frames = steady_frames;
                out.steady_from_frame = Get(rep, "steady_from_frame");
            }
            out.steady_heap_calls = std::max(out.steady_heap_calls, Get(rep, "steady_heap_calls"));
            out.steady_allocations =
                std::max(out.steady_allocations, Get(rep, "steady_allocations"));
            if (Get(rep, "allocating_frames") > out.allocating_frames) {
                out.allocating_frames = Get(rep, "allocating_frames");
                out.first_allocating_frame = Get(rep, "first_allocating_frame");
            }
            out.allocating_gaps = std::max(out.allocating_gaps, Get(rep, "allocating_gaps"));
        } else {
            ++out.runs_without_steady_state;
        }
        out.allocations_counted = Get(rep, "allocations_counted") != 0;

        ChildResult plain =
            RunHeadless(b.plain, run_dir, {{"KAVRO_KEYS", keys}}, "", kPeakSampleSeconds);
        if (plain.started && plain.exit_code == 0) {
            if (out.plain_wall_ns == 0 || plain.wall_ns < out.plain_wall_ns)
                out.plain_wall_ns = static_cast<double>(plain.wall_ns);
            // Peak memory of the deliverable as shipped: the probe's frame records stay out.
            out.peak_kib = std::max(out.peak_kib, PeakKib(plain));
        }
    }
}

void PrintRow(const char* label, const std::vector<std::string>& cells) {
    std::printf("  %-26s", label);
    for (const std::string& c : cells) std::printf("%14s", c.c_str());
    std::printf("\n");
}

std::string Fixed(double v, int decimals) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.*f", decimals, v);
    return text;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: kavro_frame_bench [--runs N] [--laps N] [--route FILE] [--check]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    int laps = 60;
    std::string route = Bench_BesideSelf(KAVRO_BENCH_ROUTE);
    bool check = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--runs" && i + 1 < argc) {
            runs = std::atoi(argv[++i]);
            if (runs < 1 || runs > 100) return Usage();
        } else if (a == "--laps" && i + 1 < argc) {
            laps = std::atoi(argv[++i]);
            if (laps < 1 || laps > 1000) return Usage();
        } else if (a == "--route" && i + 1 < argc) {
            route = argv[++i];
        } else if (a == "--check") {
            check = true;
        } else {
            return Usage();
        }
    }
    const std::string run_dir = Bench_BesideSelf(KAVRO_BENCH_RUN_DIR);
    char work_template[] = "/tmp/kavro-bench-XXXXXX";
    if (!mkdtemp(work_template)) {
        std::perror("kavro_frame_bench: mkdtemp");
        return 2;
    }
    const std::string work = work_template;
    const std::string keys = work + "/route.keys";
    std::string error;
    const int64_t script_frames = Bench_RepeatLap(route, laps, keys, &error);
    if (script_frames == 0) {
        std::fprintf(stderr, "kavro_frame_bench: %s\n", error.c_str());
        return 2;
    }
    if (script_frames < static_cast<int64_t>(kBenchWarmupFrames) + 2) {
        std::fprintf(stderr, "kavro_frame_bench: the route is too short (%lld frames)\n",
                     static_cast<long long>(script_frames));
        return 2;
    }

    std::printf("Kavro frame benchmark: %d laps of %s, %lld frames, best of %d runs, headless\n",
                laps, route.c_str(), static_cast<long long>(script_frames), runs);
    std::printf("machine: %s, %u cores\n\n", CpuModel().c_str(),
                std::thread::hardware_concurrency());

    const std::vector<Backend> backends = Backends();
    std::vector<BackendResult> results;
    for (const Backend& b : backends) {
        BackendResult r;
        r.backend = &b;
        if (b.probe.empty())
            r.skipped = "its backend is not built yet";
        else if (!Plays(b, run_dir, work))
            r.skipped = "it does not play yet (no \"present 1\" after a one-frame script)";
        else
            Measure(r, run_dir, work, keys, script_frames, runs);
        results.push_back(std::move(r));
    }

    // The peer draws the frames the first measured deliverable presented.
    const BackendResult* reference = nullptr;
    for (const BackendResult& r : results)
        if (r.skipped.empty() && !reference) reference = &r;
    if (!reference) {
        for (const BackendResult& r : results)
            std::fprintf(stderr, "%s: %s\n", r.backend->name, r.skipped.c_str());
        return 1;
    }
    PeerRenderer peer;
    if (!peer.Load(run_dir, &error)) {
        std::fprintf(stderr, "kavro_frame_bench: the peer cannot load the level: %s\n",
                     error.c_str());
        return 1;
    }
    PeerTimes best_peer;
    for (int run = 0; run < runs; ++run) {
        PeerTimes t = peer.Run(reference->frames);
        if (run == 0 || t.total_ns < best_peer.total_ns) best_peer = t;
    }

    // Per presented frame of the steady state (every frame after the first present).
    std::vector<const BackendResult*> shown;
    std::vector<std::string> header;
    for (const BackendResult& r : results) {
        if (!r.skipped.empty()) continue;
        shown.push_back(&r);
        header.push_back(r.backend->name);
    }
    header.push_back("SDL2 peer");
    PrintRow("", header);
    auto frames_of = [](const BackendResult& r) {
        return static_cast<double>(Get(r.best, "presents") - 1);
    };
    std::vector<std::string> cells;
    for (const BackendResult* r : shown)
        cells.push_back(std::to_string(Get(r->best, "presents") - 1));
    cells.push_back(std::to_string(best_peer.presents));
    PrintRow("frames timed", cells);
    cells.clear();
    const double peer_fps = best_peer.presents * 1e9 / static_cast<double>(best_peer.total_ns);
    for (const BackendResult* r : shown)
        cells.push_back(Fixed(frames_of(*r) * 1e9 / r->best_loop_ns, 0));
    cells.push_back(Fixed(peer_fps, 0));
    PrintRow("frames per second", cells);
    cells.clear();
    auto cpu_fps = [&](const BackendResult& r) {
        return frames_of(r) * 1e9 / static_cast<double>(Get(r.best, "loop_cpu_ns"));
    };
    const double peer_cpu_fps = best_peer.presents * 1e9 / static_cast<double>(best_peer.cpu_ns);
    for (const BackendResult* r : shown) cells.push_back(Fixed(cpu_fps(*r), 0));
    cells.push_back(Fixed(peer_cpu_fps, 0));
    PrintRow("  by processor time", cells);
    cells.clear();
    for (const BackendResult* r : shown)
        cells.push_back(Fixed(r->best_loop_ns / frames_of(*r) / 1e3, 1));
    cells.push_back(Fixed(static_cast<double>(best_peer.total_ns) / best_peer.presents / 1e3, 1));
    PrintRow("us per frame", cells);
    const BenchPhase order[] = {BenchPhase::kBackground, BenchPhase::kTiles, BenchPhase::kSprites,
                                BenchPhase::kHeldBack,   BenchPhase::kTexts, BenchPhase::kPresent,
                                BenchPhase::kOther};
    for (BenchPhase phase : order) {
        cells.clear();
        std::string key = std::string("phase_") + BenchPhaseName(phase) + "_ns";
        for (const BackendResult* r : shown)
            cells.push_back(Fixed(static_cast<double>(Get(r->best, key)) / frames_of(*r) / 1e3, 1));
        cells.push_back(
            phase == BenchPhase::kOther || phase == BenchPhase::kHeldBack
                ? std::string("-")
                : Fixed(static_cast<double>(best_peer.phase_ns[static_cast<int>(phase)]) /
                            best_peer.presents / 1e3,
                        1));
        std::string label = std::string("  ") + BenchPhaseName(phase);
        if (phase == BenchPhase::kOther) label = "  other (game, keys, fps)";
        if (phase == BenchPhase::kHeldBack) label = "  held-back draws (flush)";
        PrintRow(label.c_str(), cells);
    }
    if (best_peer.quad_mismatches != 0) {
        std::printf("  (the peer's cell count differed from the game's in %llu frames)\n",
                    static_cast<unsigned long long>(best_peer.quad_mismatches));
    }
    std::printf("\n");

    bool all_met = true;
    for (const BackendResult* r : shown) {
        const char* name = r->backend->name;
        double fps = frames_of(*r) * 1e9 / r->best_loop_ns;
        double speedup = fps / peer_fps;
        double startup = Median(r->startup_ms);
        double peak = static_cast<double>(r->peak_kib) / 1024.0;
        double run_ms =
            static_cast<double>(Get(r->best, "last_frame_end_ns") - Get(r->best, "spawn_ns")) / 1e6;
        double share = startup / run_ms;
        bool speed_met = speedup >= kTargetSpeedup;
        bool startup_met = startup < kTargetStartupMs;
        bool peak_met = peak < kTargetPeakMib;
        bool alloc_met = r->steady_heap_calls == 0 && r->steady_allocations == 0 &&
                         r->runs_without_steady_state == 0;
        all_met = all_met && speed_met && startup_met && peak_met && alloc_met;
        std::printf("%s\n", name);
        std::printf(
            "  speed over the SDL2 peer      %.2fx (target %.0fx: %s); %.2fx by processor "
            "time\n",
            speedup, kTargetSpeedup, Verdict(speed_met), cpu_fps(*r) / peer_cpu_fps);
        std::printf(
            "  start-up to first present    %.1f ms median (target < %.0f ms: %s); %.1f ms "
            "of processor time; Game_StartUp %.1f ms (%.1f ms of processor time)\n",
            startup, kTargetStartupMs, Verdict(startup_met),
            static_cast<double>(Get(r->best, "startup_process_cpu_ns")) / 1e6,
            static_cast<double>(Get(r->best, "startup_end_ns") - Get(r->best, "startup_begin_ns")) /
                1e6,
            static_cast<double>(Get(r->best, "startup_cpu_ns")) / 1e6);
        std::printf("  start-up share of the run    %.1f%% (target < %.0f%%: %s)\n", share * 100,
                    kTargetStartupShare * 100, Verdict(share < kTargetStartupShare));
        std::printf("  peak memory (max resident)   %.1f MiB (target < %.0f MiB: %s)\n", peak,
                    kTargetPeakMib, Verdict(peak_met));
        const int64_t steady_from = r->steady_from_frame;
        const int64_t steady_frames = r->steady_frames;
        if (steady_from == 0) {
            std::printf(
                "  steady-state allocations     none measured: every run ended before the "
                "frame-rate line showed a whole second (target 0: %s)\n",
                Verdict(false));
        } else {
            std::printf(
                "  steady-state allocations     %lld heap calls, %s malloc/new in %lld "
                "frames from frame %lld (target 0: %s)\n",
                static_cast<long long>(r->steady_heap_calls),
                r->allocations_counted ? std::to_string(r->steady_allocations).c_str()
                                       : "uncounted",
                static_cast<long long>(steady_frames), static_cast<long long>(steady_from),
                Verdict(alloc_met));
            if (r->runs_without_steady_state != 0) {
                std::printf(
                    "                               not measured in %d of the runs: they ended "
                    "before the frame-rate line showed a whole second (more --laps)\n",
                    r->runs_without_steady_state);
            }
        }
        if (r->allocating_frames != 0) {
            std::printf(
                "                               %lld frames allocated, the first frame "
                "%lld\n",
                static_cast<long long>(r->allocating_frames),
                static_cast<long long>(r->first_allocating_frame));
        }
        if (r->allocating_gaps != 0) {
            std::printf(
                "                               %lld times between frames, outside the "
                "game's loop\n",
                static_cast<long long>(r->allocating_gaps));
        }
        if (r->plain_wall_ns > 0) {
            std::printf(
                "  %s without the probe: the whole run in %.2f s, start-up and exit "
                "included (%.0f frames per second)\n",
                name, r->plain_wall_ns / 1e9,
                static_cast<double>(Get(r->best, "presents")) * 1e9 / r->plain_wall_ns);
        }
    }
    if (shown.size() == 2) {
        const double ratio = shown[0]->best_loop_ns / frames_of(*shown[0]) /
                             (shown[1]->best_loop_ns / frames_of(*shown[1]));
        const bool met = ratio >= kTargetDx7OverDx9;
        all_met = all_met && met;
        std::printf("%s over %s: %.2fx the frames per second (target %.1fx: %s)\n",
                    shown[1]->backend->name, shown[0]->backend->name, ratio, kTargetDx7OverDx9,
                    Verdict(met));
    }
    for (const BackendResult& r : results) {
        if (!r.skipped.empty()) {
            std::printf("%s: not measured, %s\n", r.backend->name, r.skipped.c_str());
            all_met = false;
        }
    }
    std::remove((work + "/report.txt").c_str());
    std::remove((work + "/frames.bin").c_str());
    std::remove((work + "/escape.keys").c_str());
    std::remove(keys.c_str());
    std::remove((work + "/escape-trace.txt").c_str());
    rmdir(work.c_str());
    return check && !all_met ? 1 : 0;
}
