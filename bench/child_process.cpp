// Child processes of the frame benchmark: fork, chdir, execve, wait4.
#include "bench/child_process.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

extern char** environ;

int64_t Bench_Now() {
    timespec ts;
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

ChildResult Bench_RunChild(const std::string& program, const std::string& directory,
                           const std::vector<std::pair<std::string, std::string>>& settings,
                           const std::string& spawn_setting) {
    ChildResult result;
    // The environment is built before the clock starts: the child's start-up time is its own.
    auto names = [](const char* entry, const std::string& name) {
        return !name.empty() && std::strncmp(entry, name.c_str(), name.size()) == 0 &&
               entry[name.size()] == '=';
    };
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        bool replaced = names(*e, spawn_setting);
        for (const auto& s : settings) replaced = replaced || names(*e, s.first);
        if (!replaced) env.emplace_back(*e);
    }
    for (const auto& s : settings) env.push_back(s.first + "=" + s.second);
    std::vector<char*> envp;
    for (std::string& s : env) envp.push_back(s.data());
    char spawn_entry[128] = {};
    if (!spawn_setting.empty() && spawn_setting.size() < 64) envp.push_back(spawn_entry);
    envp.push_back(nullptr);
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};

    result.spawn_ns = Bench_Now();
    std::snprintf(spawn_entry, sizeof(spawn_entry), "%s=%lld", spawn_setting.c_str(),
                  static_cast<long long>(result.spawn_ns));
    pid_t pid = fork();
    if (pid < 0) return result;
    if (pid == 0) {
        if (chdir(directory.c_str()) != 0) _exit(127);
        execve(program.c_str(), argv, envp.data());
        _exit(127);
    }
    result.started = true;
    int status = 0;
    rusage usage{};
    while (wait4(pid, &status, 0, &usage) < 0) {
    }
    result.wall_ns = Bench_Now() - result.spawn_ns;
    result.peak_kib = usage.ru_maxrss;
    if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
    return result;
}
