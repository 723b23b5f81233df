// Child processes: the environment a child gets, its folder and standard error, the time limit,
// the start time handed over, memory samples and usage figures, a program that cannot start, and
// a child left running until it is ended.
#include "tests/support/child_process.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>

namespace {

namespace fs = std::filesystem;

class ChildProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::path(::testing::TempDir()) / ("kavro-child-process-" + std::to_string(getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // A shell command as the child; its standard error is kept.
    ChildOptions Shell(const std::string& command) {
        ChildOptions options;
        options.program = "/bin/sh";
        options.arguments = {"-c", command};
        options.error_file = (dir_ / "stderr.txt").string();
        return options;
    }
    // The child's environment as "NAME=VALUE" lines.
    std::string EnvironmentOf(ChildOptions options) {
        options.arguments = {"-c", "env >&2"};
        return "\n" + RunChild(options).error_output;
    }

    fs::path dir_;
};

TEST_F(ChildProcessTest, OurSettingsAndDisplayAreLeftOutAndTheRunsOwnGoIn) {
    setenv("KAVRO_CHILD_TEST", "ours", 1);
    setenv("DISPLAY", ":97", 1);
    setenv("WAYLAND_DISPLAY", "wayland-97", 1);
    setenv("CHILD_TEST_PLAIN", "ours", 1);
    ChildOptions options = Shell("");
    options.settings = {{"KAVRO_KEYS", "a.keys"}, {"CHILD_TEST_SET", "x"}, {"DISPLAY", ":12"}};
    const std::string clean = EnvironmentOf(options);
    EXPECT_EQ(clean.find("\nKAVRO_CHILD_TEST="), std::string::npos) << clean;
    EXPECT_EQ(clean.find("\nDISPLAY=:97"), std::string::npos);
    EXPECT_NE(clean.find("\nDISPLAY=:12\n"), std::string::npos);
    EXPECT_EQ(clean.find("\nWAYLAND_DISPLAY="), std::string::npos);
    EXPECT_NE(clean.find("\nCHILD_TEST_PLAIN=ours\n"), std::string::npos);
    EXPECT_NE(clean.find("\nKAVRO_KEYS=a.keys\n"), std::string::npos);
    EXPECT_NE(clean.find("\nCHILD_TEST_SET=x\n"), std::string::npos);
    for (const char* name : {"KAVRO_CHILD_TEST", "DISPLAY", "WAYLAND_DISPLAY", "CHILD_TEST_PLAIN"})
        unsetenv(name);
}

TEST_F(ChildProcessTest, ASettingReplacesOursAndEarlierSettingsOfItsName) {
    setenv("CHILD_TEST_PLAIN", "ours", 1);
    ChildOptions options = Shell("");
    options.settings = {{"CHILD_TEST_PLAIN", "first"}, {"CHILD_TEST_PLAIN", "last"}};
    const std::string env = EnvironmentOf(options);
    EXPECT_EQ(env.find("CHILD_TEST_PLAIN="), env.rfind("CHILD_TEST_PLAIN=")) << "one entry";
    EXPECT_NE(env.find("\nCHILD_TEST_PLAIN=last\n"), std::string::npos) << env;
    unsetenv("CHILD_TEST_PLAIN");
}

TEST_F(ChildProcessTest, RunsInItsFolderWithStandardErrorKeptAndItsExitCode) {
    fs::create_directories(dir_ / "work");
    ChildOptions options = Shell("pwd >&2; exit 3");
    options.folder = (dir_ / "work").string();
    const ChildResult result = RunChild(options);
    ASSERT_TRUE(result.started);
    EXPECT_EQ(result.exit_code, 3);
    EXPECT_EQ(result.signal, 0);
    EXPECT_FALSE(result.timed_out);
    EXPECT_EQ(fs::path(result.error_output.substr(0, result.error_output.size() - 1)),
              fs::canonical(dir_ / "work"));
    EXPECT_EQ(Describe(result).rfind("exit code 3 after ", 0), 0u) << Describe(result);
}

TEST_F(ChildProcessTest, AChildBeyondItsTimeLimitIsKilled) {
    ChildOptions options = Shell("exec sleep 30");
    options.time_limit_seconds = 0.2;
    const ChildResult result = RunChild(options);
    EXPECT_TRUE(result.timed_out);
    EXPECT_EQ(result.signal, SIGKILL);
    EXPECT_EQ(result.exit_code, -1);
    EXPECT_LT(result.Seconds(), 10);
    EXPECT_EQ(Describe(result).rfind("timed out after ", 0), 0u) << Describe(result);
}

TEST_F(ChildProcessTest, TheStartTimeIsHandedOverAndTheUsageMeasured) {
    ChildOptions options = Shell(
        "echo $CHILD_TEST_SPAWN >&2; i=0; while [ $i -lt 20000 ]; do "
        "i=$((i+1)); done; sleep 0.2");
    options.spawn_time_setting = "CHILD_TEST_SPAWN";
    options.sample_every_seconds = 0.02;
    const int64_t before = MonotonicNanoseconds();
    const ChildResult result = RunChild(options);
    ASSERT_EQ(result.exit_code, 0);
    EXPECT_GE(result.spawn_ns, before);
    EXPECT_EQ(result.error_output, std::to_string(result.spawn_ns) + "\n");
    EXPECT_GT(result.Seconds(), 0.2);
    EXPECT_GT(result.cpu_seconds, 0);
    EXPECT_GT(result.peak_kib, 0);
    ASSERT_GE(result.memory.size(), 2u);
    EXPECT_GT(result.memory.back().resident_kib, 0);
    EXPECT_GT(result.memory.back().seconds, result.memory.front().seconds);
}

TEST_F(ChildProcessTest, AProgramThatCannotStartSaysSo) {
    ChildOptions options;
    options.program = (dir_ / "missing").string();
    const ChildResult result = RunChild(options);
    EXPECT_FALSE(result.started);
    EXPECT_EQ(result.exit_code, -1);
    EXPECT_EQ(Describe(result), "did not start");
    EXPECT_EQ(StartChild(options), -1);
}

TEST_F(ChildProcessTest, AStartedChildRunsUntilItIsEnded) {
    const pid_t pid = StartChild(Shell("exec sleep 30"));
    ASSERT_GT(pid, 0);
    const int64_t start = MonotonicNanoseconds();
    EXPECT_EQ(kill(pid, 0), 0) << "running";
    EndChild(pid);
    EXPECT_NE(kill(pid, 0), 0) << "ended and reaped";
    EXPECT_LT(MonotonicNanoseconds() - start, int64_t{10} * 1000000000);
}

}  // namespace
