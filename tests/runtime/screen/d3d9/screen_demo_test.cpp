// The screen demo as a real process: headless with frame capture (the PNG it writes holds the
// frame), and on a real X display under Xvfb with SDL's x11 driver (a screenshot of the display
// shows the picture in its window).
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "runtime/image/image_decoder.h"
#include "tests/runtime/screen/d3d9/screen_demo_picture.h"
#include "tests/support/runtime_fixture.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// The environment of this process without the settings of the platform layer, plus `extra`.
std::vector<std::string> Environment(const std::vector<std::string>& extra) {
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        std::string entry = *e;
        if (entry.rfind("KAVRO_", 0) == 0 || entry.rfind("DISPLAY=", 0) == 0) continue;
        bool replaced = false;
        for (const auto& e : extra)
            replaced |= entry.substr(0, entry.find('=')) == e.substr(0, e.find('='));
        if (replaced) continue;
        env.push_back(entry);
    }
    env.insert(env.end(), extra.begin(), extra.end());
    return env;
}

pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& env,
            int keep_fd = -1) {
    std::vector<char*> argv, envp;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    for (const auto& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    (void)keep_fd;
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// The exit code, or -1 when the process did not end within the time (it is then killed).
int Wait(pid_t pid, int seconds) {
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        pid_t r = waitpid(pid, &status, WNOHANG);
        if (r == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -1;
}

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

const int32_t kSamples[][2] = {{10, 10},   {45, 105},  {160, 131}, {168, 100}, {405, 110},
                               {500, 50},  {101, 301}, {130, 330}, {163, 363}, {500, 400},
                               {319, 239}, {320, 240}, {639, 479}, {0, 479}};

class ScreenDemoTest : public RuntimeTest {
  protected:
    fs::path Scratch(const char* name) {
        fs::path dir = fs::path(::testing::TempDir()) / name;
        fs::remove_all(dir);
        fs::create_directories(dir);
        return dir;
    }
};

TEST_F(ScreenDemoTest, HeadlessRunCapturesThePresentedFrames) {
    fs::path dir = Scratch("kavro_screen_demo_capture");
    pid_t pid = Spawn({KAVRO_SCREEN_DEMO, "3"},
                      Environment({"KAVRO_HEADLESS=1", "KAVRO_CAPTURE=" + dir.string()}));
    ASSERT_GT(pid, 0);
    ASSERT_EQ(Wait(pid, 60), 0);
    EXPECT_TRUE(fs::exists(dir / "frame-000001.png"));
    EXPECT_FALSE(fs::exists(dir / "frame-000004.png"));
    std::vector<uint8_t> png = ReadFile(dir / "frame-000003.png");
    ASSERT_FALSE(png.empty());
    ImageDecoder_Init();
    ImageDecoder_UsePng();
    ASSERT_EQ(ImageDecoder_OpenMemory(png.data(), static_cast<int32_t>(png.size())), 1);
    ASSERT_EQ(ImageDecoder_Width(), 640);
    ASSERT_EQ(ImageDecoder_Height(), 480);
    int32_t bytes = ImageDecoder_Depth() / 8;
    std::vector<uint8_t> pixels(static_cast<size_t>(640 * bytes) * 481);
    ASSERT_NE(ImageDecoder_Decode(pixels.data(), 640 * bytes, 0), 0);
    for (const auto& s : kSamples) {
        const uint8_t* p = pixels.data() + (s[1] * 640 + s[0]) * bytes;
        uint32_t rgb = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
        EXPECT_EQ(rgb, DemoExpected(s[0], s[1])) << s[0] << "," << s[1];
    }
}

// An XWD screen dump as Xvfb keeps it in its frame-buffer directory.
struct Screenshot {
    uint32_t width = 0, height = 0, bytes_per_line = 0, bits_per_pixel = 0;
    uint32_t red_mask = 0, green_mask = 0, blue_mask = 0;
    std::vector<uint8_t> data;
    size_t pixels = 0;  // offset of the pixels
    bool Parse(std::vector<uint8_t> bytes) {
        if (bytes.size() < 100) return false;
        auto field = [&](int i) {
            const uint8_t* p = bytes.data() + 4 * i;
            return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
        };
        width = field(4);
        height = field(5);
        bits_per_pixel = field(11);
        bytes_per_line = field(12);
        red_mask = field(14);
        green_mask = field(15);
        blue_mask = field(16);
        pixels = field(0) + 12u * field(19);
        data = std::move(bytes);
        return bits_per_pixel == 32 && pixels + size_t{bytes_per_line} * height <= data.size();
    }
    uint32_t Rgb(uint32_t x, uint32_t y) const {
        const uint8_t* p = data.data() + pixels + size_t{y} * bytes_per_line + 4 * x;
        uint32_t v = p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
        auto channel = [&](uint32_t mask) {
            int shift = __builtin_ctz(mask);
            return (v & mask) >> shift;
        };
        return (channel(red_mask) << 16) | (channel(green_mask) << 8) | channel(blue_mask);
    }
};

// The desktop window of KAVRO_WINDOWED: the picture at its own size, centred on the display.
// (Full screen relies on the window manager that a desktop has and a bare Xvfb has not.)
TEST_F(ScreenDemoTest, RealWindowUnderXvfbShowsThePicture) {
    const char* xvfb = "/usr/bin/Xvfb";
    if (access(xvfb, X_OK) != 0) GTEST_SKIP() << "Xvfb is not installed";
    fs::path dir = Scratch("kavro_screen_demo_xvfb");
    // Xvfb picks a free display and writes its number to the pipe.
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::string fd = std::to_string(fds[1]);
    std::vector<std::string> args = {xvfb,          "-displayfd", fd,           "-screen",   "0",
                                     "1024x768x24", "-fbdir",     dir.string(), "-nolisten", "tcp"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t server = -1;
    ASSERT_EQ(posix_spawn(&server, xvfb, &actions, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string display;
    char c;
    while (read(fds[0], &c, 1) == 1 && c != '\n') display += c;
    close(fds[0]);
    if (display.empty()) {
        kill(server, SIGTERM);
        waitpid(server, nullptr, 0);
        GTEST_SKIP() << "Xvfb did not start";
    }
    fs::path ready = dir / "ready";
    pid_t demo = Spawn(
        {KAVRO_SCREEN_DEMO, "5", ready.string(), "1500"},
        // The X and D-Bus client libraries keep allocations to the end, which a
        // sanitizer build would report; the headless run checks our own leaks.
        Environment({"DISPLAY=:" + display, "KAVRO_WINDOWED=1", "ASAN_OPTIONS=detect_leaks=0"}));
    ASSERT_GT(demo, 0);
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!fs::exists(ready) && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // Let a few more presents reach the display, then take the screenshot.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    Screenshot shot;
    bool parsed = shot.Parse(ReadFile(dir / "Xvfb_screen0"));
    int demo_exit = Wait(demo, 30);
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    ASSERT_TRUE(fs::exists(ready));
    EXPECT_EQ(demo_exit, 0);
    ASSERT_TRUE(parsed);
    ASSERT_EQ(shot.width, 1024u);
    ASSERT_EQ(shot.height, 768u);
    // A 640 x 480 window centred on the 1024 x 768 display, the rest of the display black.
    const uint32_t left = (1024 - 640) / 2, top = (768 - 480) / 2;
    for (const auto& s : kSamples) {
        EXPECT_EQ(shot.Rgb(left + s[0], top + s[1]), DemoExpected(s[0], s[1]))
            << s[0] << "," << s[1];
    }
    EXPECT_EQ(shot.Rgb(5, 5), 0u);
    EXPECT_EQ(shot.Rgb(left - 1, top + 10), 0u);
    EXPECT_EQ(shot.Rgb(1020, 760), 0u);
}

}  // namespace
