// Child processes: posix_spawn with the folder and the standard streams set in the child, then
// wait4 for the exit status and the kernel's usage figures, polled while there is a time limit
// to keep or memory to sample.
#include "tests/support/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>
#include <thread>

extern char** environ;

namespace {

std::string_view NameOf(std::string_view entry) {
    return entry.substr(0, entry.find('='));
}

// The platform layer's settings and the display, which a run gets only from its own settings.
bool IsOurSetting(std::string_view entry) {
    const std::string_view name = NameOf(entry);
    return name.starts_with("KAVRO_") || name == "DISPLAY" || name == "WAYLAND_DISPLAY";
}

// Ours without our settings and without what the run sets itself, then the run's settings, each
// only where no later one of the same name follows.
std::vector<std::string> ChildEnvironment(const ChildOptions& options) {
    auto set_by_run = [&options](std::string_view name, size_t after) {
        for (size_t i = after; i < options.settings.size(); ++i)
            if (options.settings[i].first == name) return true;
        return !options.spawn_time_setting.empty() && name == options.spawn_time_setting;
    };
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string_view entry = *e;
        if (IsOurSetting(entry)) continue;
        if (!set_by_run(NameOf(entry), 0)) env.emplace_back(entry);
    }
    for (size_t i = 0; i < options.settings.size(); ++i) {
        const auto& [name, value] = options.settings[i];
        if (!set_by_run(name, i + 1)) env.push_back(name + "=" + value);
    }
    return env;
}

// RssAnon and VmRSS of a running process, in KiB; false once it is gone.
bool ReadMemory(pid_t pid, MemorySample* sample) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    if (!status) return false;
    bool have_anon = false, have_resident = false;
    sample->peak_kib = 0;
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("RssAnon:", 0) == 0) {
            sample->anon_kib = std::atoll(line.c_str() + 8);
            have_anon = true;
        } else if (line.rfind("VmHWM:", 0) == 0) {
            sample->peak_kib = std::atoll(line.c_str() + 6);
        } else if (line.rfind("VmRSS:", 0) == 0) {
            sample->resident_kib = std::atoll(line.c_str() + 6);
            have_resident = true;
        }
    }
    return have_anon && have_resident;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

double Seconds(const timeval& t) {
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) * 1e-6;
}

// Polls until the child ends, sampling its memory, and kills it at the time limit.
void WaitPolling(pid_t pid, const ChildOptions& options, ChildResult& result, int* status,
                 rusage* usage) {
    const int64_t waiting_since = MonotonicNanoseconds();
    double next_sample = 0;
    for (;;) {
        if (wait4(pid, status, WNOHANG, usage) == pid) return;
        const int64_t now = MonotonicNanoseconds();
        if (options.time_limit_seconds > 0 &&
            static_cast<double>(now - waiting_since) / 1e9 > options.time_limit_seconds) {
            kill(pid, SIGKILL);
            while (wait4(pid, status, 0, usage) < 0 && errno == EINTR) {
            }
            result.timed_out = true;
            return;
        }
        const double since_start = static_cast<double>(now - result.spawn_ns) / 1e9;
        if (options.sample_every_seconds > 0 && since_start >= next_sample) {
            MemorySample sample{since_start, 0, 0, 0};
            if (ReadMemory(pid, &sample)) result.memory.push_back(sample);
            next_sample = since_start + options.sample_every_seconds;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// Starts the child and notes the moment in `spawn_ns`; its id, or -1 when it could not start.
pid_t Start(const ChildOptions& options, int64_t* spawn_ns) {
    // Everything is prepared before the clock starts: the child's start-up time is its own.
    std::vector<std::string> env = ChildEnvironment(options);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    std::string spawn_entry;
    if (!options.spawn_time_setting.empty()) {
        spawn_entry = options.spawn_time_setting + "=";
        spawn_entry.reserve(spawn_entry.size() + 24);
        envp.push_back(nullptr);  // filled in at the start
    }
    envp.push_back(nullptr);
    std::vector<std::string> args = {options.program};
    args.insert(args.end(), options.arguments.begin(), options.arguments.end());
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.quiet) {
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    if (!options.error_file.empty()) {
        posix_spawn_file_actions_addopen(&actions, 2, options.error_file.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    if (!options.folder.empty())
        posix_spawn_file_actions_addchdir_np(&actions, options.folder.c_str());

    *spawn_ns = MonotonicNanoseconds();
    if (!spawn_entry.empty()) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof(digits), *spawn_ns).ptr;
        spawn_entry.append(digits, end);
        envp[envp.size() - 2] = spawn_entry.data();
    }
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

}  // namespace

int64_t MonotonicNanoseconds() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

ChildResult RunChild(const ChildOptions& options) {
    ChildResult result;
    const pid_t pid = Start(options, &result.spawn_ns);
    if (pid < 0) return result;
    result.started = true;

    if (options.while_running) options.while_running(pid);
    int status = 0;
    rusage usage{};
    if (options.time_limit_seconds > 0 || options.sample_every_seconds > 0) {
        WaitPolling(pid, options, result, &status, &usage);
    } else {
        while (wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
        }
    }
    result.wall_ns = MonotonicNanoseconds() - result.spawn_ns;
    result.peak_kib = usage.ru_maxrss;
    result.cpu_seconds = Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    if (!options.error_file.empty()) result.error_output = ReadAll(options.error_file);
    return result;
}

std::string Describe(const ChildResult& result) {
    std::ostringstream text;
    if (!result.started) {
        text << "did not start";
    } else if (result.timed_out) {
        text << "timed out after " << result.Seconds() << " s";
    } else if (result.signal) {
        text << "killed by signal " << result.signal;
    } else {
        text << "exit code " << result.exit_code << " after " << result.Seconds() << " s";
    }
    if (!result.error_output.empty()) {
        text << "; standard error: " << result.error_output.substr(0, 2000);
    }
    return text.str();
}

pid_t StartChild(const ChildOptions& options) {
    int64_t spawn_ns = 0;
    return Start(options, &spawn_ns);
}

void EndChild(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
}
