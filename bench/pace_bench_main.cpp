// kavro_pace_bench: the CPU time a paced run of each deliverable uses per second. Plays the
// benchmark route for a number of seconds at the paced 60 frames a second (headless, or shown
// on the desktop with --shown) and divides the process's user and system time by the wall time.
//
//   kavro_pace_bench [--seconds N] [--shown]
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "bench/self_path.h"
#include "tests/support/child_process.h"

int main(int argc, char** argv) {
    int seconds = 10;
    bool shown = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
            seconds = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--shown") == 0) {
            shown = true;
        } else {
            std::fprintf(stderr, "usage: kavro_pace_bench [--seconds N] [--shown]\n");
            return 2;
        }
    }
    if (seconds < 1) seconds = 1;
    // The route's first frames, then Escape after the chosen number of paced seconds.
    // The run directory and the route where the build put them relative to this program.
    const std::string run_dir = Bench_BesideSelf(KAVRO_BENCH_RUN_DIR);
    std::ifstream route(Bench_BesideSelf(KAVRO_BENCH_ROUTE));
    std::stringstream keys;
    keys << route.rdbuf() << "\n" << seconds * 60 << " Escape\n";
    char path[] = "/tmp/kavro-pace-XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0 || write(fd, keys.str().data(), keys.str().size()) < 0) return 1;
    close(fd);

    ChildOptions options;
    options.folder = run_dir;
    options.settings = {{"KAVRO_VSYNC", "1"}, {"KAVRO_KEYS", path}};
    if (shown) {
        options.settings.emplace_back("KAVRO_WINDOWED", "1");
        options.settings.emplace_back("SDL_AUDIODRIVER", "dummy");
        // Shown on our own desktop.
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY"}) {
            if (const char* value = std::getenv(name)) options.settings.emplace_back(name, value);
        }
    } else {
        options.settings.emplace_back("KAVRO_HEADLESS", "1");
    }
    std::printf("Paced runs of %d frames (%s), CPU time per second of play:\n", seconds * 60,
                shown ? "shown in a window" : "headless");
    int failures = 0;
    for (const char* name : {"kavro-dx9", "kavro-dx7"}) {
        options.program = run_dir + "/" + name;
        const ChildResult run = RunChild(options);
        if (!run.started || run.exit_code != 0) {
            std::printf("  %-10s did not run to its end\n", name);
            ++failures;
            continue;
        }
        const double wall = run.Seconds(), cpu = run.cpu_seconds;
        // The wall time includes the start-up (a few tenths of a second).
        std::printf("  %-10s %6.2f s, CPU %5.2f s: %5.1f ms per second (%4.1f %% of one core)\n",
                    name, wall, cpu, 1000 * cpu / wall, 100 * cpu / wall);
    }
    unlink(path);
    return failures ? 1 : 0;
}
