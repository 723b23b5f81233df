// The game in a real X window under Xvfb (SDL's x11 driver): a screenshot of the display,
// taken from Xvfb's frame-buffer file while the game runs, shows the same picture as the frames
// the game captured of itself.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "tests/e2e/game_fixture.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;

// An XWD screen dump as Xvfb keeps it in its frame-buffer directory (32 bits a pixel).
struct Screenshot {
    uint32_t width = 0, height = 0, bytes_per_line = 0;
    uint32_t red_mask = 0, green_mask = 0, blue_mask = 0;
    std::vector<uint8_t> data;
    size_t pixels = 0;
    bool Read(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        data.assign(std::istreambuf_iterator<char>(in), {});
        if (data.size() < 100) return false;
        auto field = [&](int i) {
            const uint8_t* p = data.data() + 4 * i;
            return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
        };
        width = field(4);
        height = field(5);
        bytes_per_line = field(12);
        red_mask = field(14);
        green_mask = field(15);
        blue_mask = field(16);
        pixels = field(0) + 12u * field(19);
        return field(11) == 32 && red_mask && green_mask && blue_mask &&
               pixels + size_t{bytes_per_line} * height <= data.size();
    }
    uint32_t Rgb(uint32_t x, uint32_t y) const {
        const uint8_t* p = data.data() + pixels + size_t{y} * bytes_per_line + 4 * x;
        const uint32_t v =
            p[0] | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
        auto channel = [&](uint32_t mask) { return (v & mask) >> __builtin_ctz(mask); };
        return (channel(red_mask) << 16) | (channel(green_mask) << 8) | channel(blue_mask);
    }
};

// An Xvfb server on a free display, ended with the test.
class XServer {
  public:
    explicit XServer(const fs::path& fbdir) {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<std::string> args = {
            kXvfb,         "-displayfd", std::to_string(fds[1]), "-screen",   "0",
            "1024x768x24", "-fbdir",     fbdir.string(),         "-nolisten", "tcp"};
        std::vector<char*> argv;
        for (auto& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, kXvfb, &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        char c;
        while (pid_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n') display_ += c;
        close(fds[0]);
    }
    ~XServer() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    const std::string& Display() const { return display_; }
    static bool Installed() { return access(kXvfb, X_OK) == 0; }

  private:
    static constexpr const char* kXvfb = "/usr/bin/Xvfb";
    pid_t pid_ = -1;
    std::string display_;
};

class RealWindowTest : public GameTest {};

TEST_P(RealWindowTest, TheScreenshotOfTheWindowShowsTheCapturedFrame) {
    if (!XServer::Installed()) GTEST_SKIP() << "Xvfb is not installed";
    const fs::path fbdir = dir_ / "xvfb";
    fs::create_directories(fbdir);
    XServer server(fbdir);
    if (server.Display().empty()) GTEST_SKIP() << "Xvfb did not start";

    // A window at the picture's own size (full screen needs a window manager), paced to 60
    // frames a second, on the flat level where the scene stands still once the player landed.
    RunOptions options;
    options.keys = "200 Escape\n";
    options.capture_frames = "100";
    options.headless = false;
    options.environment = {"DISPLAY=:" + server.Display(), "KAVRO_WINDOWED=1", "KAVRO_VSYNC=1",
                           "SDL_AUDIODRIVER=dummy",
                           // The X client libraries keep allocations to the end, which a
                           // sanitizer build would report; the headless runs check our leaks.
                           "ASAN_OPTIONS=detect_leaks=0"};
    FlatLevel().WriteTo(dir_);
    GameRun run;
    std::thread game([&] { run = PlayHere(options); });
    // Take the screenshot while the game runs, after frame 150.
    Screenshot shot;
    bool taken = false;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!taken && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        std::ifstream trace(dir_ / "out" / "trace.txt");
        std::string line;
        bool late = false;
        while (std::getline(trace, line)) late |= line == "present 150";
        if (late) taken = shot.Read(fbdir / "Xvfb_screen0");
    }
    game.join();
    ASSERT_TRUE(taken);
    EXPECT_EQ(run.exit_code, 0) << run.errors;
    EXPECT_EQ(run.presents, 200);
    ASSERT_EQ(run.frames.count(100), 1u);
    const Picture& frame = run.frames.at(100);
    ASSERT_EQ(frame.width, 640);
    ASSERT_EQ(shot.width, 1024u);
    ASSERT_EQ(shot.height, 768u);
    // The 640 x 480 window in the middle of the display, black around it; every pixel as
    // captured except the frame-rate text at the top right.
    const uint32_t left = (1024 - 640) / 2, top = (768 - 480) / 2;
    int different = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            if (x >= 500 && y < 20) continue;
            different += shot.Rgb(left + x, top + y) != frame.At(x, y);
        }
    EXPECT_EQ(different, 0);
    EXPECT_EQ(TileAt(frame, 200, 300), level::kGroundBase + (kStartViewX + 200) / 32);
    EXPECT_EQ(shot.Rgb(5, 5), 0u);
    EXPECT_EQ(shot.Rgb(left - 1, top + 100), 0u);
    EXPECT_EQ(shot.Rgb(left + 640, top + 100), 0u);
    EXPECT_EQ(shot.Rgb(1020, 760), 0u);
}

KAVRO_ON_EVERY_DELIVERABLE(RealWindowTest);

}  // namespace
