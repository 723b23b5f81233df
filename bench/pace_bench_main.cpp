// kavro_pace_bench: the CPU time a paced run of each deliverable uses per second. Plays the
// benchmark route for a number of seconds at the paced 60 frames a second (headless, or shown
// on the desktop with --shown) and divides the process's user and system time by the wall time.
//
//   kavro_pace_bench [--seconds N] [--shown]
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/self_path.h"

extern char** environ;

namespace {

struct PacedRun {
    bool ok = false;
    double wall = 0;  // seconds
    double cpu = 0;   // user + system seconds
};

double Now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

PacedRun Run(const std::string& program, const std::string& run_dir,
             const std::vector<std::string>& settings) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "KAVRO_", 6) != 0) env.emplace_back(*e);
    }
    env.insert(env.end(), settings.begin(), settings.end());
    std::vector<char*> envp;
    for (std::string& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    PacedRun run;
    const double start = Now();
    pid_t pid = fork();
    if (pid < 0) return run;
    if (pid == 0) {
        if (chdir(run_dir.c_str()) != 0) _exit(127);
        execve(program.c_str(), argv, envp.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
    }
    run.wall = Now() - start;
    run.cpu = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return run;
}

}  // namespace

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

    std::vector<std::string> settings = {"KAVRO_VSYNC=1", std::string("KAVRO_KEYS=") + path};
    settings.push_back(shown ? "KAVRO_WINDOWED=1" : "KAVRO_HEADLESS=1");
    if (shown) settings.push_back("SDL_AUDIODRIVER=dummy");
    std::printf("Paced runs of %d frames (%s), CPU time per second of play:\n", seconds * 60,
                shown ? "shown in a window" : "headless");
    int failures = 0;
    for (const char* name : {"kavro-dx9", "kavro-dx7"}) {
        const PacedRun run = Run(run_dir + "/" + name, run_dir, settings);
        if (!run.ok) {
            std::printf("  %-10s did not run to its end\n", name);
            ++failures;
            continue;
        }
        // The wall time includes the start-up (a few tenths of a second).
        std::printf("  %-10s %6.2f s, CPU %5.2f s: %5.1f ms per second (%4.1f %% of one core)\n",
                    name, run.wall, run.cpu, 1000 * run.cpu / run.wall, 100 * run.cpu / run.wall);
    }
    unlink(path);
    return failures ? 1 : 0;
}
