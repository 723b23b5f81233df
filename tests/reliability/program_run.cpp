// Child processes for the reliability tests: fork, a clean environment, a time limit, and
// memory samples read from /proc/PID/status while the child runs.
#include "tests/reliability/program_run.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// The variables the child gets: ours without any KAVRO_ setting, then the run's own.
std::vector<std::string> ChildEnvironment(const RunOptions& options) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        if (std::strncmp(*e, "KAVRO_", 6) != 0) env.emplace_back(*e);
    }
    for (const auto& [name, value] : options.settings) env.push_back(name + "=" + value);
    return env;
}

// RssAnon and VmRSS of a running process, in KiB; false once it is gone.
bool ReadMemory(pid_t pid, int64_t* anon, int64_t* resident) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    if (!status) return false;
    std::string line;
    bool have_anon = false;
    bool have_rss = false;
    while (std::getline(status, line)) {
        if (line.rfind("RssAnon:", 0) == 0) {
            *anon = std::atoll(line.c_str() + 8);
            have_anon = true;
        } else if (line.rfind("VmRSS:", 0) == 0) {
            *resident = std::atoll(line.c_str() + 6);
            have_rss = true;
        }
    }
    return have_anon && have_rss;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

RunResult RunProgram(const RunOptions& options) {
    RunResult result;
    char error_path[] = "/tmp/kavro-run-stderr-XXXXXX";
    int error_fd = mkstemp(error_path);
    if (error_fd < 0) return result;
    std::vector<std::string> env = ChildEnvironment(options);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = options.program;
    char* argv[] = {program.data(), nullptr};

    const Clock::time_point start = Clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        int null_fd = open("/dev/null", O_RDWR);
        dup2(null_fd, STDIN_FILENO);
        dup2(null_fd, STDOUT_FILENO);
        dup2(error_fd, STDERR_FILENO);
        if (!options.folder.empty() && chdir(options.folder.c_str()) != 0) _exit(127);
        execve(argv[0], argv, envp.data());
        _exit(127);
    }
    close(error_fd);
    if (pid < 0) {
        unlink(error_path);
        return result;
    }
    result.started = true;

    auto elapsed = [&] { return std::chrono::duration<double>(Clock::now() - start).count(); };
    double next_sample = 0;
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        double now = elapsed();
        if (now > options.timeout_seconds) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            result.timed_out = true;
            break;
        }
        if (options.sample_every_seconds > 0 && now >= next_sample) {
            MemorySample sample{now, 0, 0};
            if (ReadMemory(pid, &sample.anon_kib, &sample.resident_kib)) {
                result.memory.push_back(sample);
            }
            next_sample = now + options.sample_every_seconds;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    result.seconds = elapsed();
    if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) result.signal = WTERMSIG(status);
    result.error_output = ReadAll(error_path);
    unlink(error_path);
    return result;
}

bool HasSanitizerReport(const std::string& error_output) {
    return error_output.find("AddressSanitizer") != std::string::npos ||
           error_output.find("LeakSanitizer") != std::string::npos ||
           error_output.find("runtime error:") != std::string::npos ||
           error_output.find("UndefinedBehaviorSanitizer") != std::string::npos;
}

std::string Describe(const RunResult& result) {
    std::ostringstream text;
    if (!result.started) {
        text << "did not start";
    } else if (result.timed_out) {
        text << "timed out after " << result.seconds << " s";
    } else if (result.signal) {
        text << "killed by signal " << result.signal;
    } else {
        text << "exit code " << result.exit_code << " after " << result.seconds << " s";
    }
    if (!result.error_output.empty()) {
        text << "; standard error: " << result.error_output.substr(0, 2000);
    }
    return text.str();
}
